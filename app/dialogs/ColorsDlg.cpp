#include "app/dialogs/ColorsDlg.h"

#include "editor/ColorPicker.h"
#include "editor/DialogLayout.h"

#include <QLabel>
#include <QPushButton>
#include <QRect>

#include <algorithm>

namespace {

constexpr int kClientWidthPx = 348;
constexpr int kClientHeightPx = 166;

constexpr int kLabelLeftPx = 16;
constexpr int kLabelTopPx = 16;
constexpr int kPickerLeftPx = 184;
constexpr int kPickerTopPx = 13;
constexpr int kPickerWidthPx = 145;
constexpr int kPickerHeightPx = 22;
constexpr int kRowPitchPx = 28;
// The least room between a label's text and its picker.
constexpr int kLabelGapPx = 4;

constexpr int kButtonTopPx = 133;
constexpr int kOkLeftPx = 59;
constexpr int kCancelLeftPx = 192;
constexpr int kButtonWidthPx = 75;
constexpr int kButtonHeightPx = 25;

constexpr std::array<const char*, 4> kLabelTexts{
    "G0 (Rapid Linear Interpolation)",
    "G1 (Linear Interpolation)",
    "G2 (CW Circular Interpolation)",
    "G3 (CCW Circular Interpolation)",
};

}  // namespace

TdlgColor::TdlgColor(QWidget* parent) : QDialog(parent)
{
    setObjectName("dlgColor");
    setWindowTitle("GCode Colors");
    setFont(DialogFont());
    CreateControls();
    SetTabOrder();
}

void TdlgColor::CreateControls()
{
    // A label whose text is wider than its place pushes the column of pickers, and the
    // dialog's right edge, as far right as it needs; everything else stays where it is.
    int pickerShift = 0;
    for (std::size_t row = 0; row < FPickers.size(); ++row) {
        const int rowOffset = static_cast<int>(row) * kRowPitchPx;
        const QString suffix = QString::number(row);

        QLabel* label = new QLabel(kLabelTexts[row], this);
        label->setObjectName("lblG" + suffix);
        const QRect place(kLabelLeftPx, kLabelTopPx + rowOffset,
                          kPickerLeftPx - kLabelGapPx - kLabelLeftPx, label->sizeHint().height());
        pickerShift = std::max(pickerShift, PlaceCaption(*label, place));

        TColorPicker* picker = new TColorPicker(this);
        picker->setObjectName("cbxG" + suffix);
        FPickers[row] = picker;
    }
    for (std::size_t row = 0; row < FPickers.size(); ++row)
        FPickers[row]->setGeometry(kPickerLeftPx + pickerShift,
                                   kPickerTopPx + static_cast<int>(row) * kRowPitchPx,
                                   kPickerWidthPx, kPickerHeightPx);
    setFixedSize(kClientWidthPx + pickerShift, kClientHeightPx);

    Button1 = new QPushButton("&OK", this);
    Button1->setObjectName("Button1");
    Button1->setGeometry(kOkLeftPx, kButtonTopPx, kButtonWidthPx, kButtonHeightPx);
    Button1->setDefault(true);
    connect(Button1, &QPushButton::clicked, this, &QDialog::accept);

    Button2 = new QPushButton("&Cancel", this);
    Button2->setObjectName("Button2");
    Button2->setGeometry(kCancelLeftPx, kButtonTopPx, kButtonWidthPx, kButtonHeightPx);
    connect(Button2, &QPushButton::clicked, this, &QDialog::reject);
}

void TdlgColor::SetTabOrder()
{
    for (std::size_t row = 1; row < FPickers.size(); ++row)
        setTabOrder(FPickers[row - 1], FPickers[row]);
    setTabOrder(FPickers.back(), Button1);
    setTabOrder(Button1, Button2);
}

void TdlgColor::PutColors(const std::array<TColor, 4>& colours)
{
    for (std::size_t row = 0; row < FPickers.size(); ++row)
        FPickers[row]->SetColor(colours[row]);
}

std::array<TColor, 4> TdlgColor::GetColors() const
{
    std::array<TColor, 4> colours{};
    for (std::size_t row = 0; row < FPickers.size(); ++row)
        colours[row] = FPickers[row]->Color();
    return colours;
}
