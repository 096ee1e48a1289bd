#include "editor/ColorPicker.h"
#include "app/dialogs/ColorsDlg.h"

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
            m_pickers[i] = m_dialog.findChild<TColorPicker*>(QString("cbxG%1").arg(i));
    }

    // Shows the dialog as the main window's flow does, without blocking the test.
    void ShowDialog()
    {
        m_dialog.open();
        m_dialog.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&m_dialog));
    }

    QColor SwatchCentre(const char* identifier) const
    {
        const TColorPicker& picker = *m_pickers[0];
        const QImage swatch = picker.itemIcon(picker.findText(identifier)).pixmap(picker.iconSize()).toImage();
        return swatch.pixelColor(swatch.rect().center());
    }

    TdlgColor m_dialog;
    std::array<TColorPicker*, 4> m_pickers{};
    QPushButton* m_ok = m_dialog.findChild<QPushButton*>("Button1");
    QPushButton* m_cancel = m_dialog.findChild<QPushButton*>("Button2");
};

TEST_F(TdlgColorTest, HasItsControlsInPlaceAndTabWalksThem)
{
    EXPECT_EQ(m_dialog.windowTitle(), "GCode Colors");
    EXPECT_EQ(m_dialog.minimumSize(), QSize(348, 166));
    EXPECT_EQ(m_dialog.maximumSize(), QSize(348, 166));
    const char* const labels[] = {"G0 (Rapid Linear Interpolation)", "G1 (Linear Interpolation)",
                                  "G2 (CW Circular Interpolation)", "G3 (CCW Circular Interpolation)"};
    for (int row = 0; row < 4; ++row) {
        const auto* label = m_dialog.findChild<QLabel*>(QString("lblG%1").arg(row));
        ASSERT_TRUE(label && m_pickers[row]) << row;
        EXPECT_EQ(label->text(), labels[row]);
        EXPECT_EQ(label->pos(), QPoint(16, 16 + 28 * row));
        EXPECT_EQ(m_pickers[row]->geometry(), QRect(184, 13 + 28 * row, 145, 22));
        EXPECT_EQ(m_pickers[row]->count(), 50);
    }
    ASSERT_TRUE(m_ok && m_cancel);
    EXPECT_EQ(m_ok->text(), "&OK");
    EXPECT_TRUE(m_ok->isDefault());
    EXPECT_EQ(m_ok->geometry(), QRect(59, 133, 75, 25));
    EXPECT_EQ(m_cancel->text(), "&Cancel");
    EXPECT_EQ(m_cancel->geometry(), QRect(192, 133, 75, 25));

    ShowDialog();
    const QWidget* const order[] = {m_pickers[0], m_pickers[1], m_pickers[2], m_pickers[3],
                                    m_ok,         m_cancel,     m_pickers[0]};
    EXPECT_EQ(QApplication::focusWidget(), order[0]);
    for (std::size_t i = 1; i < std::size(order); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), order[i]) << i;
    }
}

TEST_F(TdlgColorTest, PickersKeepColoursTheyDoNotListUntilTheUserChooses)
{
    m_dialog.PutColors({clMoneyGreen, clWindowText, clNone, 0x00CCFFCC});
    EXPECT_EQ(m_pickers[0]->currentText(), "clMoneyGreen");
    EXPECT_EQ(m_pickers[2]->currentIndex(), -1);
    EXPECT_EQ(m_pickers[3]->currentIndex(), -1);
    EXPECT_EQ(m_dialog.GetColors(), (std::array<TColor, 4>{clMoneyGreen, clWindowText, clNone, 0x00CCFFCC}));

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
    picker->SetColor(clDefault);
    picker->SetColor(clRed);
    EXPECT_EQ(changed.count(), 0);

    ShowDialog();
    picker->setFocus();
    QTest::keyClick(picker, Qt::Key_Down); // the entry after clRed
    ASSERT_EQ(changed.count(), 1);
    EXPECT_EQ(changed.takeFirst().at(0).value<TColor>(), clLime);

    // Choosing from the drop-down list with the mouse; choosing the current entry again is no change.
    for (int pass = 0; pass < 2; ++pass) {
        picker->showPopup();
        QAbstractItemView* list = picker->view();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(list->window()));
        const QModelIndex blue = list->model()->index(picker->findText("clBlue"), 0);
        list->scrollTo(blue);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(blue).center());
        QTRY_VERIFY(!list->window()->isVisible());
    }
    ASSERT_EQ(changed.count(), 1);
    EXPECT_EQ(changed.takeFirst().at(0).value<TColor>(), clBlue);
    EXPECT_EQ(picker->Color(), clBlue);
}

TEST_F(TdlgColorTest, SwatchesShowTheirColoursAndSystemColoursFollowThePalette)
{
    EXPECT_EQ(SwatchCentre("clSkyBlue"), QColor(0xA6, 0xCA, 0xF0));
    QPalette palette = m_pickers[0]->palette();
    palette.setColor(QPalette::Base, QColor(1, 2, 3));
    palette.setColor(QPalette::Text, QColor(4, 5, 6));
    palette.setColor(QPalette::Button, QColor(7, 8, 9));
    m_pickers[0]->setPalette(palette);
    EXPECT_EQ(SwatchCentre("clWindow"), QColor(1, 2, 3));
    EXPECT_EQ(SwatchCentre("clWindowText"), QColor(4, 5, 6));
    EXPECT_EQ(SwatchCentre("clBtnFace"), QColor(7, 8, 9));
}

TEST_F(TdlgColorTest, EnterAndOkAcceptEscapeCancelAndCloseBoxReject)
{
    const std::function<void()> actions[] = {
        [] { QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return); },
        [this] { QTest::mouseClick(m_ok, Qt::LeftButton); },
        [] { QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape); },
        [this] { QTest::mouseClick(m_cancel, Qt::LeftButton); },
        [this] { m_dialog.setResult(QDialog::Accepted), m_dialog.close(); },
    };
    const QDialog::DialogCode expected[] = {QDialog::Accepted, QDialog::Accepted, QDialog::Rejected,
                                            QDialog::Rejected, QDialog::Rejected};
    for (std::size_t i = 0; i < std::size(actions); ++i) {
        ShowDialog();
        actions[i]();
        EXPECT_FALSE(m_dialog.isVisible()) << i;
        EXPECT_EQ(m_dialog.result(), expected[i]) << i;
    }
}

} // namespace
