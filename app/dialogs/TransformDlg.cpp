#include "app/dialogs/TransformDlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>

namespace {

constexpr double kLargestAmount = 1e6;
constexpr int kDecimals = 4;

QDoubleSpinBox* AmountBox(QWidget* parent)
{
    auto* box = new QDoubleSpinBox(parent);
    box->setRange(-kLargestAmount, kLargestAmount);
    box->setDecimals(kDecimals);
    return box;
}

}  // namespace

TTransformDlg::TTransformDlg(bool selection, QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("dlgTransform"));
    setWindowTitle(QStringLiteral("Transform"));
    cbxOperation = new QComboBox(this);
    cbxOperation->addItems({QStringLiteral("Move"), QStringLiteral("Turn"),
                            QStringLiteral("Mirror"), QStringLiteral("Scale")});
    edtFirst = AmountBox(this);
    edtSecond = AmountBox(this);
    edtThird = AmountBox(this);
    cbxMirror = new QComboBox(this);
    cbxMirror->addItems({QStringLiteral("X"), QStringLiteral("Y"), QStringLiteral("X and Y")});
    chkSelection = new QCheckBox(QStringLiteral("&Selected lines only"), this);
    chkSelection->setEnabled(selection);
    chkSelection->setChecked(selection);
    lblStatus = new QLabel(this);
    lblStatus->setWordWrap(true);
    FButtons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(FButtons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(FButtons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QFormLayout(this);
    layout->addRow(QStringLiteral("&Operation:"), cbxOperation);
    FFirstLabel = new QLabel(this);
    FSecondLabel = new QLabel(this);
    FThirdLabel = new QLabel(this);
    FMirrorLabel = new QLabel(QStringLiteral("&In:"), this);
    FMirrorLabel->setBuddy(cbxMirror);
    layout->addRow(FFirstLabel, edtFirst);
    layout->addRow(FSecondLabel, edtSecond);
    layout->addRow(FThirdLabel, edtThird);
    layout->addRow(FMirrorLabel, cbxMirror);
    layout->addRow(chkSelection);
    layout->addRow(lblStatus);
    layout->addRow(FButtons);

    connect(cbxOperation, &QComboBox::currentIndexChanged, this, [this] {
        ShowFields();
        Preview();
    });
    for (QDoubleSpinBox* box : {edtFirst, edtSecond, edtThird})
        connect(box, &QDoubleSpinBox::valueChanged, this, &TTransformDlg::Preview);
    connect(cbxMirror, &QComboBox::currentIndexChanged, this, &TTransformDlg::Preview);
    connect(chkSelection, &QCheckBox::toggled, this, &TTransformDlg::Preview);
    ShowFields();
}

// Each operation shows the fields it takes, under its own names.
void TTransformDlg::ShowFields()
{
    const auto operation = static_cast<TOperation>(cbxOperation->currentIndex());
    const bool mirror = operation == TOperation::Mirror;
    const bool scale = operation == TOperation::Scale;
    FFirstLabel->setText(operation == TOperation::Rotate ? QStringLiteral("&Angle (degrees):")
                         : scale                         ? QStringLiteral("&Factor:")
                                                         : QStringLiteral("&X distance:"));
    FSecondLabel->setText(operation == TOperation::Rotate ? QStringLiteral("Centre &X:")
                                                          : QStringLiteral("&Y distance:"));
    FThirdLabel->setText(operation == TOperation::Rotate ? QStringLiteral("Centre &Y:")
                                                         : QStringLiteral("&Z distance:"));
    for (QLabel* label : {FFirstLabel, FSecondLabel, FThirdLabel})
        label->setBuddy(label == FFirstLabel    ? edtFirst
                        : label == FSecondLabel ? edtSecond
                                                : edtThird);
    FFirstLabel->setVisible(!mirror);
    edtFirst->setVisible(!mirror);
    for (QWidget* widget : {static_cast<QWidget*>(FSecondLabel), static_cast<QWidget*>(edtSecond),
                            static_cast<QWidget*>(FThirdLabel), static_cast<QWidget*>(edtThird)})
        widget->setVisible(!mirror && !scale);
    FMirrorLabel->setVisible(mirror);
    cbxMirror->setVisible(mirror);
    if (scale && edtFirst->value() <= 0)
        edtFirst->setValue(1);
}

TPlaneTransform TTransformDlg::Transform() const
{
    switch (static_cast<TOperation>(cbxOperation->currentIndex())) {
    case TOperation::Rotate:
        return TPlaneTransform::Rotation(edtFirst->value(), edtSecond->value(), edtThird->value());
    case TOperation::Mirror:
        return TPlaneTransform::Mirror(cbxMirror->currentIndex() != 1,
                                       cbxMirror->currentIndex() != 0);
    case TOperation::Scale:
        return TPlaneTransform::Scaling(edtFirst->value());
    case TOperation::Translate:
        break;
    }
    return TPlaneTransform::Translation(edtFirst->value(), edtSecond->value(), edtThird->value());
}

bool TTransformDlg::SelectionOnly() const
{
    return chkSelection->isChecked();
}

void TTransformDlg::Preview()
{
    QString reason;
    if (static_cast<TOperation>(cbxOperation->currentIndex()) == TOperation::Scale &&
        edtFirst->value() <= 0)
        reason = QStringLiteral("The factor must be above 0.");
    else if (OnPreview)
        reason = OnPreview(Transform(), SelectionOnly());
    lblStatus->setText(reason);
    FButtons->button(QDialogButtonBox::Ok)->setEnabled(reason.isEmpty());
}
