#include "app/dialogs/TidyDlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>

TTidyDlg::TTidyDlg(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("dlgTidy"));
    setWindowTitle(QStringLiteral("Tidy"));
    const TTidyOptions defaults;
    // The items are in the order of TWordSpacing and TCommentRemoval.
    cbxSpacing = new QComboBox(this);
    cbxSpacing->addItems(
        {QStringLiteral("As they are"), QStringLiteral("One blank"), QStringLiteral("None")});
    cbxSpacing->setCurrentIndex(static_cast<int>(defaults.Spacing));
    chkUpperCase = new QCheckBox(QStringLiteral("Words in &upper case"), this);
    chkUpperCase->setChecked(defaults.UpperCase);
    cbxComments = new QComboBox(this);
    cbxComments->addItems({QStringLiteral("Keep them"), QStringLiteral("Remove them all"),
                           QStringLiteral("Remove all but the first block's")});
    cbxComments->setCurrentIndex(static_cast<int>(defaults.Comments));
    chkTrailing = new QCheckBox(QStringLiteral("Remove &trailing blanks"), this);
    chkTrailing->setChecked(defaults.TrimTrailingBlanks);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QFormLayout(this);
    layout->addRow(QStringLiteral("&Blanks between words:"), cbxSpacing);
    layout->addRow(chkUpperCase);
    layout->addRow(QStringLiteral("&Comments:"), cbxComments);
    layout->addRow(chkTrailing);
    layout->addRow(buttons);
}

TTidyOptions TTidyDlg::Options() const
{
    return {static_cast<TWordSpacing>(cbxSpacing->currentIndex()), chkUpperCase->isChecked(),
            static_cast<TCommentRemoval>(cbxComments->currentIndex()), chkTrailing->isChecked()};
}
