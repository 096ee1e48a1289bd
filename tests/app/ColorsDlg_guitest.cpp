#include "ColorPicker.h"
#include "ColorTable.h"
#include "ColorsDlg.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace {

constexpr std::array<const char*, 4> kPickerNames{"cbxG0", "cbxG1", "cbxG2", "cbxG3"};

class TdlgColorTest : public ::testing::Test
{
protected:
    TdlgColorTest()
    {
        for (std::size_t i = 0; i < kPickerNames.size(); ++i)
            m_pickers[i] = m_dialog.findChild<TColorPicker*>(kPickerNames[i]);
        m_ok = m_dialog.findChild<QPushButton*>("Button1");
        m_cancel = m_dialog.findChild<QPushButton*>("Button2");
    }

    // Shows the dialog as the main window's flow does, without blocking the test.
    void ShowDialog()
    {
        m_dialog.open();
        m_dialog.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&m_dialog));
    }

    TdlgColor m_dialog;
    std::array<TColorPicker*, 4> m_pickers{};
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;
};

TEST_F(TdlgColorTest, HasItsControlsInPlace)
{
    EXPECT_EQ(m_dialog.windowTitle(), "GCode Colors");
    EXPECT_EQ(m_dialog.size(), QSize(348, 166));
    EXPECT_EQ(m_dialog.minimumSize(), m_dialog.maximumSize());
    const std::array<const char*, 4> labels{"G0 (Rapid Linear Interpolation)", "G1 (Linear Interpolation)",
                                            "G2 (CW Circular Interpolation)", "G3 (CCW Circular Interpolation)"};
    for (int row = 0; row < 4; ++row) {
        const auto* label = m_dialog.findChild<QLabel*>(QString("lblG%1").arg(row));
        ASSERT_NE(label, nullptr) << row;
        EXPECT_EQ(label->text(), labels[row]);
        EXPECT_EQ(label->pos(), QPoint(16, 16 + 28 * row));
        ASSERT_NE(m_pickers[row], nullptr) << row;
        EXPECT_EQ(m_pickers[row]->geometry(), QRect(184, 13 + 28 * row, 145, 22));
        EXPECT_EQ(m_pickers[row]->count(), 50);
    }
    ASSERT_NE(m_ok, nullptr);
    ASSERT_NE(m_cancel, nullptr);
    EXPECT_EQ(m_ok->text(), "&OK");
    EXPECT_TRUE(m_ok->isDefault());
    EXPECT_EQ(m_ok->geometry(), QRect(59, 133, 75, 25));
    EXPECT_EQ(m_cancel->text(), "&Cancel");
    EXPECT_EQ(m_cancel->geometry(), QRect(192, 133, 75, 25));
}

TEST_F(TdlgColorTest, TabWalksPickersThenButtons)
{
    ShowDialog();
    const std::array<QWidget*, 7> order{m_pickers[0], m_pickers[1], m_pickers[2], m_pickers[3],
                                        m_ok,         m_cancel,     m_pickers[0]};
    EXPECT_EQ(QApplication::focusWidget(), order[0]);
    for (std::size_t i = 1; i < order.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), order[i]) << i;
    }
}

TEST_F(TdlgColorTest, PutColorsAndGetColorsKeepUnlistedColours)
{
    m_dialog.PutColors({clMoneyGreen, clWindowText, clNone, 0x00CCFFCC});
    EXPECT_EQ(m_pickers[0]->currentText(), "clMoneyGreen");
    EXPECT_EQ(m_pickers[1]->currentText(), "clWindowText");
    EXPECT_EQ(m_pickers[2]->currentIndex(), -1);
    EXPECT_EQ(m_pickers[3]->currentIndex(), -1);
    EXPECT_EQ(m_dialog.GetColors(), (std::array<TColor, 4>{clMoneyGreen, clWindowText, clNone, 0x00CCFFCC}));

    // Confirming without a choice keeps them; a choice replaces one.
    ShowDialog();
    m_pickers[2]->setFocus();
    QTest::keyClick(m_pickers[2], Qt::Key_End);
    QTest::mouseClick(m_ok, Qt::LeftButton);
    EXPECT_EQ(m_dialog.result(), QDialog::Accepted);
    EXPECT_EQ(m_dialog.GetColors(), (std::array<TColor, 4>{clMoneyGreen, clWindowText, clWindowText, 0x00CCFFCC}));
}

TEST_F(TdlgColorTest, PickerSignalsOnlyTheUsersChoices)
{
    TColorPicker* picker = m_pickers[0];
    QSignalSpy changed(picker, &TColorPicker::ColorChanged);
    picker->SetColor(clRed);
    picker->SetColor(clDefault);
    EXPECT_EQ(changed.count(), 0);

    ShowDialog();
    picker->SetColor(clRed);
    picker->setFocus();
    QTest::keyClick(picker, Qt::Key_Down); // the entry after clRed
    ASSERT_EQ(changed.count(), 1);
    EXPECT_EQ(changed.takeFirst().at(0).value<TColor>(), clLime);
    EXPECT_EQ(picker->Color(), clLime);

    // Choosing from the drop-down list with the mouse; choosing the current entry again is no change.
    for (const int row : {12, 12}) {
        picker->showPopup();
        QAbstractItemView* list = picker->view();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(list->window()));
        const QModelIndex index = list->model()->index(row, 0);
        list->scrollTo(index);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(index).center());
        QTRY_VERIFY(!list->window()->isVisible());
    }
    ASSERT_EQ(changed.count(), 1);
    EXPECT_EQ(changed.takeFirst().at(0).value<TColor>(), clBlue);
    EXPECT_EQ(picker->currentText(), "clBlue");
}

QColor SwatchCentre(const TColorPicker& picker, std::string_view identifier)
{
    const int index = picker.findText(QString::fromLatin1(identifier.data(), static_cast<int>(identifier.size())));
    const QImage swatch = picker.itemIcon(index).pixmap(picker.iconSize()).toImage();
    return swatch.pixelColor(swatch.rect().center());
}

TEST_F(TdlgColorTest, SwatchesShowTheirColoursAndSystemColoursFollowThePalette)
{
    TColorPicker& picker = *m_pickers[0];
    EXPECT_EQ(SwatchCentre(picker, "clSkyBlue"), QColor(0xA6, 0xCA, 0xF0));
    QPalette palette = picker.palette();
    palette.setColor(QPalette::Base, QColor(1, 2, 3));
    palette.setColor(QPalette::Text, QColor(4, 5, 6));
    palette.setColor(QPalette::Button, QColor(7, 8, 9));
    picker.setPalette(palette);
    EXPECT_EQ(SwatchCentre(picker, "clWindow"), QColor(1, 2, 3));
    EXPECT_EQ(SwatchCentre(picker, "clWindowText"), QColor(4, 5, 6));
    EXPECT_EQ(SwatchCentre(picker, "clBtnFace"), QColor(7, 8, 9));
}

TEST_F(TdlgColorTest, EnterAndOkAcceptEscapeCancelAndCloseBoxReject)
{
    ShowDialog();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_EQ(m_dialog.result(), QDialog::Accepted);
    EXPECT_FALSE(m_dialog.isVisible());

    ShowDialog();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    EXPECT_EQ(m_dialog.result(), QDialog::Rejected);

    ShowDialog();
    QTest::mouseClick(m_ok, Qt::LeftButton);
    EXPECT_EQ(m_dialog.result(), QDialog::Accepted);

    ShowDialog();
    QTest::mouseClick(m_cancel, Qt::LeftButton);
    EXPECT_EQ(m_dialog.result(), QDialog::Rejected);

    ShowDialog();
    m_dialog.setResult(QDialog::Accepted);
    EXPECT_TRUE(m_dialog.close());
    EXPECT_EQ(m_dialog.result(), QDialog::Rejected);
}

} // namespace
