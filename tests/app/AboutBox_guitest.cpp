// Help > About Zorvit..., chosen from the keyboard as a user does.
#include "tests/app/PlotterTestSupport.h"

#include "common/Version.h"

#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QTest>

namespace {

class TAboutBoxTest : public TPlotterTest
{};

TEST_F(TAboutBoxTest, HelpMenuComesLastWithAboutZorvit)
{
    MakeWindow();
    const QList<QAction*> bar = window->menuBar()->actions();
    ASSERT_FALSE(bar.isEmpty());
    EXPECT_EQ(bar.last()->text(), "&Help");
    ASSERT_NE(bar.last()->menu(), nullptr);
    EXPECT_EQ(bar.last()->menu()->objectName(), "mnuHelp");
    QStringList items;
    for (const QAction* item : bar.last()->menu()->actions())
        items << item->text();
    EXPECT_EQ(items, QStringList({"&About Zorvit..."}));
    EXPECT_EQ(ActionNamed("HelpAbout").text(), "About Zorvit...");
    EXPECT_EQ(ActionNamed("HelpAbout").property("category").toString(), "Help");
}

TEST_F(TAboutBoxTest, AltHThenAShowsTheVersionLicenceAndDescription)
{
    MakeWindow();
    window->show();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));

    QString title;
    QString text;
    int shown = 0;
    dialogs->onExecute = [&](QDialog& dialog) {
        ++shown;
        EXPECT_EQ(dialog.objectName(), "dlgAbout");
        title = dialog.windowTitle();
        if (auto* box = qobject_cast<QMessageBox*>(&dialog))
            text = box->text();
        return true;
    };
    QTest::keyClick(window.get(), Qt::Key_H, Qt::AltModifier);
    QWidget* popup = nullptr;
    EXPECT_TRUE(QTest::qWaitFor([&] { return (popup = QApplication::activePopupWidget()); }));
    ASSERT_NE(popup, nullptr);
    EXPECT_EQ(popup->objectName(), "mnuHelp");
    QTest::keyClick(popup, Qt::Key_A);
    EXPECT_TRUE(QTest::qWaitFor([&] { return shown > 0; }));

    EXPECT_EQ(shown, 1);
    EXPECT_EQ(title, "About Zorvit");
    EXPECT_TRUE(text.contains(QStringLiteral("Zorvit ") + kZorvitVersion)) << text.toStdString();
    EXPECT_TRUE(text.contains(kZorvitDescription)) << text.toStdString();
    EXPECT_TRUE(text.contains("GPL-3.0-or-later")) << text.toStdString();
}

}  // namespace
