// The editing commands and the remembered session, through the real main window: Find with its
// wrap and not-found notes, Replace All undone in one step, Go to Line, Redo after Undo, the
// recent files (order, limit, a file that is gone, Clear List), the state file written on close
// and read back, a first run without it, and a settings file unchanged by all of this.
#include "editor/FindBar.h"
#include "editor/GCodeEditor.h"
#include "tests/app/PlotterTestSupport.h"
#include "tests/support/WaitFor.h"
#include "watch/ATFileNotification.h"

#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QSplitter>
#include <QStatusBar>
#include <QTabWidget>
#include <QTest>

namespace {

class TPlotterEditingTest : public TPlotterTest
{
protected:
    // Presses a key where the focus is, as the user would.
    static void Press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::keyClick(QApplication::focusWidget(), static_cast<Qt::Key>(key), modifiers);
    }

    long SelectionStart() const
    {
        return window->Editor().SendScintilla(QsciScintillaBase::SCI_GETSELECTIONSTART);
    }
    TFindBar& Bar() const { return *window->findChild<TFindBar*>("FindBar"); }
    QString Note() const { return Bar().findChild<QLabel*>("lblNote")->text(); }

    QMenu& RecentMenu() const { return *window->findChild<QMenu*>("mnuFileOpenRecent"); }

    // The recent entries as the menu shows them when it opens, without their access numbers.
    QStringList RecentEntries() const
    {
        QMenu& menu = RecentMenu();
        emit menu.aboutToShow();
        QStringList names;
        for (const QAction* item : menu.actions())
            if (item->objectName().startsWith("itmRecent"))
                names << item->statusTip();
        return names;
    }

    void Open(const QString& path)
    {
        dialogs->openNames.push_back(path);
        ActionNamed("FileOpen1").trigger();
    }

    QString StateFile() const { return Path("state/Zorvit/state.ini"); }
    QString SettingsFile() const { return Path("config/Zorvit/Zorvit.ini"); }
};

TEST_F(TPlotterEditingTest, FindWrapsAndReportsNotFoundInTheBarAndReplaceAllIsOneUndo)
{
    MakeWindow({WriteFile("a.ngc", "G0 X1\nG1 X2\nG1 X3\n")});
    ShowAndFocusEditor();
    Press(Qt::Key_F, Qt::ControlModifier);
    ASSERT_TRUE(Bar().isVisible());
    QLineEdit* field = Bar().findChild<QLineEdit*>("edtFind");
    EXPECT_EQ(QApplication::focusWidget(), field);
    QTest::keyClicks(field, "G1");
    Press(Qt::Key_Return);
    EXPECT_EQ(SelectionStart(), 6);
    Press(Qt::Key_F3);
    EXPECT_EQ(SelectionStart(), 12);
    Press(Qt::Key_F3);
    EXPECT_EQ(SelectionStart(), 6);
    EXPECT_EQ(Note(), "Passed the end, continued from the top");
    Press(Qt::Key_F3, Qt::ShiftModifier);
    EXPECT_EQ(SelectionStart(), 12);
    EXPECT_EQ(Note(), "Passed the start, continued from the bottom");

    field->selectAll();
    QTest::keyClicks(field, "G7");
    Press(Qt::Key_Return);
    EXPECT_EQ(Note(), "not found");
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_TRUE(dialogs->errors.isEmpty());

    Press(Qt::Key_H, Qt::ControlModifier);
    field->setText("X");
    QTest::keyClicks(Bar().findChild<QLineEdit*>("edtReplace"), "Y");
    QWidget* replaceAll = Bar().widgetForAction(Bar().findChild<QAction*>("btnReplaceAll"));
    ASSERT_NE(replaceAll, nullptr);
    QTest::mouseClick(replaceAll, Qt::LeftButton);
    EXPECT_EQ(window->Editor().text(), "G0 Y1\nG1 Y2\nG1 Y3\n");
    EXPECT_EQ(Note(), "3 replaced");
    EXPECT_TRUE(ActionNamed("FileSave1").isEnabled());
    ActionNamed("EditUndo1").trigger();
    EXPECT_EQ(window->Editor().text(), "G0 X1\nG1 X2\nG1 X3\n");
    EXPECT_FALSE(ActionNamed("EditUndo1").isEnabled());

    Press(Qt::Key_Escape);
    EXPECT_FALSE(Bar().isVisible());
}

TEST_F(TPlotterEditingTest, GoToLineAndRedoAfterUndo)
{
    QByteArray text;
    for (int i = 1; i <= 300; ++i)
        text += "N" + QByteArray::number(i) + " G1 X" + QByteArray::number(i) + "\n";
    MakeWindow({WriteFile("long.ngc", text)});
    ShowAndFocusEditor();

    dialogs->lineNumbers = {250, 0};
    Press(Qt::Key_G, Qt::ControlModifier);
    ASSERT_EQ(dialogs->lineQuestions.size(), 1u);
    EXPECT_EQ(dialogs->lineQuestions[0], std::pair(1, 301));
    int line = -1;
    int index = -1;
    window->Editor().getCursorPosition(&line, &index);
    EXPECT_EQ(line, 249);
    const long first = window->Editor().SendScintilla(QsciScintillaBase::SCI_GETFIRSTVISIBLELINE);
    EXPECT_LE(first, 249);
    EXPECT_GT(first + window->Editor().SendScintilla(QsciScintillaBase::SCI_LINESONSCREEN), 249);
    // Cancelled: the caret stays.
    ActionNamed("EditGoToLine1").trigger();
    EXPECT_EQ(dialogs->lineQuestions[1], std::pair(250, 301));
    window->Editor().getCursorPosition(&line, &index);
    EXPECT_EQ(line, 249);

    EXPECT_FALSE(ActionNamed("EditRedo1").isEnabled());
    QTest::keyClicks(&window->Editor(), "M3");
    EXPECT_FALSE(ActionNamed("EditRedo1").isEnabled());
    Press(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_FALSE(window->Editor().text().contains("M3"));
    EXPECT_TRUE(ActionNamed("EditRedo1").isEnabled());
    Press(Qt::Key_Y, Qt::ControlModifier);
    EXPECT_TRUE(window->Editor().text().contains("M3"));
    Press(Qt::Key_Z, Qt::ControlModifier);
    Press(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_TRUE(window->Editor().text().contains("M3"));
    EXPECT_FALSE(ActionNamed("EditRedo1").isEnabled());
    window->Editor().setReadOnly(true);
    Press(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_FALSE(ActionNamed("EditRedo1").isEnabled());
}

TEST_F(TPlotterEditingTest, RecentFilesNewestFirstAtMostTenAndAGoneOneLeavesWithANote)
{
    MakeWindow();
    emit RecentMenu().aboutToShow();
    EXPECT_FALSE(ActionNamed("FileClearRecent1").isEnabled());
    QStringList opened;
    for (int i = 0; i < 12; ++i) {
        opened.prepend(WriteFile(QString("f%1.ngc").arg(i), "G0 X1\n"));
        Open(opened.front());
    }
    // Opening one again moves it to the top instead of listing it twice.
    Open(opened[4]);
    opened.move(4, 0);
    EXPECT_EQ(RecentEntries(), opened.mid(0, 10));

    // A name that no longer exists: chosen, it leaves the list and the status bar says so.
    QFile::remove(opened[2]);
    RecentMenu().findChild<QAction*>("itmRecent3")->trigger();
    QStringList rest = opened.mid(0, 10);
    rest.removeAt(2);
    EXPECT_EQ(RecentEntries(), rest);
    EXPECT_TRUE(window->statusBar()->currentMessage().contains(opened[2]));
    EXPECT_TRUE(dialogs->errors.isEmpty());
    EXPECT_EQ(window->Watcher().FileName(), opened[0]);

    // An existing one opens.
    RecentMenu().findChild<QAction*>("itmRecent2")->trigger();
    EXPECT_EQ(window->Watcher().FileName(), opened[1]);
    EXPECT_EQ(RecentEntries().front(), opened[1]);

    // Save As puts the new name first.
    window->Editor().SetTextBytes("G1 X5");
    QTest::keyClicks(&window->Editor(), " ");
    dialogs->saveNames.push_back(Path("saved.ngc"));
    ActionNamed("FileSaveAs1").trigger();
    EXPECT_EQ(RecentEntries().front(), Path("saved.ngc"));

    emit RecentMenu().aboutToShow();
    ActionNamed("FileClearRecent1").trigger();
    EXPECT_TRUE(RecentEntries().isEmpty());
}

TEST_F(TPlotterEditingTest, FirstRunHasTheSpecifiedPlaceAndACloseWritesTheStateThatTheNextRunReads)
{
    MakeWindow();
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    EXPECT_EQ(window->width(), 965);
    EXPECT_EQ(window->height() - window->menuBar()->height(), 591);
    EXPECT_EQ(window->findChild<QTabWidget*>("pgcGCode")->width(), 153);
    EXPECT_FALSE(QFile::exists(StateFile()));

    const QString file = WriteFile("a.ngc", "G0 X1\n");
    Open(file);
    window->setGeometry(40, 60, 1020, 640);
    auto* splitter = window->findChild<QSplitter*>("Splitter2");
    splitter->setSizes({300, 720});
    EXPECT_SOON(window->geometry() == QRect(40, 60, 1020, 640));
    const QList<int> sizes = splitter->sizes();
    EXPECT_TRUE(window->close());
    EXPECT_TRUE(QFile::exists(StateFile()));
    window.reset();

    MakeWindow();
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    EXPECT_EQ(window->geometry(), QRect(40, 60, 1020, 640));
    EXPECT_EQ(window->findChild<QSplitter*>("Splitter2")->sizes(), sizes);
    EXPECT_EQ(RecentEntries(), QStringList({file}));

    // The maximised state comes back as well, with the normal place behind it.
    window->setWindowState(window->windowState() | Qt::WindowMaximized);
    EXPECT_TRUE(window->close());
    window.reset();
    MakeWindow();
    EXPECT_TRUE(window->windowState().testFlag(Qt::WindowMaximized));
}

TEST_F(TPlotterEditingTest, SettingsFileIsTheSameWithAndWithoutTheseFeatures)
{
    MakeWindow();
    window.reset();
    const QByteArray plain = ReadFile(SettingsFile());
    ASSERT_FALSE(plain.isEmpty());
    QFile::remove(SettingsFile());

    MakeWindow({WriteFile("b.ngc", "G0 X1\nG1 X2\n")});
    ShowAndFocusEditor();
    Open(WriteFile("c.ngc", "G1 X3\n"));
    Press(Qt::Key_F, Qt::ControlModifier);
    QTest::keyClicks(QApplication::focusWidget(), "X");
    Press(Qt::Key_Return);
    window->resize(1000, 650);
    EXPECT_TRUE(window->close());
    window.reset();
    EXPECT_EQ(ReadFile(SettingsFile()), plain);
    EXPECT_TRUE(QFile::exists(StateFile()));
}

}  // namespace
