// The main window's action list and the actions made from it.

#include "app/window/Plotter.h"

#include "app/window/Icons.h"

#include <QAction>
#include <QKeySequence>

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

} // namespace

struct TGLPlotter::TActionEntry
{
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
    {"FileNew1", "File", "New", nullptr, 6, "", false, &TGLPlotter::FileNew1Execute},
    {"FileOpen1", "File", "&Open...", "Ctrl+O", 7, "Open|Opens an existing file", false,
     &TGLPlotter::FileOpen1Execute},
    {"FileSave1", "File", "Save", "Ctrl+S", 9, "Save|Saves active file", false,
     &TGLPlotter::itmFileSaveExecute},
    {"FileSaveAs1", "File", "Save &As...", nullptr, 10,
     "Save As|Saves the active file with a new name", false, &TGLPlotter::FileSaveAs1Execute},
    {"EditorDisplaySyntax", "Editor", "Display Syntax", nullptr, kNoIcon,
     "Display Syntax|Displays RS274 syntax highlighting in the editor", true,
     &TGLPlotter::EditorDisplaySyntaxExecute},
    {"EditCut1", "Edit", "Cu&t", "Ctrl+X", 3,
     "Cut|Cuts the selection and puts it on the Clipboard", false,
     &TGLPlotter::itmEditCutExecute},
    {"EditCopy1", "Edit", "&Copy", "Ctrl+C", 2,
     "Copy|Copies the selection and puts it on the Clipboard", false,
     &TGLPlotter::itmEditCopyExecute},
    {"EditPaste1", "Edit", "&Paste", "Ctrl+V", 5, "Paste|Inserts Clipboard contents", false,
     &TGLPlotter::itmEditPasteExecute},
    {"PlotterRefresh", "Plotter", "Refresh from Code", nullptr, 13,
     "Refresh|Refreshes the drawing from the code editor", false,
     &TGLPlotter::PlotterRefreshExecute},
    {"PlotterResetOrigin", "Plotter", "Reset To Origin", nullptr, kNoIcon,
     "Reset Drawing | Resets the rotation, scaling and translation of drawing", false,
     &TGLPlotter::itmSettingsResetDrawingExecute},
    {"DisplayColors1", "Plotter", "Colors...", nullptr, 14,
     "Colors | Sets drawing colors used in the plotter", false,
     &TGLPlotter::itmSettingsColorsExecute},
    {"EditSelectAll1", "Edit", "Select &All", "Ctrl+A", kNoIcon,
     "Select All|Selects the entire document", false, &TGLPlotter::itmEditSelectAllExecute},
    {"EditUndo1", "Edit", "&Undo", "Ctrl+Z", 0, "Undo|Reverts the last action", false,
     &TGLPlotter::itmEditUndoExecute},
    {"EditDelete1", "Edit", "&Delete", "Del", 1, "Delete|Erases the selection", false,
     &TGLPlotter::itmEditDeleteExecute},
    {"FileExit1", "File", "E&xit", nullptr, 12, "Exit|Quits the application", false,
     &TGLPlotter::FileExit1Execute},
    {"EditorColors", "Editor", "Colors...", nullptr, 14,
     "Colors|Set the colors used for syntax highlighting", false,
     &TGLPlotter::EditorColorsExecute},
    {"ViewFitToView", "View", "Fit to View", "F", kNoIcon,
     "Fit to View|Zooms and pans so that the whole tool path is in view", false,
     &TGLPlotter::ViewFitToViewExecute},
    {"ViewTop", "View", "Top", "1", kNoIcon, "Top|Shows the tool path from above", false,
     &TGLPlotter::ViewTopExecute},
    {"ViewFront", "View", "Front", "2", kNoIcon, "Front|Shows the tool path from the front",
     false, &TGLPlotter::ViewFrontExecute},
    {"ViewRight", "View", "Right", "3", kNoIcon, "Right|Shows the tool path from the right",
     false, &TGLPlotter::ViewRightExecute},
    {"ViewIsometric", "View", "Isometric", "4", kNoIcon,
     "Isometric|Shows the tool path from above, front and right at once", false,
     &TGLPlotter::ViewIsometricExecute},
    {"ViewHighlightCaretMove", "View", "Highlight Caret Move", nullptr, kNoIcon,
     "Highlight Caret Move|Highlights in the plot the move of the line the caret is on", true,
     &TGLPlotter::ViewHighlightCaretMoveExecute},
    {"PlotterLenient", "Plotter", "Lenient Reading", nullptr, kNoIcon,
     "Lenient Reading|Reads ';' comments, parameters, expressions and O-word lines, skipping what cannot be plotted",
     true, &TGLPlotter::PlotterLenientExecute},
    {"ViewProgramInfo", "View", "Program Info...", nullptr, kNoIcon,
     "Program Info|Shows what is in the program as the plot reads it", false,
     &TGLPlotter::ViewProgramInfoExecute},
    {"EditRedo1", "Edit", "&Redo", "Ctrl+Y; Ctrl+Shift+Z", kNoIcon,
     "Redo|Makes the last undone action again", false, &TGLPlotter::EditRedo1Execute},
    {"EditFind1", "Edit", "&Find...", "Ctrl+F", kNoIcon, "Find|Finds text in the editor", false,
     &TGLPlotter::EditFind1Execute},
    {"EditFindNext1", "Edit", "Find &Next", "F3", kNoIcon,
     "Find Next|Finds the next place of the text searched for", false,
     &TGLPlotter::EditFindNext1Execute},
    {"EditFindPrevious1", "Edit", "Find Pre&vious", "Shift+F3", kNoIcon,
     "Find Previous|Finds the previous place of the text searched for", false,
     &TGLPlotter::EditFindPrevious1Execute},
    {"EditReplace1", "Edit", "R&eplace...", "Ctrl+H", kNoIcon,
     "Replace|Replaces text in the editor", false, &TGLPlotter::EditReplace1Execute},
    {"EditGoToLine1", "Edit", "&Go to Line...", "Ctrl+G", kNoIcon,
     "Go to Line|Moves the caret to the line of a number", false,
     &TGLPlotter::EditGoToLine1Execute},
    {"FileClearRecent1", "File", "&Clear List", nullptr, kNoIcon,
     "Clear List|Empties the list of recent files", false, &TGLPlotter::FileClearRecent1Execute},
    {"HelpAbout", "Help", "About Zorvit...", nullptr, kNoIcon,
     "About|Shows the version, the licence and what Zorvit is", false,
     &TGLPlotter::HelpAboutExecute},
    {"EditRenumber1", "Edit", "Re&number...", nullptr, kNoIcon,
     "Renumber|Numbers the blocks with N words, or removes them", false,
     &TGLPlotter::EditRenumber1Execute},
    {"EditTidy1", "Edit", "T&idy...", nullptr, kNoIcon,
     "Tidy|Tidies the blanks, case, comments and trailing blanks of the program", false,
     &TGLPlotter::EditTidy1Execute},
    {"EditTransform1", "Edit", "Trans&form...", nullptr, kNoIcon,
     "Transform|Moves, turns, mirrors or scales the tool path of the program or the selected lines",
     false, &TGLPlotter::EditTransform1Execute},
    {"FileCompare1", "File", "Co&mpare With...", nullptr, kNoIcon,
     "Compare With|Shows the program and another file side by side, with their differences", false,
     &TGLPlotter::FileCompare1Execute},
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
    }
    // Strict reading is the default; the settings may turn lenient reading on.
    Action("PlotterLenient")->setChecked(false);
}
