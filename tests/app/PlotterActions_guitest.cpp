// The main window's actions: the table itself, the menus, tool bar and context menu that run
// them, their update rules, shortcut keys, hints in the status bar, and the error box text.

#include "tests/app/PlotterTestSupport.h"
#include "tests/support/PointerMove.h"

#include "app/window/Icons.h"
#include "editor/GCodeEditor.h"
#include "highlight/Highlighter.h"
#include "plot/OpenGLPanel.h"
#include "tests/support/WaitFor.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QSplitter>
#include <QStatusBar>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

#include <xcb/xcb.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <string>

namespace {

struct TActionRow
{
    const char* name;
    const char* category;
    const char* caption;
    const char* shortcut;
    bool icon;
    const char* toolTip;
    const char* statusTip;
};

const TActionRow kActionTable[] = {
    {"FileNew1", "File", "New", "", true, "", ""},
    {"FileOpen1", "File", "&Open...", "Ctrl+O", true, "Open", "Opens an existing file"},
    {"FileSave1", "File", "Save", "Ctrl+S", true, "Save", "Saves active file"},
    {"FileSaveAs1", "File", "Save &As...", "", true, "Save As",
     "Saves the active file with a new name"},
    {"EditorDisplaySyntax", "Editor", "Display Syntax", "", false, "Display Syntax",
     "Displays RS274 syntax highlighting in the editor"},
    {"EditCut1", "Edit", "Cu&t", "Ctrl+X", true, "Cut",
     "Cuts the selection and puts it on the Clipboard"},
    {"EditCopy1", "Edit", "&Copy", "Ctrl+C", true, "Copy",
     "Copies the selection and puts it on the Clipboard"},
    {"EditPaste1", "Edit", "&Paste", "Ctrl+V", true, "Paste", "Inserts Clipboard contents"},
    {"PlotterRefresh", "Plotter", "Refresh from Code", "", true, "Refresh",
     "Refreshes the drawing from the code editor"},
    {"PlotterResetOrigin", "Plotter", "Reset To Origin", "", false, "Reset Drawing ",
     " Resets the rotation, scaling and translation of drawing"},
    {"DisplayColors1", "Plotter", "Colors...", "", true, "Colors ",
     " Sets drawing colors used in the plotter"},
    {"EditSelectAll1", "Edit", "Select &All", "Ctrl+A", false, "Select All",
     "Selects the entire document"},
    {"EditUndo1", "Edit", "&Undo", "Ctrl+Z", true, "Undo", "Reverts the last action"},
    {"EditDelete1", "Edit", "&Delete", "Del", true, "Delete", "Erases the selection"},
    {"FileExit1", "File", "E&xit", "", true, "Exit", "Quits the application"},
    {"EditorColors", "Editor", "Colors...", "", true, "Colors",
     "Set the colors used for syntax highlighting"},
};

class TPlotterActionsTest : public TPlotterTest
{
protected:
    QStringList ItemCaptions(const QMenu& menu) const
    {
        QStringList captions;
        for (const QAction* item : menu.actions())
            captions << (item->isSeparator() ? QStringLiteral("-")
                                             : item->text().section(QLatin1Char('\t'), 0, 0));
        return captions;
    }

    QMenu& MenuNamed(const char* name) const
    {
        auto* menu = window->findChild<QMenu*>(QString::fromLatin1(name));
        EXPECT_NE(menu, nullptr) << name;
        return *menu;
    }
};

TEST_F(TPlotterActionsTest, ActionsAreTheTableInItsOrder)
{
    QIcon::setThemeName(QStringLiteral("zorvit-no-such-theme"));  // icons of our own only
    MakeWindow();
    QStringList names;
    for (const QAction* action :
         window->findChildren<QAction*>(QString(), Qt::FindDirectChildrenOnly))
        if (!action->objectName().isEmpty())
            names << action->objectName();
    QStringList expected;
    for (const TActionRow& row : kActionTable)
        expected << row.name;
    // The table's actions come first, in its order; added commands follow them.
    EXPECT_EQ(names.mid(0, expected.size()), expected);

    for (const TActionRow& row : kActionTable) {
        SCOPED_TRACE(row.name);
        const QAction& action = ActionNamed(row.name);
        EXPECT_EQ(action.property("category").toString(), row.category);
        EXPECT_EQ(action.text(), row.caption);
        EXPECT_EQ(action.shortcut(), QKeySequence(QString::fromLatin1(row.shortcut)));
        EXPECT_EQ(action.statusTip(), row.statusTip);
        if (*row.toolTip != '\0') {
            EXPECT_EQ(action.toolTip(), row.toolTip);
        }
        EXPECT_EQ(!action.icon().isNull(), row.icon);
        if (row.icon) {
            const QImage image = action.icon().pixmap(kIconSizePx, kIconSizePx).toImage();
            bool painted = false;
            for (int y = 0; y < image.height() && !painted; ++y)
                for (int x = 0; x < image.width() && !painted; ++x)
                    painted = qAlpha(image.pixel(x, y)) != 0;
            EXPECT_TRUE(painted) << "an icon shows without a desktop theme";
        }
    }
    EXPECT_TRUE(ActionNamed("EditorDisplaySyntax").isCheckable());
    EXPECT_TRUE(ActionNamed("EditorDisplaySyntax").isChecked());
    QIcon::setThemeName(QString());
}

TEST_F(TPlotterActionsTest, MenusShowTheirItemsAndRunTheActions)
{
    MakeWindow();
    const QStringList bar = [&] {
        QStringList titles;
        for (const QAction* menu : window->menuBar()->actions())
            titles << menu->text();
        return titles;
    }();
    // Menus added later follow these.
    EXPECT_EQ(bar.mid(0, 4), QStringList({"&File", "&Edit", "E&ditor", "&Plotter"}));
    // Items added to File and Edit follow the specified ones.
    EXPECT_EQ(ItemCaptions(MenuNamed("mnuFile")).mid(0, 7),
              QStringList({"&New", "&Open...", "-", "&Save", "Save &As...", "-", "E&xit"}));
    EXPECT_EQ(
        ItemCaptions(MenuNamed("mnuEdit")).mid(0, 8),
        QStringList({"&Undo", "-", "Cu&t", "&Copy", "&Paste", "&Delete", "-", "Select &All"}));
    EXPECT_EQ(ItemCaptions(MenuNamed("mnuEditor")), QStringList({"&Display Syntax", "&Colors..."}));
    // Items added later follow these.
    EXPECT_EQ(ItemCaptions(MenuNamed("mnuPlotter")).mid(0, 3),
              QStringList({"&Refresh from Code", "R&eset To Origin", "&Colors..."}));

    // Shortcuts show beside the items; each item runs its action.
    auto* open = window->findChild<QAction*>("itmFileOpen");
    ASSERT_NE(open, nullptr);
    EXPECT_TRUE(open->text().endsWith(QKeySequence("Ctrl+O").toString(QKeySequence::NativeText)));
    const std::pair<const char*, const char*> wiring[] = {
        {"itmFileOpen", "FileOpen1"},
        {"itmEditSelectAll", "EditSelectAll1"},
        {"itmEditorDisplaySyntax", "EditorDisplaySyntax"},
        {"itmPlotterRefresh", "PlotterRefresh"},
        {"itmSettingsResetDrawing", "PlotterResetOrigin"},
        {"itmSettingsColors", "DisplayColors1"},
        {"itmFileSaveAs", "FileSaveAs1"}};
    dialogs->openNames.push_back(QString());
    dialogs->saveNames.push_back(QString());
    dialogs->onExecute = [](QDialog&) { return false; };
    for (const auto& [itemName, actionName] : wiring) {
        SCOPED_TRACE(itemName);
        QSignalSpy ran(&ActionNamed(actionName), &QAction::triggered);
        window->findChild<QAction*>(itemName)->trigger();
        EXPECT_EQ(ran.count(), 1);
    }
    EXPECT_EQ(dialogs->openDialogs, 1);
    EXPECT_EQ(dialogs->saveDialogs, 1);
}

TEST_F(TPlotterActionsTest, ToolBarAndContextMenu)
{
    MakeWindow();
    auto* toolBar = window->findChild<QToolBar*>("ToolBar1");
    ASSERT_NE(toolBar, nullptr);
    QStringList tools;
    for (const QAction* action : toolBar->actions())
        tools << (action->isSeparator() ? QStringLiteral("-") : action->objectName());
    // Buttons added later follow these.
    EXPECT_EQ(tools.mid(0, 5),
              QStringList({"FileNew1", "FileOpen1", "FileSave1", "-", "PlotterRefresh"}));
    EXPECT_EQ(toolBar->toolButtonStyle(), Qt::ToolButtonIconOnly);

    QMenu& popup = MenuNamed("pmuGCode");
    EXPECT_EQ(window->Editor().ContextMenu(), &popup);
    QStringList names;
    for (const QAction* item : popup.actions())
        names << item->objectName();
    EXPECT_EQ(names, QStringList({"pmuUndo", "N2", "pmuCut", "pmuCopy", "pmuPaste", "pmuDelete",
                                  "N1", "pmuSelectAll"}));
    EXPECT_EQ(ItemCaptions(popup), QStringList({"&Undo", "-", "Cu&t", "&Copy", "&Paste", "&Delete",
                                                "-", "Select &All"}));

    window->Editor().setText("G0 X1");
    window->findChild<QAction*>("pmuSelectAll")->trigger();
    EXPECT_EQ(window->Editor().selectedText(), "G0 X1");
    window->findChild<QAction*>("pmuDelete")->trigger();
    EXPECT_TRUE(window->Editor().text().isEmpty());
}

TEST_F(TPlotterActionsTest, UpdateRulesFollowEditorAndClipboard)
{
    MakeWindow();
    TGCodeEditor& editor = window->Editor();
    QGuiApplication::clipboard()->clear();
    EXPECT_SOON(!ActionNamed("EditPaste1").isEnabled());
    for (const char* name : {"FileSave1", "EditUndo1", "EditCut1", "EditCopy1", "EditDelete1"})
        EXPECT_FALSE(ActionNamed(name).isEnabled()) << name;
    for (const char* name : {"FileNew1", "FileOpen1", "FileSaveAs1", "PlotterRefresh",
                             "EditSelectAll1", "FileExit1", "DisplayColors1", "EditorColors"})
        EXPECT_TRUE(ActionNamed(name).isEnabled()) << name;

    editor.insertAt("G0 X1", 0, 0);
    EXPECT_TRUE(ActionNamed("FileSave1").isEnabled());
    EXPECT_TRUE(ActionNamed("EditUndo1").isEnabled());
    EXPECT_FALSE(ActionNamed("EditCopy1").isEnabled());

    editor.setSelection(0, 0, 0, 2);
    for (const char* name : {"EditCut1", "EditCopy1", "EditDelete1"})
        EXPECT_TRUE(ActionNamed(name).isEnabled()) << name;
    ActionNamed("EditCopy1").trigger();
    EXPECT_SOON(QGuiApplication::clipboard()->text() == QStringLiteral("G0"));
    EXPECT_TRUE(ActionNamed("EditPaste1").isEnabled());

    ActionNamed("EditCut1").trigger();
    EXPECT_EQ(editor.text(), " X1");
    EXPECT_FALSE(ActionNamed("EditCut1").isEnabled());
    ActionNamed("EditPaste1").trigger();
    EXPECT_EQ(editor.text(), "G0 X1");

    ActionNamed("EditUndo1").trigger();
    ActionNamed("EditUndo1").trigger();
    ActionNamed("EditUndo1").trigger();
    EXPECT_TRUE(editor.text().isEmpty());
    EXPECT_FALSE(ActionNamed("EditUndo1").isEnabled());

    editor.SetModified(false);
    EXPECT_FALSE(ActionNamed("FileSave1").isEnabled());
}

TEST_F(TPlotterActionsTest, DelWithASelectionRunsDeleteAndWithoutOneDeletesTheNextCharacter)
{
    MakeWindow();
    ShowAndFocusEditor();
    TGCodeEditor& editor = window->Editor();
    editor.setText("G0 X12");
    QSignalSpy deleted(&ActionNamed("EditDelete1"), &QAction::triggered);

    editor.setSelection(0, 3, 0, 5);
    QTest::keyClick(&editor, Qt::Key_Delete);
    EXPECT_EQ(editor.text(), "G0 2");
    EXPECT_EQ(deleted.count(), 1);

    editor.setCursorPosition(0, 0);
    QTest::keyClick(&editor, Qt::Key_Delete);
    EXPECT_EQ(editor.text(), "0 2");
    EXPECT_EQ(deleted.count(), 1) << "the disabled action leaves the key to the editor";
}

TEST_F(TPlotterActionsTest, ShortcutsRunTheirActionsFromTheEditor)
{
    MakeWindow();
    ShowAndFocusEditor();
    TGCodeEditor& editor = window->Editor();
    editor.setText("G1 Y5");
    QSignalSpy selectAll(&ActionNamed("EditSelectAll1"), &QAction::triggered);
    QSignalSpy copy(&ActionNamed("EditCopy1"), &QAction::triggered);
    QTest::keyClick(&editor, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(selectAll.count(), 1);
    QTest::keyClick(&editor, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(copy.count(), 1);
    EXPECT_SOON(QGuiApplication::clipboard()->text() == QStringLiteral("G1 Y5"));

    dialogs->saveNames.push_back(QString());
    QTest::keyClick(&editor, Qt::Key_X);  // replaces the selection: modified
    QTest::keyClick(&editor, Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(dialogs->saveDialogs, 1) << "Ctrl+S saves, asking for a name";
}

TEST_F(TPlotterActionsTest, TheStatusBarShowsTheLongHint)
{
    MakeWindow();
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    const auto hover = [&](QMenu& menu, const char* itemName) {
        QAction* item = window->findChild<QAction*>(itemName);
        MovePointerTo(menu, menu.actionGeometry(item).center());
        EXPECT_SOON(menu.activeAction() == item);
    };
    QMenu& plotter = MenuNamed("mnuPlotter");
    window->menuBar()->setActiveAction(plotter.menuAction());
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&plotter));
    hover(plotter, "itmSettingsResetDrawing");
    EXPECT_EQ(window->statusBar()->currentMessage(),
              " Resets the rotation, scaling and translation of drawing");
    hover(plotter, "itmPlotterRefresh");
    EXPECT_EQ(window->statusBar()->currentMessage(), "Refreshes the drawing from the code editor");
    plotter.hide();

    // The editor's context menu is a window of its own; its hints reach the status bar too.
    QMenu& popup = MenuNamed("pmuGCode");
    popup.popup(window->mapToGlobal(QPoint(40, 80)));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&popup));
    hover(popup, "pmuSelectAll");
    EXPECT_EQ(window->statusBar()->currentMessage(), "Selects the entire document");
    popup.hide();

    auto* toolBar = window->findChild<QToolBar*>("ToolBar1");
    QWidget* openButton = toolBar->widgetForAction(&ActionNamed("FileOpen1"));
    ASSERT_NE(openButton, nullptr);
    QEvent enter(QEvent::Enter);
    QApplication::sendEvent(openButton, &enter);
    EXPECT_EQ(window->statusBar()->currentMessage(), "Opens an existing file");
}

TEST_F(TPlotterActionsTest, DisplaySyntaxSwitchesTheHighlighter)
{
    MakeWindow();
    THighlighter& highlighter = window->Highlighter();
    ASSERT_EQ(&highlighter, window->Editor().Highlighter()) << "the editor's own highlighter";
    ASSERT_TRUE(highlighter.Enabled());
    window->findChild<QAction*>("itmEditorDisplaySyntax")->trigger();
    EXPECT_FALSE(highlighter.Enabled());
    EXPECT_FALSE(ActionNamed("EditorDisplaySyntax").isChecked());
    EXPECT_FALSE(window->findChild<QAction*>("itmEditorDisplaySyntax")->isChecked());
    ActionNamed("EditorDisplaySyntax").trigger();
    EXPECT_TRUE(highlighter.Enabled());
    EXPECT_TRUE(ActionNamed("EditorDisplaySyntax").isChecked());
}

TEST_F(TPlotterActionsTest, LayoutOfTheWindow)
{
    MakeWindow();
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    EXPECT_EQ(window->width(), 965);
    EXPECT_EQ(window->height() - window->menuBar()->height(), 591);

    auto* pages = window->findChild<QTabWidget*>("pgcGCode");
    ASSERT_NE(pages, nullptr);
    EXPECT_EQ(pages->width(), 153);
    ASSERT_EQ(pages->count(), 1);
    EXPECT_EQ(pages->widget(0)->objectName(), "tabOriginal");
    EXPECT_EQ(pages->tabText(0), "Original");
    EXPECT_TRUE(pages->widget(0)->isAncestorOf(&window->Editor()));
    EXPECT_EQ(window->Editor().objectName(), "memGCode");

    auto* splitter = window->findChild<QSplitter*>("Splitter2");
    auto* pane = window->findChild<QWidget*>("pnlOpenGL");
    ASSERT_NE(splitter, nullptr);
    ASSERT_NE(pane, nullptr);
    EXPECT_EQ(splitter->widget(0), pages);
    EXPECT_EQ(splitter->widget(1), pane);
    EXPECT_EQ(window->Panel().parentWidget(), pane);
    EXPECT_EQ(window->Panel().size(), pane->contentsRect().size()) << "the panel fills its pane";
    EXPECT_TRUE(window->findChild<QWidget*>("pnlTop")->isAncestorOf(splitter));
}

// Editor > Colors shows the highlighter colours dialog for the editor's highlighter; its OK
// switches highlighting back on, and the check mark of Display Syntax follows.
TEST_F(TPlotterActionsTest, EditorColorsReachesTheEditorsHighlighter)
{
    MakeWindow();
    window->show();
    ActionNamed("EditorDisplaySyntax").trigger();
    ASSERT_FALSE(window->Highlighter().Enabled());

    const auto answer = [](const char* buttonName) {
        auto* poll = new QTimer(qApp);
        poll->setInterval(10);
        QObject::connect(poll, &QTimer::timeout, poll, [poll, buttonName] {
            QWidget* dialog = QApplication::activeModalWidget();
            if (dialog == nullptr || dialog->objectName() != "dlgSynColor" || !dialog->isVisible())
                return;
            poll->deleteLater();
            poll->stop();
            QTest::mouseClick(dialog->findChild<QPushButton*>(buttonName), Qt::LeftButton);
        });
        poll->start();
    };
    answer("Button2");
    window->findChild<QAction*>("itmEditorColors")->trigger();
    EXPECT_FALSE(window->Highlighter().Enabled()) << "Cancel leaves highlighting off";

    answer("Button1");
    ActionNamed("EditorColors").trigger();
    EXPECT_TRUE(window->Highlighter().Enabled());
    EXPECT_TRUE(ActionNamed("EditorDisplaySyntax").isChecked());
}

// The error box adds a final "." after a character that sorts after ".".
class TErrorTextTest : public TPlotterTest,
                       public ::testing::WithParamInterface<std::pair<const char*, const char*>>
{};

TEST_P(TErrorTextTest, FinalPeriod)
{
    MakeWindow();
    window->ShowErrorMessage(QString::fromUtf8(GetParam().first));
    ASSERT_EQ(dialogs->errors.size(), 1);
    EXPECT_EQ(dialogs->errors[0], QString::fromUtf8(GetParam().second));
}

INSTANTIATE_TEST_SUITE_P(Messages, TErrorTextTest,
                         ::testing::Values(std::pair{"Number expected", "Number expected."},
                                           std::pair{"Line 5", "Line 5."},
                                           std::pair{"Done.", "Done."},
                                           std::pair{"Really!", "Really!"}, std::pair{"(x)", "(x)"},
                                           std::pair{"a/", "a/."},
                                           std::pair{"90\xC2\xB0", "90\xC2\xB0."},
                                           std::pair{"", ""}));

// The real question and error boxes behind the question interface.
class TMessageBoxTest : public ::testing::Test
{
protected:
    // Runs inspect on the box once it shows, then presses key on it.
    void WhenShown(std::function<void(QMessageBox&)> inspect, Qt::Key key)
    {
        auto* poll = new QTimer(&owner);
        poll->setInterval(10);
        QObject::connect(poll, &QTimer::timeout, poll, [poll, inspect, key] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (box == nullptr || !box->isVisible())
                return;
            poll->stop();
            inspect(*box);
            QTest::keyClick(box, key);
        });
        poll->start();
    }

    static QStringList ButtonTexts(const QMessageBox& box)
    {
        QStringList texts;
        for (const QMessageBox::StandardButton b :
             {QMessageBox::Yes, QMessageBox::No, QMessageBox::Cancel, QMessageBox::Ok})
            if (box.button(b) != nullptr)
                texts << box.button(b)->text();
        return texts;
    }

    // A text property of the window's native window on the X server.
    static std::string XWindowText(QWidget& window, const char* property)
    {
        auto* x11 = qApp->nativeInterface<QNativeInterface::QX11Application>();
        if (x11 == nullptr) {
            ADD_FAILURE() << "not on X";
            return {};
        }
        xcb_connection_t* connection = x11->connection();
        const auto free = [](void* reply) { std::free(reply); };
        const std::unique_ptr<xcb_intern_atom_reply_t, decltype(free)> atom(
            xcb_intern_atom_reply(connection,
                                  xcb_intern_atom(connection, 1,
                                                  static_cast<std::uint16_t>(std::strlen(property)),
                                                  property),
                                  nullptr),
            free);
        if (!atom || atom->atom == XCB_ATOM_NONE)
            return "(no such property)";
        const std::unique_ptr<xcb_get_property_reply_t, decltype(free)> reply(
            xcb_get_property_reply(connection,
                                   xcb_get_property(connection, 0,
                                                    static_cast<xcb_window_t>(window.winId()),
                                                    atom->atom, XCB_GET_PROPERTY_TYPE_ANY, 0, 1024),
                                   nullptr),
            free);
        if (!reply)
            return "(unreadable)";
        const auto* text = static_cast<const char*>(xcb_get_property_value(reply.get()));
        return std::string(text,
                           static_cast<std::size_t>(xcb_get_property_value_length(reply.get())));
    }

    QWidget owner;
    TUserDialogs dialogs{&owner};
};

TEST_F(TMessageBoxTest, QuestionWithCancel)
{
    WhenShown(
        [](QMessageBox& box) {
            EXPECT_EQ(box.windowTitle(), "Confirm");
            EXPECT_EQ(box.text(), "Save changes?");
            EXPECT_EQ(box.icon(), QMessageBox::Question);
            EXPECT_EQ(ButtonTexts(box), QStringList({"&Yes", "&No", "Cancel"}));
            EXPECT_EQ(box.defaultButton(), box.button(QMessageBox::Yes));
        },
        Qt::Key_Escape);
    EXPECT_EQ(dialogs.Ask("Save changes?", true), TAnswer::Cancel);

    WhenShown([](QMessageBox&) {}, Qt::Key_Return);
    EXPECT_EQ(dialogs.Ask("Save changes?", true), TAnswer::Yes);
}

TEST_F(TMessageBoxTest, QuestionWithoutCancelAnswersNoOnEscape)
{
    WhenShown(
        [](QMessageBox& box) {
            EXPECT_EQ(ButtonTexts(box), QStringList({"&Yes", "&No"}));
        },
        Qt::Key_Escape);
    EXPECT_EQ(dialogs.Ask("Reload?", false), TAnswer::No);
}

TEST_F(TMessageBoxTest, ErrorBoxHasNoCaption)
{
    WhenShown(
        [](QMessageBox& box) {
            EXPECT_TRUE(box.windowTitle().isEmpty());
            // What the window manager shows: Qt itself would name the box after the program.
            EXPECT_EQ(XWindowText(box, "_NET_WM_NAME"), "");
            EXPECT_EQ(XWindowText(box, "WM_NAME"), "");
            EXPECT_EQ(box.icon(), QMessageBox::Critical);
            EXPECT_EQ(box.text(), "Line 3: Number expected.");
            EXPECT_EQ(box.buttons().size(), 1);
            EXPECT_NE(box.button(QMessageBox::Ok), nullptr);
        },
        Qt::Key_Return);
    dialogs.ShowError("Line 3: Number expected.");
}

}  // namespace
