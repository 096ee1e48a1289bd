#include "app/dialogs/RenumberDlg.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QSpinBox>

namespace {

constexpr int kDefaultStart = 10;
constexpr int kDefaultStep = 10;
constexpr int kLargestNumber = 99999999;

}  // namespace

TRenumberDlg::TRenumberDlg(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("dlgRenumber"));
    setWindowTitle(QStringLiteral("Renumber"));
    cbxMode = new QComboBox(this);
    // In the order of TRenumberMode.
    cbxMode->addItems({QStringLiteral("Every block"), QStringLiteral("Blocks that have a number"),
                       QStringLiteral("Tool changes only"), QStringLiteral("Remove the numbers")});
    edtStart = new QSpinBox(this);
    edtStart->setRange(0, kLargestNumber);
    edtStart->setValue(kDefaultStart);
    edtStep = new QSpinBox(this);
    edtStep->setRange(1, kLargestNumber);
    edtStep->setValue(kDefaultStep);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(cbxMode, &QComboBox::currentIndexChanged, this, [this](int mode) {
        const bool numbers = static_cast<TRenumberMode>(mode) != TRenumberMode::Remove;
        edtStart->setEnabled(numbers);
        edtStep->setEnabled(numbers);
    });
    auto* layout = new QFormLayout(this);
    layout->addRow(QStringLiteral("&Number:"), cbxMode);
    layout->addRow(QStringLiteral("&Start at:"), edtStart);
    layout->addRow(QStringLiteral("S&tep:"), edtStep);
    layout->addRow(buttons);
}

TRenumberOptions TRenumberDlg::Options() const
{
    return {static_cast<TRenumberMode>(cbxMode->currentIndex()), edtStart->value(),
            edtStep->value()};
}
