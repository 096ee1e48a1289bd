// Program Info's buttons in the real window: Copy puts the figures on the clipboard, and Close
// and Esc close the window.

#include "tests/app/PlotterTestSupport.h"
#include "tests/support/WaitFor.h"

#include <QClipboard>
#include <QDialogButtonBox>
#include <QGuiApplication>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

namespace {

using TProgramInfoButtonsTest = TPlotterTest;

TEST_F(TProgramInfoButtonsTest, CopyTakesTheFiguresAndCloseAndEscClose)
{
    MakeWindow({WriteFile(QStringLiteral("square.ngc"), "G0 X1\nG1 Y1 F100\n")});
    ShowWindow();
    auto* info = window->findChild<QWidget*>(QStringLiteral("frmProgramInfo"));
    ASSERT_NE(info, nullptr);
    const auto open = [&] {
        ClickMenuItem("mnuView", "itmViewProgramInfo");
        EXPECT_SOON(info->isVisible());
        info->activateWindow();
        EXPECT_SOON(info->isActiveWindow());
    };

    open();
    QGuiApplication::clipboard()->clear();
    QTest::mouseClick(info->findChild<QPushButton*>(QStringLiteral("btnCopy")), Qt::LeftButton);
    const QString figures = QGuiApplication::clipboard()->text();
    EXPECT_TRUE(figures.contains(QStringLiteral("segments G1: 1\n"))) << figures.toStdString();
    EXPECT_EQ(figures,
              info->findChild<QPlainTextEdit*>(QStringLiteral("memSummary"))->toPlainText());

    QTest::keyClick(info->findChild<QPlainTextEdit*>(QStringLiteral("memSummary")), Qt::Key_Escape);
    EXPECT_SOON(!info->isVisible());

    open();
    QTest::mouseClick(info->findChild<QDialogButtonBox*>(QStringLiteral("btnsProgramInfo"))
                          ->button(QDialogButtonBox::Close),
                      Qt::LeftButton);
    EXPECT_SOON(!info->isVisible());
}

}  // namespace
