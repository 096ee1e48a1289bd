// The main window's action list and menu table, and the actions and menus made from them.

#include "app/window/Plotter.h"

#include "app/window/Icons.h"
#include "app/window/MenuItem.h"
#include "app/window/RecentFilesMenu.h"
#include "app/window/ViewIcons.h"
#include "editor/GCodeEditor.h"
#include "plot/OpenGLPanel.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>

namespace {

constexpr int kNoIcon = -1;

QString ShortHint(const QString& hint)
{
    const auto bar = hint.indexOf(QLatin1Char('|'));
    return bar < 0 ? hint : hint.left(bar);
}

QString LongHint(const QString& hint)
{
    const auto bar = hint.indexOf(QLatin1Char('|'));
    return bar < 0 ? hint : hint.mid(bar + 1);
}

}  // namespace

struct TGLPlotter::TActionEntry
{
    QAction* TGLPlotter::*member;  // where the window keeps the action
    const char* name;
    const char* category;
    const char* caption;
    const char* shortcut;  // portable key text, or nullptr
    int icon;              // image-list slot, or kNoIcon
    const char* hint;      // short part, "|", long part
    bool checkable;
    void (TGLPlotter::*execute)();
};

// The action list, in its order.
const TGLPlotter::TActionEntry TGLPlotter::kActions[] = {
    {&TGLPlotter::FileNew1, "FileNew1", "File", "New", nullptr, 6, "", false,
     &TGLPlotter::FileNew1Execute},
    {&TGLPlotter::FileOpen1, "FileOpen1", "File", "&Open...", "Ctrl+O", 7,
     "Open|Opens an existing file", false, &TGLPlotter::FileOpen1Execute},
    {&TGLPlotter::FileSave1, "FileSave1", "File", "Save", "Ctrl+S", 9, "Save|Saves active file",
     false, &TGLPlotter::itmFileSaveExecute},
    {&TGLPlotter::FileSaveAs1, "FileSaveAs1", "File", "Save &As...", nullptr, 10,
     "Save As|Saves the active file with a new name", false, &TGLPlotter::FileSaveAs1Execute},
    {&TGLPlotter::EditorDisplaySyntax, "EditorDisplaySyntax", "Editor", "Display Syntax", nullptr,
     kNoIcon, "Display Syntax|Displays RS274 syntax highlighting in the editor", true,
     &TGLPlotter::EditorDisplaySyntaxExecute},
    {&TGLPlotter::EditCut1, "EditCut1", "Edit", "Cu&t", "Ctrl+X", 3,
     "Cut|Cuts the selection and puts it on the Clipboard", false, &TGLPlotter::itmEditCutExecute},
    {&TGLPlotter::EditCopy1, "EditCopy1", "Edit", "&Copy", "Ctrl+C", 2,
     "Copy|Copies the selection and puts it on the Clipboard", false,
     &TGLPlotter::itmEditCopyExecute},
    {&TGLPlotter::EditPaste1, "EditPaste1", "Edit", "&Paste", "Ctrl+V", 5,
     "Paste|Inserts Clipboard contents", false, &TGLPlotter::itmEditPasteExecute},
    {&TGLPlotter::PlotterRefresh, "PlotterRefresh", "Plotter", "Refresh from Code", nullptr, 13,
     "Refresh|Refreshes the drawing from the code editor", false,
     &TGLPlotter::PlotterRefreshExecute},
    {&TGLPlotter::PlotterResetOrigin, "PlotterResetOrigin", "Plotter", "Reset To Origin", nullptr,
     kNoIcon, "Reset Drawing | Resets the rotation, scaling and translation of drawing", false,
     &TGLPlotter::itmSettingsResetDrawingExecute},
    {&TGLPlotter::DisplayColors1, "DisplayColors1", "Plotter", "Colors...", nullptr, 14,
     "Colors | Sets drawing colors used in the plotter", false,
     &TGLPlotter::itmSettingsColorsExecute},
    {&TGLPlotter::EditSelectAll1, "EditSelectAll1", "Edit", "Select &All", "Ctrl+A", kNoIcon,
     "Select All|Selects the entire document", false, &TGLPlotter::itmEditSelectAllExecute},
    {&TGLPlotter::EditUndo1, "EditUndo1", "Edit", "&Undo", "Ctrl+Z", 0,
     "Undo|Reverts the last action", false, &TGLPlotter::itmEditUndoExecute},
    {&TGLPlotter::EditDelete1, "EditDelete1", "Edit", "&Delete", "Del", 1,
     "Delete|Erases the selection", false, &TGLPlotter::itmEditDeleteExecute},
    {&TGLPlotter::FileExit1, "FileExit1", "File", "E&xit", nullptr, 12,
     "Exit|Quits the application", false, &TGLPlotter::FileExit1Execute},
    {&TGLPlotter::EditorColors, "EditorColors", "Editor", "Colors...", nullptr, 14,
     "Colors|Set the colors used for syntax highlighting", false, &TGLPlotter::EditorColorsExecute},
    {&TGLPlotter::ViewFitToView, "ViewFitToView", "View", "Fit to View", "F", kNoIcon,
     "Fit to View|Zooms and pans so that the whole tool path is in view", false,
     &TGLPlotter::ViewFitToViewExecute},
    {&TGLPlotter::ViewTop, "ViewTop", "View", "Top", "1", kNoIcon,
     "Top|Shows the tool path from above", false, &TGLPlotter::ViewTopExecute},
    {&TGLPlotter::ViewFront, "ViewFront", "View", "Front", "2", kNoIcon,
     "Front|Shows the tool path from the front", false, &TGLPlotter::ViewFrontExecute},
    {&TGLPlotter::ViewRight, "ViewRight", "View", "Right", "3", kNoIcon,
     "Right|Shows the tool path from the right", false, &TGLPlotter::ViewRightExecute},
    {&TGLPlotter::ViewIsometric, "ViewIsometric", "View", "Isometric", "4", kNoIcon,
     "Isometric|Shows the tool path from above, front and right at once", false,
     &TGLPlotter::ViewIsometricExecute},
    {&TGLPlotter::ViewHighlightCaretMove, "ViewHighlightCaretMove", "View", "Highlight Caret Move",
     nullptr, kNoIcon,
     "Highlight Caret Move|Highlights in the plot the move of the line the caret is on", true,
     &TGLPlotter::ViewHighlightCaretMoveExecute},
    {&TGLPlotter::ViewColourByMotion, "ViewColourByMotion", "View", "Colour by Motion Mode",
     nullptr, kNoIcon, "Colour by Motion Mode|Draws each move in the colour of its motion mode",
     true, &TGLPlotter::ViewColourByExecute},
    {&TGLPlotter::ViewColourByFeed, "ViewColourByFeed", "View", "Colour by Feed Rate", nullptr,
     kNoIcon, "Colour by Feed Rate|Draws each move in a colour for its feed rate", true,
     &TGLPlotter::ViewColourByExecute},
    {&TGLPlotter::ViewColourByDepth, "ViewColourByDepth", "View", "Colour by Z Depth", nullptr,
     kNoIcon, "Colour by Z Depth|Draws each move in a colour for its depth", true,
     &TGLPlotter::ViewColourByExecute},
    {&TGLPlotter::PlotterLenient, "PlotterLenient", "Plotter", "Lenient Reading", nullptr, kNoIcon,
     "Lenient Reading|Reads ';' comments, parameters, expressions and O-word lines, skipping what "
     "cannot be plotted",
     true, &TGLPlotter::PlotterReadingExecute},
    {&TGLPlotter::PlotterMachinePath, "PlotterMachinePath", "Plotter", "Machine Path", nullptr,
     kNoIcon,
     "Machine Path|Draws what a machine running the program does: arcs, units, offsets, cycles and "
     "subroutines",
     true, &TGLPlotter::PlotterReadingExecute},
    {&TGLPlotter::PlotterInchDefault, "PlotterInchDefault", "Plotter",
     "Inches When a Program Names No Units", nullptr, kNoIcon,
     "Units When a Program Names None|Reads the machine path of a program without G20 or G21 in "
     "inches, not millimetres",
     true, &TGLPlotter::PlotterReadingExecute},
    {&TGLPlotter::ViewProgramInfo, "ViewProgramInfo", "View", "Program Info...", nullptr, kNoIcon,
     "Program Info|Shows what is in the program as the plot reads it", false,
     &TGLPlotter::ViewProgramInfoExecute},
    {&TGLPlotter::EditRedo1, "EditRedo1", "Edit", "&Redo", "Ctrl+Y; Ctrl+Shift+Z", kNoIcon,
     "Redo|Makes the last undone action again", false, &TGLPlotter::EditRedo1Execute},
    {&TGLPlotter::EditFind1, "EditFind1", "Edit", "&Find...", "Ctrl+F", kNoIcon,
     "Find|Finds text in the editor", false, &TGLPlotter::EditFind1Execute},
    {&TGLPlotter::EditFindNext1, "EditFindNext1", "Edit", "Find &Next", "F3", kNoIcon,
     "Find Next|Finds the next place of the text searched for", false,
     &TGLPlotter::EditFindNext1Execute},
    {&TGLPlotter::EditFindPrevious1, "EditFindPrevious1", "Edit", "Find Pre&vious", "Shift+F3",
     kNoIcon, "Find Previous|Finds the previous place of the text searched for", false,
     &TGLPlotter::EditFindPrevious1Execute},
    {&TGLPlotter::EditReplace1, "EditReplace1", "Edit", "R&eplace...", "Ctrl+H", kNoIcon,
     "Replace|Replaces text in the editor", false, &TGLPlotter::EditReplace1Execute},
    {&TGLPlotter::EditGoToLine1, "EditGoToLine1", "Edit", "&Go to Line...", "Ctrl+G", kNoIcon,
     "Go to Line|Moves the caret to the line of a number", false,
     &TGLPlotter::EditGoToLine1Execute},
    {&TGLPlotter::FileClearRecent1, "FileClearRecent1", "File", "&Clear List", nullptr, kNoIcon,
     "Clear List|Empties the list of recent files", false, &TGLPlotter::FileClearRecent1Execute},
    {&TGLPlotter::HelpAbout, "HelpAbout", "Help", "About Zorvit...", nullptr, kNoIcon,
     "About|Shows the version, the licence and what Zorvit is", false,
     &TGLPlotter::HelpAboutExecute},
    {&TGLPlotter::EditRenumber1, "EditRenumber1", "Edit", "Re&number...", nullptr, kNoIcon,
     "Renumber|Numbers the blocks with N words, or removes them", false,
     &TGLPlotter::EditRenumber1Execute},
    {&TGLPlotter::EditTidy1, "EditTidy1", "Edit", "T&idy...", nullptr, kNoIcon,
     "Tidy|Tidies the blanks, case, comments and trailing blanks of the program", false,
     &TGLPlotter::EditTidy1Execute},
    {&TGLPlotter::EditTransform1, "EditTransform1", "Edit", "Trans&form...", nullptr, kNoIcon,
     "Transform|Moves, turns, mirrors or scales the tool path of the program or the selected lines",
     false, &TGLPlotter::EditTransform1Execute},
    {&TGLPlotter::FileCompare1, "FileCompare1", "File", "Co&mpare With...", nullptr, kNoIcon,
     "Compare With|Shows the program and another file side by side, with their differences", false,
     &TGLPlotter::FileCompare1Execute},
    {&TGLPlotter::ViewPlayback, "ViewPlayback", "View", "Playback", nullptr, kNoIcon,
     "Playback|Plays the program back under the plot, with the machine's state at the tool", true,
     &TGLPlotter::ViewPlaybackExecute},
};

void TGLPlotter::CreateActions()
{
    for (const TActionEntry& entry : kActions) {
        auto* action = new QAction(QString::fromLatin1(entry.caption), this);
        action->setObjectName(QString::fromLatin1(entry.name));
        action->setProperty("category", QString::fromLatin1(entry.category));
        if (entry.shortcut != nullptr)
            action->setShortcuts(QKeySequence::listFromString(QString::fromLatin1(entry.shortcut),
                                                              QKeySequence::PortableText));
        if (entry.icon != kNoIcon)
            action->setIcon(ActionIcon(entry.icon));
        const QString hint = QString::fromLatin1(entry.hint);
        action->setToolTip(ShortHint(hint));
        action->setStatusTip(LongHint(hint));
        action->setCheckable(entry.checkable);
        action->setChecked(entry.checkable);
        const auto execute = entry.execute;
        connect(action, &QAction::triggered, this,
                [this, action, execute] { RunAction(*action, execute); });
        // Shortcuts work wherever the focus is inside the window.
        addAction(action);
        this->*entry.member = action;
    }
    // Strict reading of the transcription in millimetres is the default; the settings may
    // change it.
    for (QAction* action : {PlotterLenient, PlotterMachinePath, PlotterInchDefault})
        action->setChecked(false);
    ViewPlayback->setChecked(false);  // the bar shows when asked for
}

// The menus, their items and the pop-up menu of the editor, in order. An item without a caption
// shows its action's caption.
struct TGLPlotter::TMenuEntry
{
    enum TKind { Menu, PopupMenu, Item, Separator, RecentFiles };
    TKind kind;
    const char* name;     // object name; nullptr for an unnamed separator
    const char* caption;  // of a menu or an item
    QAction* TGLPlotter::*action = nullptr;
};

const TGLPlotter::TMenuEntry TGLPlotter::kMenus[] = {
    {TMenuEntry::Menu, "mnuFile", "&File"},
    {TMenuEntry::Item, "itmFileNew", "&New", &TGLPlotter::FileNew1},
    {TMenuEntry::Item, "itmFileOpen", nullptr, &TGLPlotter::FileOpen1},
    {TMenuEntry::Separator, nullptr, nullptr},
    {TMenuEntry::Item, "itmFileSave", "&Save", &TGLPlotter::FileSave1},
    {TMenuEntry::Item, "itmFileSaveAs", nullptr, &TGLPlotter::FileSaveAs1},
    {TMenuEntry::Separator, nullptr, nullptr},
    {TMenuEntry::Item, "itmFileExit", nullptr, &TGLPlotter::FileExit1},
    {TMenuEntry::Separator, nullptr, nullptr},
    {TMenuEntry::RecentFiles, nullptr, nullptr, &TGLPlotter::FileClearRecent1},
    {TMenuEntry::Separator, nullptr, nullptr},
    {TMenuEntry::Item, "itmFileCompare", nullptr, &TGLPlotter::FileCompare1},

    {TMenuEntry::Menu, "mnuEdit", "&Edit"},
    {TMenuEntry::Item, "itmEditUndo", nullptr, &TGLPlotter::EditUndo1},
    {TMenuEntry::Separator, nullptr, nullptr},
    {TMenuEntry::Item, "itmEditCut", nullptr, &TGLPlotter::EditCut1},
    {TMenuEntry::Item, "itmEditCopy", nullptr, &TGLPlotter::EditCopy1},
    {TMenuEntry::Item, "itmEditPaste", nullptr, &TGLPlotter::EditPaste1},
    {TMenuEntry::Item, "itmEditDelete", nullptr, &TGLPlotter::EditDelete1},
    {TMenuEntry::Separator, nullptr, nullptr},
    {TMenuEntry::Item, "itmEditSelectAll", nullptr, &TGLPlotter::EditSelectAll1},
    {TMenuEntry::Separator, nullptr, nullptr},
    {TMenuEntry::Item, "itmEditRedo", nullptr, &TGLPlotter::EditRedo1},
    {TMenuEntry::Separator, nullptr, nullptr},
    {TMenuEntry::Item, "itmEditFind", nullptr, &TGLPlotter::EditFind1},
    {TMenuEntry::Item, "itmEditFindNext", nullptr, &TGLPlotter::EditFindNext1},
    {TMenuEntry::Item, "itmEditFindPrevious", nullptr, &TGLPlotter::EditFindPrevious1},
    {TMenuEntry::Item, "itmEditReplace", nullptr, &TGLPlotter::EditReplace1},
    {TMenuEntry::Separator, nullptr, nullptr},
    {TMenuEntry::Item, "itmEditGoToLine", nullptr, &TGLPlotter::EditGoToLine1},
    {TMenuEntry::Separator, nullptr, nullptr},
    {TMenuEntry::Item, "itmEditRenumber", nullptr, &TGLPlotter::EditRenumber1},
    {TMenuEntry::Item, "itmEditTidy", nullptr, &TGLPlotter::EditTidy1},
    {TMenuEntry::Item, "itmEditTransform", nullptr, &TGLPlotter::EditTransform1},

    {TMenuEntry::Menu, "mnuEditor", "E&ditor"},
    {TMenuEntry::Item, "itmEditorDisplaySyntax", "&Display Syntax",
     &TGLPlotter::EditorDisplaySyntax},
    {TMenuEntry::Item, "itmEditorColors", "&Colors...", &TGLPlotter::EditorColors},

    {TMenuEntry::Menu, "mnuPlotter", "&Plotter"},
    {TMenuEntry::Item, "itmPlotterRefresh", "&Refresh from Code", &TGLPlotter::PlotterRefresh},
    {TMenuEntry::Item, "itmSettingsResetDrawing", "R&eset To Origin",
     &TGLPlotter::PlotterResetOrigin},
    {TMenuEntry::Item, "itmSettingsColors", "&Colors...", &TGLPlotter::DisplayColors1},
    {TMenuEntry::Separator, nullptr, nullptr},
    {TMenuEntry::Item, "itmPlotterLenient", "&Lenient Reading", &TGLPlotter::PlotterLenient},
    {TMenuEntry::Item, "itmPlotterMachinePath", "&Machine Path", &TGLPlotter::PlotterMachinePath},
    {TMenuEntry::Item, "itmPlotterInchDefault", "&Inches When a Program Names No Units",
     &TGLPlotter::PlotterInchDefault},

    {TMenuEntry::Menu, "mnuView", "&View"},
    {TMenuEntry::Item, "itmViewFitToView", "&Fit to View", &TGLPlotter::ViewFitToView},
    {TMenuEntry::Separator, nullptr, nullptr},
    {TMenuEntry::Item, "itmViewTop", "&Top", &TGLPlotter::ViewTop},
    {TMenuEntry::Item, "itmViewFront", "Fr&ont", &TGLPlotter::ViewFront},
    {TMenuEntry::Item, "itmViewRight", "&Right", &TGLPlotter::ViewRight},
    {TMenuEntry::Item, "itmViewIsometric", "&Isometric", &TGLPlotter::ViewIsometric},
    {TMenuEntry::Separator, nullptr, nullptr},
    {TMenuEntry::Item, "itmViewHighlightCaretMove", "&Highlight Caret Move",
     &TGLPlotter::ViewHighlightCaretMove},
    {TMenuEntry::Separator, nullptr, nullptr},
    {TMenuEntry::Item, "itmViewColourByMotion", "Colour by &Motion Mode",
     &TGLPlotter::ViewColourByMotion},
    {TMenuEntry::Item, "itmViewColourByFeed", "Colour by F&eed Rate",
     &TGLPlotter::ViewColourByFeed},
    {TMenuEntry::Item, "itmViewColourByDepth", "Colour by &Z Depth",
     &TGLPlotter::ViewColourByDepth},
    {TMenuEntry::Separator, nullptr, nullptr},
    {TMenuEntry::Item, "itmViewProgramInfo", "Program &Info...", &TGLPlotter::ViewProgramInfo},
    {TMenuEntry::Item, "itmViewPlayback", "&Playback", &TGLPlotter::ViewPlayback},

    {TMenuEntry::Menu, "mnuHelp", "&Help"},
    {TMenuEntry::Item, "itmHelpAbout", "&About Zorvit...", &TGLPlotter::HelpAbout},

    {TMenuEntry::PopupMenu, "pmuGCode", nullptr},
    {TMenuEntry::Item, "pmuUndo", nullptr, &TGLPlotter::EditUndo1},
    {TMenuEntry::Separator, "N2", nullptr},
    {TMenuEntry::Item, "pmuCut", nullptr, &TGLPlotter::EditCut1},
    {TMenuEntry::Item, "pmuCopy", nullptr, &TGLPlotter::EditCopy1},
    {TMenuEntry::Item, "pmuPaste", nullptr, &TGLPlotter::EditPaste1},
    {TMenuEntry::Item, "pmuDelete", nullptr, &TGLPlotter::EditDelete1},
    {TMenuEntry::Separator, "N1", nullptr},
    {TMenuEntry::Item, "pmuSelectAll", nullptr, &TGLPlotter::EditSelectAll1},
};

// The tool bar's buttons; nullptr is a separator.
QAction* TGLPlotter::*const TGLPlotter::kToolBar[] = {
    &TGLPlotter::FileNew1,       &TGLPlotter::FileOpen1,     &TGLPlotter::FileSave1, nullptr,
    &TGLPlotter::PlotterRefresh, &TGLPlotter::ViewFitToView,
};

// Keys of the plot alone: typed into the editor they stay text.
QAction* TGLPlotter::*const TGLPlotter::kPlotShortcuts[] = {
    &TGLPlotter::ViewFitToView, &TGLPlotter::ViewTop,       &TGLPlotter::ViewFront,
    &TGLPlotter::ViewRight,     &TGLPlotter::ViewIsometric,
};

void TGLPlotter::CreatePlotShortcuts()
{
    for (QAction* TGLPlotter::*member : kPlotShortcuts) {
        QAction* action = this->*member;
        action->setShortcutContext(Qt::WidgetShortcut);
        OpenGLPanel->addAction(action);
    }
    ViewFitToView->setIcon(FitToViewIcon());
}

void TGLPlotter::CreateMenus()
{
    QMenu* menu = nullptr;
    for (const TMenuEntry& entry : kMenus) {
        switch (entry.kind) {
        case TMenuEntry::Menu:
            menu = menuBar()->addMenu(QString::fromUtf8(entry.caption));
            break;
        case TMenuEntry::PopupMenu:
            menu = pmuGCode = new QMenu(this);
            // The context menu is a window of its own: its hints reach the status bar through
            // the event filter.
            pmuGCode->installEventFilter(this);
            memGCode->SetContextMenu(pmuGCode);
            break;
        case TMenuEntry::Item: {
            QAction& action = *(this->*entry.action);
            AddMenuItem(*menu, entry.name,
                        entry.caption ? QString::fromUtf8(entry.caption) : action.text(), action);
            continue;
        }
        case TMenuEntry::Separator: {
            QAction* separator = menu->addSeparator();
            if (entry.name)
                separator->setObjectName(QString::fromLatin1(entry.name));
            continue;
        }
        case TMenuEntry::RecentFiles: {
            auto* recent = new TRecentFilesMenu(FRecentFiles, *(this->*entry.action), menu);
            connect(recent, &TRecentFilesMenu::FileChosen, this,
                    [this](const QString& name) { RunGuarded([&] { OpenRecentFile(name); }); });
            menu->addMenu(recent);
            continue;
        }
        }
        menu->setObjectName(QString::fromLatin1(entry.name));
        // The states must be right whenever a menu opens.
        connect(menu, &QMenu::aboutToShow, this,
                [this] { RunGuarded([this] { aclMainUpdate(); }); });
    }
}

void TGLPlotter::CreateToolBar()
{
    ToolBar1 = addToolBar(QStringLiteral("ToolBar1"));
    ToolBar1->setObjectName(QStringLiteral("ToolBar1"));
    ToolBar1->setMovable(false);
    ToolBar1->setFloatable(false);
    ToolBar1->setToolButtonStyle(Qt::ToolButtonIconOnly);
    ToolBar1->setIconSize(QSize(kIconSizePx, kIconSizePx));
    for (QAction* TGLPlotter::*member : kToolBar) {
        if (member)
            ToolBar1->addAction(this->*member);
        else
            ToolBar1->addSeparator();
    }
}
