// The plot colours dialog under fonts wider than the one it was laid out for: every label shows
// its whole text, starts where it always does, and the pickers beside it move right to clear it.
#include "app/dialogs/ColorsDlg.h"
#include "editor/ColorPicker.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>

namespace {

constexpr int kRows = 4;
constexpr int kLabelLeftPx = 16;
constexpr int kPickerLeftPx = 184;
constexpr int kWidthPx = 348;
constexpr int kRowPitchPx = 28;

QLabel* Label(const QDialog& dialog, int row)
{
    return dialog.findChild<QLabel*>(QString("lblG%1").arg(row));
}

TColorPicker* Picker(const QDialog& dialog, int row)
{
    return dialog.findChild<TColorPicker*>(QString("cbxG%1").arg(row));
}

// Each label: its place, its whole text, clear of its picker; the pickers a column of their own,
// inside the dialog; the buttons where they were.
void ExpectLabelsClearOfPickers(const TdlgColor& dialog)
{
    int pickerLeft = -1;
    for (int row = 0; row < kRows; ++row) {
        const QLabel* label = Label(dialog, row);
        const TColorPicker* picker = Picker(dialog, row);
        ASSERT_TRUE(label && picker) << row;
        EXPECT_EQ(label->pos(), QPoint(kLabelLeftPx, 16 + kRowPitchPx * row)) << row;
        EXPECT_GE(label->width(), label->fontMetrics().horizontalAdvance(label->text())) << row;
        EXPECT_LT(label->geometry().right(), picker->x()) << row;
        EXPECT_EQ(picker->y(), 13 + kRowPitchPx * row) << row;
        EXPECT_GE(picker->x(), kPickerLeftPx) << row;
        EXPECT_LE(picker->geometry().right(), dialog.width() - 1) << row;
        if (pickerLeft >= 0) {
            EXPECT_EQ(picker->x(), pickerLeft) << row;
        }
        pickerLeft = picker->x();
    }
    EXPECT_EQ(dialog.findChild<QPushButton*>("Button1")->pos(), QPoint(59, 133));
    EXPECT_EQ(dialog.findChild<QPushButton*>("Button2")->pos(), QPoint(192, 133));
}

TEST(TdlgColorLabelsTest, WideFontMovesThePickersAndWidensTheDialog)
{
    // A desktop whose fonts are far wider than Tahoma: the dialog's font falls back to this one.
    const QFont before = QApplication::font();
    QFont wide = before;
    wide.setFamily("DejaVu Sans");
    wide.setStretch(QFont::UltraExpanded);
    wide.setLetterSpacing(QFont::AbsoluteSpacing, 2);
    QApplication::setFont(wide);
    {
        TdlgColor dialog;
        QApplication::setFont(before);
        dialog.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
        ExpectLabelsClearOfPickers(dialog);
        // The text really was too wide for the place the layout gives it.
        EXPECT_GT(Picker(dialog, 0)->x(), kPickerLeftPx);
        EXPECT_GT(dialog.width(), kWidthPx);
        EXPECT_EQ(dialog.minimumSize(), dialog.maximumSize());
    }
}

TEST(TdlgColorLabelsTest, FittingFontKeepsTheLayout)
{
    TdlgColor dialog;
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    ExpectLabelsClearOfPickers(dialog);
}

}  // namespace
