// Program Info in the real window: its table shows the figures with their units, Copy puts them
// on the clipboard, and Close and Esc close the window.

#include "tests/app/PlotterTestSupport.h"
#include "tests/support/WaitFor.h"

#include <QClipboard>
#include <QDialogButtonBox>
#include <QGuiApplication>
#include <QPushButton>
#include <QTableWidget>
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
    // The table holds the same figures, a row each.
    auto* table = info->findChild<QTableWidget*>(QStringLiteral("tblSummary"));
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->rowCount(), figures.count(QLatin1Char('\n')));
    const QList<QTableWidgetItem*> found =
        table->findItems(QStringLiteral("segments G1"), Qt::MatchExactly);
    ASSERT_EQ(found.size(), 1);
    EXPECT_EQ(table->item(found[0]->row(), 1)->text(), QStringLiteral("1"));

    QTest::keyClick(table, Qt::Key_Escape);
    EXPECT_SOON(!info->isVisible());

    open();
    QTest::mouseClick(info->findChild<QDialogButtonBox*>(QStringLiteral("btnsProgramInfo"))
                          ->button(QDialogButtonBox::Close),
                      Qt::LeftButton);
    EXPECT_SOON(!info->isVisible());
}

}  // namespace
