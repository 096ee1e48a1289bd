#include "Plotter.h"

#include "ATFileNotification.h"
#include "AboutBox.h"
#include "CaretMoveLink.h"
#include "ColorsDlg.h"
#include "Document.h"
#include "Error.h"
#include "FailedLineMark.h"
#include "FindBar.h"
#include "GCodeEditor.h"
#include "HighlighterLexer.h"
#include "Icons.h"
#include "IniFile.h"
#include "LenientSetting.h"
#include "OpenGLPanel.h"
#include "ProgramInfoWindow.h"
#include "ProgramSummary.h"
#include "RecentFilesMenu.h"
#include "SessionMemory.h"
#include "Settings.h"
#include "SynColorsDlg.h"
#include "SynHighlighterRS274.h"
#include "ToolpathBuilder.h"
#include "UserDialogs.h"
#include "ViewIcons.h"
#include "ViewSettings.h"
#include "WheelRouter.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QMimeData>
#include <QSplitter>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTabBar>
#include <QTabWidget>
#include <QToolBar>
#include <QVBoxLayout>


namespace {

constexpr int kClientWidthPx = 965;
constexpr int kClientHeightPx = 591;
constexpr int kEditorPageWidthPx = 153;
constexpr int kNoIcon = -1;
constexpr const char* kNoOpenGLText = "OpenGL is not available on this display: the tool path cannot be drawn.";

// One notch of a wheel reports 120 and zooms the plot by 0.02.
constexpr double kWheelNotchDelta = 120.0;
constexpr double kZoomStepPerNotch = 0.02;

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
};

namespace {

// Keys of the plot alone: typed into the editor they stay text.
constexpr const char* kPlotShortcutActions[] = {"ViewFitToView", "ViewTop", "ViewFront",
                                                "ViewRight", "ViewIsometric"};

} // namespace

TGLPlotter::TGLPlotter(const QStringList& arguments, std::unique_ptr<TUserDialogs> dialogs,
                       QWidget* parent)
    : QMainWindow(parent),
      dialogs_(dialogs ? std::move(dialogs) : std::make_unique<TUserDialogs>()),
      motionColors_(kDefaultMotionColors)
{
    setObjectName(QStringLiteral("GLPlotter"));
    dialogs_->SetOwner(this);
    CreateComponents();
    CreateActions();
    CreatePlotShortcuts();
    CreateMenus();
    CreateHelpMenu(); // last on the menu bar
    CreateToolBar();
    CreateContextMenu();
    ConnectUpdates();
    // The client area lies below the menu bar.
    resize(kClientWidthPx, kClientHeightPx + menuBar()->sizeHint().height());
    Guarded([this] { LoadSession(*this, *Splitter2, recentFiles_); });
    FormCreate(arguments);
    aclMainUpdate();
}

TGLPlotter::~TGLPlotter()
{
    FormDestroy();
}

// ---------------------------------------------------------------------------------------------
// Construction

void TGLPlotter::CreateComponents()
{
    setWindowTitle(DocumentTitle(QString()));

    pnlTop = new QFrame(this);
    pnlTop->setObjectName(QStringLiteral("pnlTop"));
    pnlTop->setFrameShape(QFrame::NoFrame);
    auto* topLayout = new QHBoxLayout(pnlTop);
    topLayout->setContentsMargins(0, 0, 0, 0);

    Splitter2 = new QSplitter(Qt::Horizontal, pnlTop);
    Splitter2->setObjectName(QStringLiteral("Splitter2"));
    Splitter2->setChildrenCollapsible(false);
    topLayout->addWidget(Splitter2);

    pgcGCode = new QTabWidget(Splitter2);
    pgcGCode->setObjectName(QStringLiteral("pgcGCode"));
    tabOriginal = new QWidget(pgcGCode);
    tabOriginal->setObjectName(QStringLiteral("tabOriginal"));
    auto* pageLayout = new QVBoxLayout(tabOriginal);
    pageLayout->setContentsMargins(0, 0, 0, 0);
    memGCode = new TGCodeEditor(tabOriginal);
    memGCode->setObjectName(QStringLiteral("memGCode"));
    pageLayout->addWidget(memGCode);
    pgcGCode->addTab(tabOriginal, QStringLiteral("Original"));

    pnlOpenGL = new QFrame(Splitter2);
    pnlOpenGL->setObjectName(QStringLiteral("pnlOpenGL"));
    pnlOpenGL->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    auto* plotLayout = new QVBoxLayout(pnlOpenGL);
    plotLayout->setContentsMargins(0, 0, 0, 0);
    if (TOpenGLPanel::OpenGLAvailable()) {
        OpenGLPanel = new TOpenGLPanel(pnlOpenGL);
        plotLayout->addWidget(OpenGLPanel);
    } else {
        // Without OpenGL the panel stays out of the window, which could not be shown with it;
        // it still keeps the segments and the view, so everything else works as usual.
        detachedPanel_ = std::make_unique<TOpenGLPanel>(nullptr);
        OpenGLPanel = detachedPanel_.get();
        auto* notice = new QLabel(tr(kNoOpenGLText), pnlOpenGL);
        notice->setObjectName(QStringLiteral("lblNoOpenGL"));
        notice->setAlignment(Qt::AlignCenter);
        notice->setWordWrap(true);
        plotLayout->addWidget(notice);
    }
    OpenGLPanel->setObjectName(QStringLiteral("OpenGLPanel"));
    // The panel's drag and zoom texts go nowhere; the status bar shows hints only.
    OpenGLPanel->OnStatusText = [this](TOpenGLPanel& sender, const std::string& text) {
        OpenGLPanelStatusText(sender, text);
    };

    Splitter2->addWidget(pgcGCode);
    Splitter2->addWidget(pnlOpenGL);
    Splitter2->setStretchFactor(0, 0);
    Splitter2->setStretchFactor(1, 1);
    Splitter2->setSizes({kEditorPageWidthPx, kClientWidthPx - kEditorPageWidthPx});
    setCentralWidget(pnlTop);

    statusBar()->setObjectName(QStringLiteral("StatusBar1"));
    statusBar()->setSizeGripEnabled(false);

    memGCode->SetHighlighter(std::make_unique<TSynRC274Syn>());
    // A highlighter failure while the editor paints reaches the top-level error handler.
    memGCode->HighlighterLexer()->OnError = [this](const QString& message) {
        ShowErrorMessage(message);
    };

    ATFileNotification1 = new TATFileNotification(this);
    ATFileNotification1->setObjectName(QStringLiteral("ATFileNotification1"));
    ATFileNotification1->OnChanged = [this] { Guarded([this] { ATFileNotification1Changed(); }); };

    builder_ = std::make_unique<TToolpathBuilder>(*OpenGLPanel, motionColors_);
    document_ = std::make_unique<TDocument>(*this, *memGCode, *ATFileNotification1, *builder_,
                                            *dialogs_, [this] { ShowException(); });

    dlgColor = new TdlgColor(this);
    dlgColor->setObjectName(QStringLiteral("dlgColor"));

    caretMoveLink_ = new TCaretMoveLink(*memGCode, *OpenGLPanel, builder_->SegmentLines(), this);
    failedLineMark_ = new TFailedLineMark(*memGCode);
    document_->OnRunEnded = [this](std::optional<std::size_t> failedLine) { RunEnded(failedLine); };
    frmProgramInfo = new TProgramInfoWindow(this);
    frmProgramInfo->setObjectName(QStringLiteral("frmProgramInfo"));
    // A plot that lenient reading left incomplete says so in the status bar too.
    lblSkipped = new QLabel(statusBar());
    lblSkipped->setObjectName(QStringLiteral("lblSkipped"));
    statusBar()->addPermanentWidget(lblSkipped);
    lblSkipped->hide();
    document_->OnPlotted = [this](const TGCodeEngine& engine) {
        const TProgramSummary summary = SummarizeRun(engine);
        frmProgramInfo->ShowSummary(summary);
        lblSkipped->setText(IncompleteNotice(summary.Skipped));
        lblSkipped->setVisible(!lblSkipped->text().isEmpty());
    };
    findBar_ = new TFindBar(*memGCode, this);
    addToolBar(Qt::BottomToolBarArea, findBar_);
    document_->OnFileNamed = [this](const QString& name) {
        recentFiles_.Add(QFileInfo(name).absoluteFilePath().toStdString());
    };
    dialogs_->SetDocumentFile([this] { return ATFileNotification1->FileName(); });

    // Wheel turns go to the focused control first and to this window last.
    new TWheelRouter(*this);
}

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

void TGLPlotter::CreatePlotShortcuts()
{
    for (const char* name : kPlotShortcutActions) {
        QAction* action = Action(name);
        action->setShortcutContext(Qt::WidgetShortcut);
        OpenGLPanel->addAction(action);
    }
    Action("ViewFitToView")->setIcon(FitToViewIcon());
}

QAction* TGLPlotter::Action(const char* name) const
{
    return findChild<QAction*>(QString::fromLatin1(name), Qt::FindDirectChildrenOnly);
}

// A menu item of its own that runs the action: it may show its own caption, and it shows the
// action's icon, shortcut, hint, enabled and checked state.
QAction* TGLPlotter::AddItem(QMenu& menu, const char* itemName, const QString& caption,
                             QAction& action)
{
    QString text = caption;
    if (!action.shortcut().isEmpty())
        text += QLatin1Char('\t') + action.shortcut().toString(QKeySequence::NativeText);
    auto* item = new QAction(text, &menu);
    item->setObjectName(QString::fromLatin1(itemName));
    item->setIcon(action.icon());
    item->setStatusTip(action.statusTip());
    item->setCheckable(action.isCheckable());
    const auto follow = [item, &action] {
        item->setEnabled(action.isEnabled());
        item->setChecked(action.isChecked());
    };
    follow();
    connect(&action, &QAction::changed, item, follow);
    connect(item, &QAction::triggered, &action, [&action] { action.trigger(); });
    menu.addAction(item);
    return item;
}

void TGLPlotter::CreateMenus()
{
    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    file->setObjectName(QStringLiteral("mnuFile"));
    AddItem(*file, "itmFileNew", QStringLiteral("&New"), *Action("FileNew1"));
    AddItem(*file, "itmFileOpen", QStringLiteral("&Open..."), *Action("FileOpen1"));
    file->addSeparator();
    AddItem(*file, "itmFileSave", QStringLiteral("&Save"), *Action("FileSave1"));
    AddItem(*file, "itmFileSaveAs", QStringLiteral("Save &As..."), *Action("FileSaveAs1"));
    file->addSeparator();
    AddItem(*file, "itmFileExit", QStringLiteral("E&xit"), *Action("FileExit1"));
    file->addSeparator();
    auto* recent = new TRecentFilesMenu(recentFiles_, *Action("FileClearRecent1"), file);
    connect(recent, &TRecentFilesMenu::FileChosen, this,
            [this](const QString& name) { Guarded([&] { OpenRecentFile(name); }); });
    file->addMenu(recent);

    QMenu* edit = menuBar()->addMenu(QStringLiteral("&Edit"));
    edit->setObjectName(QStringLiteral("mnuEdit"));
    AddItem(*edit, "itmEditUndo", QStringLiteral("&Undo"), *Action("EditUndo1"));
    edit->addSeparator();
    AddItem(*edit, "itmEditCut", QStringLiteral("Cu&t"), *Action("EditCut1"));
    AddItem(*edit, "itmEditCopy", QStringLiteral("&Copy"), *Action("EditCopy1"));
    AddItem(*edit, "itmEditPaste", QStringLiteral("&Paste"), *Action("EditPaste1"));
    AddItem(*edit, "itmEditDelete", QStringLiteral("&Delete"), *Action("EditDelete1"));
    edit->addSeparator();
    AddItem(*edit, "itmEditSelectAll", QStringLiteral("Select &All"), *Action("EditSelectAll1"));
    edit->addSeparator();
    AddItem(*edit, "itmEditRedo", QStringLiteral("&Redo"), *Action("EditRedo1"));
    edit->addSeparator();
    AddItem(*edit, "itmEditFind", QStringLiteral("&Find..."), *Action("EditFind1"));
    AddItem(*edit, "itmEditFindNext", QStringLiteral("Find &Next"), *Action("EditFindNext1"));
    AddItem(*edit, "itmEditFindPrevious", QStringLiteral("Find Pre&vious"), *Action("EditFindPrevious1"));
    AddItem(*edit, "itmEditReplace", QStringLiteral("R&eplace..."), *Action("EditReplace1"));
    edit->addSeparator();
    AddItem(*edit, "itmEditGoToLine", QStringLiteral("&Go to Line..."), *Action("EditGoToLine1"));

    QMenu* editor = menuBar()->addMenu(QStringLiteral("E&ditor"));
    editor->setObjectName(QStringLiteral("mnuEditor"));
    AddItem(*editor, "itmEditorDisplaySyntax", QStringLiteral("&Display Syntax"),
            *Action("EditorDisplaySyntax"));
    AddItem(*editor, "itmEditorColors", QStringLiteral("&Colors..."), *Action("EditorColors"));

    QMenu* plotter = menuBar()->addMenu(QStringLiteral("&Plotter"));
    plotter->setObjectName(QStringLiteral("mnuPlotter"));
    AddItem(*plotter, "itmPlotterRefresh", QStringLiteral("&Refresh from Code"),
            *Action("PlotterRefresh"));
    AddItem(*plotter, "itmSettingsResetDrawing", QStringLiteral("R&eset To Origin"),
            *Action("PlotterResetOrigin"));
    AddItem(*plotter, "itmSettingsColors", QStringLiteral("&Colors..."),
            *Action("DisplayColors1"));
    plotter->addSeparator();
    AddItem(*plotter, "itmPlotterLenient", QStringLiteral("&Lenient Reading"), *Action("PlotterLenient"));

    // The states must be right whenever a menu opens.
    for (QMenu* menu : {file, edit, editor, plotter})
        connect(menu, &QMenu::aboutToShow, this, [this] { Guarded([this] { aclMainUpdate(); }); });
    CreateViewMenu();
}

void TGLPlotter::CreateViewMenu()
{
    QMenu* view = menuBar()->addMenu(QStringLiteral("&View"));
    view->setObjectName(QStringLiteral("mnuView"));
    AddItem(*view, "itmViewFitToView", QStringLiteral("&Fit to View"), *Action("ViewFitToView"));
    view->addSeparator();
    AddItem(*view, "itmViewTop", QStringLiteral("&Top"), *Action("ViewTop"));
    AddItem(*view, "itmViewFront", QStringLiteral("Fr&ont"), *Action("ViewFront"));
    AddItem(*view, "itmViewRight", QStringLiteral("&Right"), *Action("ViewRight"));
    AddItem(*view, "itmViewIsometric", QStringLiteral("&Isometric"), *Action("ViewIsometric"));
    view->addSeparator();
    AddItem(*view, "itmViewHighlightCaretMove", QStringLiteral("&Highlight Caret Move"),
            *Action("ViewHighlightCaretMove"));
    view->addSeparator();
    AddItem(*view, "itmViewProgramInfo", QStringLiteral("Program &Info..."),
            *Action("ViewProgramInfo"));
    connect(view, &QMenu::aboutToShow, this, [this] { Guarded([this] { aclMainUpdate(); }); });
}

void TGLPlotter::CreateHelpMenu()
{
    QMenu* help = menuBar()->addMenu(QStringLiteral("&Help"));
    help->setObjectName(QStringLiteral("mnuHelp"));
    AddItem(*help, "itmHelpAbout", QStringLiteral("&About Zorvit..."), *Action("HelpAbout"));
}

void TGLPlotter::CreateToolBar()
{
    ToolBar1 = addToolBar(QStringLiteral("ToolBar1"));
    ToolBar1->setObjectName(QStringLiteral("ToolBar1"));
    ToolBar1->setMovable(false);
    ToolBar1->setFloatable(false);
    ToolBar1->setToolButtonStyle(Qt::ToolButtonIconOnly);
    ToolBar1->setIconSize(QSize(kIconSizePx, kIconSizePx));
    ToolBar1->addAction(Action("FileNew1"));
    ToolBar1->addAction(Action("FileOpen1"));
    ToolBar1->addAction(Action("FileSave1"));
    ToolBar1->addSeparator();
    ToolBar1->addAction(Action("PlotterRefresh"));
    ToolBar1->addAction(Action("ViewFitToView"));
}

void TGLPlotter::CreateContextMenu()
{
    pmuGCode = new QMenu(this);
    pmuGCode->setObjectName(QStringLiteral("pmuGCode"));
    const auto item = [this](const char* itemName, const char* actionName) {
        QAction& action = *Action(actionName);
        AddItem(*pmuGCode, itemName, action.text(), action);
    };
    item("pmuUndo", "EditUndo1");
    pmuGCode->addSeparator()->setObjectName(QStringLiteral("N2"));
    item("pmuCut", "EditCut1");
    item("pmuCopy", "EditCopy1");
    item("pmuPaste", "EditPaste1");
    item("pmuDelete", "EditDelete1");
    pmuGCode->addSeparator()->setObjectName(QStringLiteral("N1"));
    item("pmuSelectAll", "EditSelectAll1");
    connect(pmuGCode, &QMenu::aboutToShow, this, [this] { Guarded([this] { aclMainUpdate(); }); });
    pmuGCode->installEventFilter(this);
    memGCode->SetContextMenu(pmuGCode);
}

void TGLPlotter::ConnectUpdates()
{
    const auto update = [this] { Guarded([this] { aclMainUpdate(); }); };
    connect(memGCode, &QsciScintilla::selectionChanged, this, update);
    connect(memGCode, &QsciScintilla::modificationChanged, this, update);
    connect(memGCode, &QsciScintilla::textChanged, this, update);
    connect(memGCode, &TGCodeEditor::UndoAvailableChanged, this, update);
    connect(memGCode, &TGCodeEditor::RedoAvailableChanged, this, update);
    // Asking the clipboard may wait for another program, so it is asked only when it changes.
    const auto clipboardChanged = [this] {
        Guarded([this] {
            const QMimeData* contents = QGuiApplication::clipboard()->mimeData();
            clipboardHasText_ = contents != nullptr && contents->hasText();
            aclMainUpdate();
        });
    };
    connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this, clipboardChanged);
    clipboardChanged();
    memGCode->installEventFilter(this);
}

void TGLPlotter::FormCreate(const QStringList& arguments)
{
    // A failing step skips the later ones; the window is shown all the same.
    Guarded([&] {
        LoadSettings();
        if (!arguments.isEmpty())
            LoadFile(arguments.first());
        pgcGCode->tabBar()->hide();
        pgcGCode->setCurrentWidget(tabOriginal);
    });
}

void TGLPlotter::FormDestroy()
{
    Guarded([this] { SaveSettings(); });
}

// ---------------------------------------------------------------------------------------------
// Running actions and reporting errors

template <class TStep> void TGLPlotter::Guarded(TStep&& step)
{
    try {
        step();
    } catch (...) {
        ShowException();
    }
}

void TGLPlotter::ShowException()
{
    try {
        throw;
    } catch (const std::exception& error) {
        ShowErrorMessage(QString::fromStdString(error.what()));
    } catch (...) {
        ShowErrorMessage(QStringLiteral("Unknown error"));
    }
}

void TGLPlotter::ShowErrorMessage(const QString& message)
{
    QString text = message;
    if (!text.isEmpty() && text.back() > QLatin1Char('.'))
        text += QLatin1Char('.');
    dialogs_->ShowError(text);
    if (failedLine_) {
        failedLineMark_->Show(static_cast<int>(*failedLine_), text);
        failedLine_.reset();
        memGCode->setFocus();
    }
}

void TGLPlotter::RunEnded(std::optional<std::size_t> failedLine)
{
    failedLine_ = failedLine;
    if (!failedLine) {
        failedLineMark_->Clear();
        caretMoveLink_->PlotRedrawn();
    }
}

void TGLPlotter::RunAction(QAction& action, void (TGLPlotter::*handler)())
{
    Guarded([&] {
        // The states are brought up to date before an action runs.
        aclMainUpdate();
        if (action.isEnabled())
            (this->*handler)();
    });
}

bool TGLPlotter::eventFilter(QObject* watched, QEvent* event)
{
    // The context menu is a window of its own, so its hints do not reach the main window.
    if (watched == pmuGCode && event->type() == QEvent::StatusTip) {
        statusBar()->showMessage(static_cast<QStatusTipEvent*>(event)->tip());
        return true;
    }
    // The action states must be right when a key is pressed: the editor hands the shortcut
    // keys of enabled actions to them and keeps the keys of disabled ones.
    if (watched == memGCode && event->type() == QEvent::ShortcutOverride)
        Guarded([this] { aclMainUpdate(); });
    return QMainWindow::eventFilter(watched, event);
}

// ---------------------------------------------------------------------------------------------
// The document

void TGLPlotter::LoadFile(const QString& name)
{
    document_->LoadFile(name);
}

void TGLPlotter::PlotterRefreshExecute()
{
    document_->Refresh();
}

void TGLPlotter::PlotterLenientExecute()
{
    document_->SetLenient(Action("PlotterLenient")->isChecked());
    Action("PlotterRefresh")->trigger();
}

void TGLPlotter::ViewProgramInfoExecute()
{
    frmProgramInfo->show();
    frmProgramInfo->raise();
    frmProgramInfo->activateWindow();
}

void TGLPlotter::FileNew1Execute()
{
    if (!document_->QuerySaveChanges())
        return;
    document_->Clear();
    Action("PlotterRefresh")->trigger();
}

void TGLPlotter::FileOpen1Execute()
{
    if (!document_->QuerySaveChanges())
        return;
    if (const auto name = dialogs_->OpenName())
        itmFileOpenAccept(*name);
}

void TGLPlotter::itmFileOpenAccept(const QString& name)
{
    LoadFile(name);
}

void TGLPlotter::itmFileSaveExecute()
{
    document_->Save();
}

void TGLPlotter::FileSaveAs1Execute()
{
    document_->RunSaveAsDialog();
}

void TGLPlotter::itmFileSaveAsAccept(const QString& name)
{
    document_->SaveAs(name);
}

void TGLPlotter::FileExit1Execute()
{
    close();
}

void TGLPlotter::FileClearRecent1Execute()
{
    recentFiles_.Clear();
}

void TGLPlotter::OpenRecentFile(const QString& name)
{
    if (!QFileInfo::exists(name)) {
        recentFiles_.Remove(name.toStdString());
        statusBar()->showMessage(QStringLiteral("%1 no longer exists; it has been removed from the recent files.").arg(name));
        return;
    }
    if (document_->QuerySaveChanges())
        LoadFile(name);
}

void TGLPlotter::ATFileNotification1Changed()
{
    document_->FileChanged();
}

void TGLPlotter::FormCloseQuery(bool& canClose)
{
    canClose = document_->QuerySaveChanges();
}

void TGLPlotter::closeEvent(QCloseEvent* event)
{
    bool canClose = false;
    Guarded([&] { FormCloseQuery(canClose); });
    event->setAccepted(canClose);
    if (canClose)
        Guarded([this] { SaveSession(*this, *Splitter2, recentFiles_); });
}

// ---------------------------------------------------------------------------------------------
// Edit commands: they act on the editor wherever the focus is.

void TGLPlotter::itmEditUndoExecute()
{
    memGCode->undo();
}

void TGLPlotter::itmEditCutExecute()
{
    memGCode->cut();
}

void TGLPlotter::itmEditCopyExecute()
{
    memGCode->copy();
}

void TGLPlotter::itmEditPasteExecute()
{
    memGCode->paste();
}

void TGLPlotter::itmEditDeleteExecute()
{
    memGCode->DeleteSelection();
}

void TGLPlotter::itmEditSelectAllExecute()
{
    memGCode->selectAll();
}

void TGLPlotter::EditRedo1Execute()
{
    memGCode->redo();
}

void TGLPlotter::EditFind1Execute()
{
    findBar_->ShowFind();
}

void TGLPlotter::EditFindNext1Execute()
{
    findBar_->FindNext();
}

void TGLPlotter::EditFindPrevious1Execute()
{
    findBar_->FindPrevious();
}

void TGLPlotter::EditReplace1Execute()
{
    findBar_->ShowReplace();
}

void TGLPlotter::EditGoToLine1Execute()
{
    int line = 0;
    int index = 0;
    memGCode->getCursorPosition(&line, &index);
    if (const auto chosen = dialogs_->AskLineNumber(line + 1, memGCode->lines()))
        memGCode->GoToLine(*chosen);
}

// ---------------------------------------------------------------------------------------------
// Update rules

void TGLPlotter::aclMainUpdate()
{
    Action("EditUndo1")->setEnabled(memGCode->CanUndo());
    Action("EditRedo1")->setEnabled(memGCode->CanRedo());
    const bool selection = memGCode->HasSelectedText();
    Action("EditCut1")->setEnabled(selection);
    Action("EditCopy1")->setEnabled(selection);
    Action("EditDelete1")->setEnabled(selection);
    Action("EditPaste1")->setEnabled(clipboardHasText_);
    itmFileSaveUpdate();
    EditorDisplaySyntaxUpdate();
    ViewHighlightCaretMoveUpdate();
}

void TGLPlotter::itmFileSaveUpdate()
{
    Action("FileSave1")->setEnabled(memGCode->isModified());
}

void TGLPlotter::EditorDisplaySyntaxUpdate()
{
    Action("EditorDisplaySyntax")->setChecked(Highlighter().Enabled());
}

void TGLPlotter::ViewHighlightCaretMoveUpdate()
{
    Action("ViewHighlightCaretMove")->setChecked(caretMoveLink_->Enabled());
}

// ---------------------------------------------------------------------------------------------
// Editor and plotter settings

THighlighter& TGLPlotter::Highlighter() const
{
    return *memGCode->Highlighter();
}

void TGLPlotter::EditorDisplaySyntaxExecute()
{
    THighlighter& highlighter = Highlighter();
    highlighter.SetEnabled(!highlighter.Enabled());
    aclMainUpdate();
}

void TGLPlotter::EditorColorsExecute()
{
    TdlgSynColor::EditColors(Highlighter());
    aclMainUpdate();
}

void TGLPlotter::itmSettingsColorsExecute()
{
    dlgColor->PutColors(motionColors_);
    if (!dialogs_->Execute(*dlgColor))
        return;
    motionColors_ = dlgColor->GetColors();
    builder_->Rebuild();
}

void TGLPlotter::itmSettingsResetDrawingExecute()
{
    OpenGLPanel->ResetView();
}

void TGLPlotter::ViewFitToViewExecute()
{
    OpenGLPanel->FitToView();
}

void TGLPlotter::ViewTopExecute()
{
    OpenGLPanel->SetStandardView(TStandardView::Top);
}

void TGLPlotter::ViewFrontExecute()
{
    OpenGLPanel->SetStandardView(TStandardView::Front);
}

void TGLPlotter::ViewRightExecute()
{
    OpenGLPanel->SetStandardView(TStandardView::Right);
}

void TGLPlotter::ViewIsometricExecute()
{
    OpenGLPanel->SetStandardView(TStandardView::Isometric);
}

void TGLPlotter::ViewHighlightCaretMoveExecute()
{
    caretMoveLink_->SetEnabled(!caretMoveLink_->Enabled());
    aclMainUpdate();
}

void TGLPlotter::HelpAboutExecute()
{
    TAboutBox about(this);
    dialogs_->Execute(about);
}

void TGLPlotter::LoadSettings()
{
    const TIniFile file(SettingsFileName());
    ReadSettings(file, motionColors_, Highlighter());
    caretMoveLink_->SetEnabled(ReadHighlightCaretMove(file));
    const bool lenient = ReadLenientSetting(file);
    document_->SetLenient(lenient);
    Action("PlotterLenient")->setChecked(lenient);
}

void TGLPlotter::SaveSettings()
{
    TIniFile file(SettingsFileName());
    TIniFileUpdate update(file);  // one write of the file for everything
    WriteSettings(file, motionColors_, Highlighter());
    WriteHighlightCaretMove(file, caretMoveLink_->Enabled());
    WriteLenientSetting(file, document_->Lenient());
    update.Commit();
}

// ---------------------------------------------------------------------------------------------
// The plot

void TGLPlotter::OpenGLPanelStatusText(TOpenGLPanel& /*sender*/, const std::string& /*text*/)
{
}

void TGLPlotter::FormMouseWheel(int wheelDelta, const QPoint& /*mousePos*/, bool& handled)
{
    // A sideways turn (a tilt wheel, or Alt with the wheel) has no vertical part: no zoom step.
    if (wheelDelta == 0 || !OpenGLPanel->PointerInside())
        return;
    OpenGLPanel->ZoomBy(wheelDelta / kWheelNotchDelta * kZoomStepPerNotch);
    handled = true;
}

void TGLPlotter::wheelEvent(QWheelEvent* event)
{
    bool handled = false;
    Guarded([&] { FormMouseWheel(event->angleDelta().y(), event->position().toPoint(), handled); });
    event->setAccepted(handled);
}

void TGLPlotter::SetLineTable(const std::shared_ptr<TLineTable>& table)
{
    builder_->SetLineTable(table);
}

void TGLPlotter::BuildToolpath()
{
    builder_->BuildToolpath();
}

bool TGLPlotter::HasInterpreter() const
{
    return document_->HasInterpreter();
}

const std::shared_ptr<TLineTable>& TGLPlotter::LineTable() const
{
    return builder_->LineTable();
}
