#include "app/dialogs/ColorsDlg.h"
#include "editor/ColorPicker.h"
#include "tests/support/WaitFor.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include <functional>

#include <gtest/gtest.h>

namespace {

class TdlgColorTest : public ::testing::Test
{
protected:
    TdlgColorTest()
    {
        for (int i = 0; i < 4; ++i)
            FPickers[i] = FDialog.findChild<TColorPicker*>(QString("cbxG%1").arg(i));
    }

    // Shows the dialog as the main window's flow does, without blocking the test.
    void ShowDialog()
    {
        FDialog.open();
        FDialog.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&FDialog));
    }

    QColor SwatchCentre(const char* identifier) const
    {
        const TColorPicker& picker = *FPickers[0];
        const QImage swatch =
            picker.itemIcon(picker.findText(identifier)).pixmap(picker.iconSize()).toImage();
        return swatch.pixelColor(swatch.rect().center());
    }

    TdlgColor FDialog;
    std::array<TColorPicker*, 4> FPickers{};
    QPushButton* FOk = FDialog.findChild<QPushButton*>("Button1");
    QPushButton* FCancel = FDialog.findChild<QPushButton*>("Button2");
};

TEST_F(TdlgColorTest, HasItsControlsInPlaceAndTabWalksThem)
{
    EXPECT_EQ(FDialog.windowTitle(), "GCode Colors");
    EXPECT_EQ(FDialog.minimumSize(), QSize(348, 166));
    EXPECT_EQ(FDialog.maximumSize(), QSize(348, 166));
    const char* const labels[] = {"G0 (Rapid Linear Interpolation)", "G1 (Linear Interpolation)",
                                  "G2 (CW Circular Interpolation)",
                                  "G3 (CCW Circular Interpolation)"};
    for (int row = 0; row < 4; ++row) {
        const auto* label = FDialog.findChild<QLabel*>(QString("lblG%1").arg(row));
        ASSERT_TRUE(label && FPickers[row]) << row;
        EXPECT_EQ(label->text(), labels[row]);
        EXPECT_EQ(label->pos(), QPoint(16, 16 + 28 * row));
        EXPECT_EQ(FPickers[row]->geometry(), QRect(184, 13 + 28 * row, 145, 22));
        EXPECT_EQ(FPickers[row]->count(), 50);
    }
    ASSERT_TRUE(FOk && FCancel);
    EXPECT_EQ(FOk->text(), "&OK");
    EXPECT_TRUE(FOk->isDefault());
    EXPECT_EQ(FOk->geometry(), QRect(59, 133, 75, 25));
    EXPECT_EQ(FCancel->text(), "&Cancel");
    EXPECT_EQ(FCancel->geometry(), QRect(192, 133, 75, 25));

    ShowDialog();
    const QWidget* const order[] = {FPickers[0], FPickers[1], FPickers[2], FPickers[3],
                                    FOk,         FCancel,     FPickers[0]};
    EXPECT_EQ(QApplication::focusWidget(), order[0]);
    for (std::size_t i = 1; i < std::size(order); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), order[i]) << i;
    }
}

TEST_F(TdlgColorTest, PickersKeepColoursTheyDoNotListUntilTheUserChooses)
{
    FDialog.PutColors({clMoneyGreen, clWindowText, clNone, 0x00CCFFCC});
    EXPECT_EQ(FPickers[0]->currentText(), "clMoneyGreen");
    EXPECT_EQ(FPickers[2]->currentIndex(), -1);
    EXPECT_EQ(FPickers[3]->currentIndex(), -1);
    EXPECT_EQ(FDialog.GetColors(),
              (std::array<TColor, 4>{clMoneyGreen, clWindowText, clNone, 0x00CCFFCC}));

    ShowDialog();
    FPickers[2]->setFocus();
    QTest::keyClick(FPickers[2], Qt::Key_End);
    QTest::mouseClick(FOk, Qt::LeftButton);
    EXPECT_EQ(FDialog.result(), QDialog::Accepted);
    EXPECT_EQ(FDialog.GetColors(),
              (std::array<TColor, 4>{clMoneyGreen, clWindowText, clWindowText, 0x00CCFFCC}));
}

TEST_F(TdlgColorTest, PickerSignalsOnlyTheUsersChoices)
{
    TColorPicker* picker = FPickers[0];
    QSignalSpy changed(picker, &TColorPicker::ColorChanged);
    picker->SetColor(clDefault);
    picker->SetColor(clRed);
    EXPECT_EQ(changed.count(), 0);

    ShowDialog();
    picker->setFocus();
    QTest::keyClick(picker, Qt::Key_Down);  // the entry after clRed
    ASSERT_EQ(changed.count(), 1);
    EXPECT_EQ(changed.takeFirst().at(0).value<TColor>(), clLime);

    // Choosing from the drop-down list with the mouse; choosing the current entry again is no
    // change.
    for (int pass = 0; pass < 2; ++pass) {
        picker->showPopup();
        QAbstractItemView* list = picker->view();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(list->window()));
        const QModelIndex blue = list->model()->index(picker->findText("clBlue"), 0);
        list->scrollTo(blue);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(blue).center());
        EXPECT_SOON(!list->window()->isVisible());
    }
    ASSERT_EQ(changed.count(), 1);
    EXPECT_EQ(changed.takeFirst().at(0).value<TColor>(), clBlue);
    EXPECT_EQ(picker->Color(), clBlue);
}

TEST_F(TdlgColorTest, SwatchesShowTheirColoursAndSystemColoursFollowThePalette)
{
    EXPECT_EQ(SwatchCentre("clSkyBlue"), QColor(0xA6, 0xCA, 0xF0));
    QPalette palette = FPickers[0]->palette();
    palette.setColor(QPalette::Base, QColor(1, 2, 3));
    palette.setColor(QPalette::Text, QColor(4, 5, 6));
    palette.setColor(QPalette::Button, QColor(7, 8, 9));
    FPickers[0]->setPalette(palette);
    EXPECT_EQ(SwatchCentre("clWindow"), QColor(1, 2, 3));
    EXPECT_EQ(SwatchCentre("clWindowText"), QColor(4, 5, 6));
    EXPECT_EQ(SwatchCentre("clBtnFace"), QColor(7, 8, 9));
}

TEST_F(TdlgColorTest, EnterAndOkAcceptEscapeCancelAndCloseBoxReject)
{
    const std::function<void()> actions[] = {
        [] { QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return); },
        [this] { QTest::mouseClick(FOk, Qt::LeftButton); },
        [] { QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape); },
        [this] { QTest::mouseClick(FCancel, Qt::LeftButton); },
        [this] { FDialog.setResult(QDialog::Accepted), FDialog.close(); },
    };
    const QDialog::DialogCode expected[] = {QDialog::Accepted, QDialog::Accepted, QDialog::Rejected,
                                            QDialog::Rejected, QDialog::Rejected};
    for (std::size_t i = 0; i < std::size(actions); ++i) {
        ShowDialog();
        actions[i]();
        EXPECT_FALSE(FDialog.isVisible()) << i;
        EXPECT_EQ(FDialog.result(), expected[i]) << i;
    }
}

}  // namespace
