#include "app/window/Plotter.h"

#include "app/dialogs/AboutBox.h"
#include "app/dialogs/ColorsDlg.h"
#include "app/dialogs/CompareWindow.h"
#include "app/dialogs/ProgramInfoWindow.h"
#include "app/dialogs/RenumberDlg.h"
#include "app/dialogs/TidyDlg.h"
#include "app/dialogs/TransformDlg.h"
#include "app/dialogs/UserDialogs.h"
#include "app/document/Document.h"
#include "app/window/CaretMoveLink.h"
#include "app/window/DecorationRepaint.h"
#include "app/window/PlaybackBar.h"
#include "app/window/PlotInspection.h"
#include "app/window/SessionMemory.h"
#include "app/window/WheelRouter.h"
#include "app/window/WordHelpTips.h"
#include "app/window/WorkProgress.h"
#include "common/Error.h"
#include "common/FileBytes.h"
#include "common/Guard.h"
#include "edit/Renumber.h"
#include "edit/Tidy.h"
#include "edit/Transform.h"
#include "editor/FailedLineMark.h"
#include "editor/FindBar.h"
#include "editor/GCodeEditor.h"
#include "editor/HighlighterLexer.h"
#include "editor/SynColorsDlg.h"
#include "gcode/GCodeEngine.h"
#include "highlight/SynHighlighterRS274.h"
#include "machine/MachineReader.h"
#include "machine/MachineSummary.h"
#include "machine/Plan.h"
#include "playback/MachineStateIndex.h"
#include "playback/StateText.h"
#include "playback/TableStateIndex.h"
#include "playback/Timeline.h"
#include "plot/MeasurePoint.h"
#include "plot/OpenGLPanel.h"
#include "plot/PathOverlay.h"
#include "plot/PlotView.h"
#include "plot/ToolpathBuilder.h"
#include "program/ProgramSummary.h"
#include "settings/IniFile.h"
#include "settings/ReadingSettings.h"
#include "settings/Settings.h"
#include "settings/ViewSettings.h"
#include "watch/ATFileNotification.h"

#include <functional>

#include <QActionGroup>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QMimeData>
#include <QShortcut>
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
constexpr const char* kNoOpenGLText =
    "OpenGL is not available on this display: the tool path cannot be drawn.";

}  // namespace

TGLPlotter::TGLPlotter(const QStringList& arguments, std::unique_ptr<TUserDialogs> dialogs,
                       QWidget* parent)
    : QMainWindow(parent),
      FDialogs(dialogs ? std::move(dialogs) : std::make_unique<TUserDialogs>()),
      FMotionColors(kDefaultMotionColors)
{
    setObjectName(QStringLiteral("GLPlotter"));
    FDialogs->SetOwner(this);
    CreateComponents();
    CreateActions();
    CreatePlotShortcuts();
    CreateMenus();
    CreateToolBar();
    ConnectUpdates();
    ConnectPlayback();
    ConnectInspection();
    // The client area lies below the menu bar.
    resize(kClientWidthPx, kClientHeightPx + menuBar()->sizeHint().height());
    RunGuarded([this] { LoadSession(*this, *Splitter2, FRecentFiles); });
    FormCreate(arguments);
    aclMainUpdate();
}

TGLPlotter::~TGLPlotter()
{
    // An open comparison goes first: its end removes its path from the panel, still there now.
    delete frmCompare;
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
    FWordHelpTips = new TWordHelpTips(*memGCode);
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
        FDetachedPanel = std::make_unique<TOpenGLPanel>(nullptr);
        OpenGLPanel = FDetachedPanel.get();
        auto* notice = new QLabel(tr(kNoOpenGLText), pnlOpenGL);
        notice->setObjectName(QStringLiteral("lblNoOpenGL"));
        notice->setAlignment(Qt::AlignCenter);
        notice->setWordWrap(true);
        plotLayout->addWidget(notice);
    }
    OpenGLPanel->setObjectName(QStringLiteral("OpenGLPanel"));
    barPlayback = new TPlaybackBar(pnlOpenGL);
    barPlayback->setObjectName(QStringLiteral("barPlayback"));
    plotLayout->addWidget(barPlayback);
    barPlayback->hide();
    // The panel's drag and zoom texts go nowhere; the status bar shows hints only.
    OpenGLPanel->OnStatusText = [this](TOpenGLPanel& sender, const std::string& text) {
        OpenGLPanelStatusText(sender, text);
    };
    OpenGLPanel->OnException = [this] { ShowException(); };

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
    ATFileNotification1->OnChanged = [this] {
        RunGuarded([this] { ATFileNotification1Changed(); });
    };

    // Long opens, refreshes and rebuilds show how far they have come; the plot keeps its last
    // picture meanwhile.
    FProgress = new TWorkProgress(*statusBar());
    FProgress->HoldPaintsWith([this](bool held) { OpenGLPanel->SetPaintsHeld(held); });
    FBuilder = std::make_unique<TToolpathBuilder>(OpenGLPanel->View(), FMotionColors,
                                                  [panel = OpenGLPanel] { panel->update(); });
    FBuilder->OnProgress = [this](std::size_t done, std::size_t total) {
        FProgress->Report(kStagePlotting, done, total);
    };
    FDocument = std::make_unique<TDocument>(*this, *memGCode, *ATFileNotification1, *FBuilder,
                                            *FDialogs, *FProgress, [this] { ShowException(); });

    dlgColor = new TdlgColor(this);
    dlgColor->setObjectName(QStringLiteral("dlgColor"));

    FCaretMoveLink = new TCaretMoveLink(*memGCode, *OpenGLPanel, FBuilder->SegmentLines(),
                                        FBuilder->SegmentCallLines(), this);
    FCaretMoveLink->OnStatusText = [this](const QString& text) { statusBar()->showMessage(text); };
    FFailedLineMark = new TFailedLineMark(*memGCode);
    FDocument->OnRunEnded = [this](std::optional<std::size_t> failedLine) { RunEnded(failedLine); };
    frmProgramInfo = new TProgramInfoWindow(this);
    frmProgramInfo->setObjectName(QStringLiteral("frmProgramInfo"));
    // A plot that lenient reading left incomplete says so in the status bar too, and so does
    // a machine path that does not show everything.
    lblSkipped = new QLabel(statusBar());
    lblSkipped->setObjectName(QStringLiteral("lblSkipped"));
    statusBar()->addPermanentWidget(lblSkipped);
    lblSkipped->hide();
    lblPreviousPlot = new QLabel(tr("The plot shows the previous program."), statusBar());
    lblPreviousPlot->setObjectName(QStringLiteral("lblPreviousPlot"));
    statusBar()->addPermanentWidget(lblPreviousPlot);
    lblPreviousPlot->hide();
    FDocument->OnPlotted = [this](const TGCodeEngine& engine) {
        // The interpreter's table is the plotted one until the next run.
        frmProgramInfo->SetSummarySource([this] {
            const TGCodeEngine* engine = FDocument->Interpreter();
            return engine ? SummarizeRun(*engine) : TProgramSummary();
        });
        lblSkipped->setText(IncompleteNotice(engine.Skipped()));
        lblSkipped->setVisible(!lblSkipped->text().isEmpty());
        OpenGLPanel->MeasureCentres.clear();
        ShowMeasure({});
        FInspection->TranscriptionPlotted();
        PlaybackPlotted(&engine, nullptr);
    };
    FDocument->OnMachinePlotted = [this](const TMachineReading& reading, const TPathPlan& plan) {
        MachinePlotted(reading, plan);
    };
    FFindBar = new TFindBar(*memGCode, this);
    addToolBar(Qt::BottomToolBarArea, FFindBar);
    FDocument->OnFileNamed = [this](const QString& name) {
        FRecentFiles.Add(QFileInfo(name).absoluteFilePath().toStdString());
    };
    FDialogs->SetDocumentFile([this] { return ATFileNotification1->FileName(); });

    // Wheel turns go to the focused control first and to this window last.
    new TWheelRouter(*this);
    new TDecorationRepaint(*this);
}

void TGLPlotter::ConnectUpdates()
{
    const auto update = [this] { RunGuarded([this] { aclMainUpdate(); }); };
    connect(memGCode, &QsciScintilla::selectionChanged, this, update);
    connect(memGCode, &QsciScintilla::modificationChanged, this, update);
    connect(memGCode, &QsciScintilla::textChanged, this, update);
    connect(memGCode, &TGCodeEditor::UndoAvailableChanged, this, update);
    connect(memGCode, &TGCodeEditor::RedoAvailableChanged, this, update);
    // Asking the clipboard may wait for another program, so it is asked only when it changes.
    const auto clipboardChanged = [this] {
        RunGuarded([this] {
            const QMimeData* contents = QGuiApplication::clipboard()->mimeData();
            FClipboardHasText = contents != nullptr && contents->hasText();
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
    RunGuarded([&] {
        LoadSettings();
        if (!arguments.isEmpty())
            LoadFile(arguments.first());
        else
            FDocument->OfferRecovery(QString());
        pgcGCode->tabBar()->hide();
        pgcGCode->setCurrentWidget(tabOriginal);
    });
}

void TGLPlotter::FormDestroy()
{
    RunGuarded([this] { SaveSettings(); });
}

// ---------------------------------------------------------------------------------------------
// Running actions and reporting errors

void TGLPlotter::ShowException()
{
    std::optional<std::size_t> failedLine;
    try {
        throw;
    } catch (const ERunError& error) {
        failedLine = error.FailedLine();
    } catch (...) {}
    ShowErrorMessage(QString::fromStdString(CurrentExceptionMessage()), failedLine);
}

void TGLPlotter::ShowErrorMessage(const QString& message, std::optional<std::size_t> failedLine)
{
    QString text = message;
    if (!text.isEmpty() && text.back() > QLatin1Char('.'))
        text += QLatin1Char('.');
    FDialogs->ShowError(text);
    if (failedLine) {
        FFailedLineMark->Show(static_cast<int>(*failedLine), text);
        memGCode->setFocus();
    }
}

void TGLPlotter::RunEnded(std::optional<std::size_t> failedLine)
{
    // A failed transcription leaves the plot as it was; the machine path plots what it read.
    const bool plotKept = failedLine && !FDocument->Reading().MachinePath;
    FCaretMoveLink->SetPlotCurrent(!plotKept);
    lblPreviousPlot->setVisible(plotKept);
    if (!failedLine) {
        FFailedLineMark->Clear();
        FCaretMoveLink->PlotRedrawn();
    }
}

void TGLPlotter::RunAction(QAction& action, void (TGLPlotter::*handler)())
{
    RunGuarded([&] {
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
        RunGuarded([this] { aclMainUpdate(); });
    return QMainWindow::eventFilter(watched, event);
}

// ---------------------------------------------------------------------------------------------
// The document

void TGLPlotter::LoadFile(const QString& name)
{
    FDocument->LoadFile(name);
}

void TGLPlotter::PlotterRefreshExecute()
{
    FDocument->Refresh();
}

void TGLPlotter::PlotterReadingExecute()
{
    TReadingSettings reading;
    reading.Lenient = PlotterLenient->isChecked();
    reading.MachinePath = PlotterMachinePath->isChecked();
    reading.InchWhenNoUnits = PlotterInchDefault->isChecked();
    FDocument->SetReading(reading);
    PlotterRefresh->trigger();
}

void TGLPlotter::MachinePlotted(const TMachineReading& reading, const TPathPlan& plan)
{
    const TProgramSummary summary = SummarizeMachine(reading);
    frmProgramInfo->ShowSummary(summary);
    lblSkipped->setText(MachinePathNotice(summary.NotShown, plan.ChordErrorRaised, plan.ChordError,
                                          reading.Facts.Units == TLengthUnits::Inches));
    lblSkipped->setVisible(!lblSkipped->text().isEmpty());
    const double scale = FromMillimetres(reading.Facts.Units);
    OpenGLPanel->MeasureCentres.clear();
    for (const TMotionArc& arc : reading.Motions.Arcs)
        OpenGLPanel->MeasureCentres.push_back(PlotPoint(arc.Centre, scale));
    ShowMeasure({});
    FInspection->MachinePlotted(reading, plan);
    PlaybackPlotted(nullptr, &reading);
}

void TGLPlotter::ViewProgramInfoExecute()
{
    frmProgramInfo->show();
    frmProgramInfo->raise();
    frmProgramInfo->activateWindow();
}

void TGLPlotter::FileNew1Execute()
{
    if (!FDocument->QuerySaveChanges())
        return;
    FDocument->Clear();
    PlotterRefresh->trigger();
}

void TGLPlotter::FileOpen1Execute()
{
    if (!FDocument->QuerySaveChanges())
        return;
    if (const auto name = FDialogs->OpenName())
        itmFileOpenAccept(*name);
}

void TGLPlotter::itmFileOpenAccept(const QString& name)
{
    LoadFile(name);
}

void TGLPlotter::itmFileSaveExecute()
{
    FDocument->Save();
}

void TGLPlotter::FileSaveAs1Execute()
{
    FDocument->RunSaveAsDialog();
}

void TGLPlotter::FileExit1Execute()
{
    close();
}

void TGLPlotter::FileClearRecent1Execute()
{
    FRecentFiles.Clear();
}

void TGLPlotter::OpenRecentFile(const QString& name)
{
    if (!QFileInfo::exists(name)) {
        FRecentFiles.Remove(name.toStdString());
        statusBar()->showMessage(
            QStringLiteral("%1 no longer exists; it has been removed from the recent files.")
                .arg(name));
        return;
    }
    if (FDocument->QuerySaveChanges())
        LoadFile(name);
}

void TGLPlotter::ATFileNotification1Changed()
{
    FDocument->FileChanged();
}

void TGLPlotter::FormCloseQuery(bool& canClose)
{
    canClose = FDocument->QuerySaveChanges();
}

void TGLPlotter::closeEvent(QCloseEvent* event)
{
    bool canClose = false;
    RunGuarded([&] { FormCloseQuery(canClose); });
    event->setAccepted(canClose);
    if (canClose)
        RunGuarded([this] { SaveSession(*this, *Splitter2, FRecentFiles); });
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
    FFindBar->ShowFind();
}

void TGLPlotter::EditFindNext1Execute()
{
    FFindBar->FindNext();
}

void TGLPlotter::EditFindPrevious1Execute()
{
    FFindBar->FindPrevious();
}

void TGLPlotter::EditReplace1Execute()
{
    FFindBar->ShowReplace();
}

void TGLPlotter::EditGoToLine1Execute()
{
    int line = 0;
    int index = 0;
    memGCode->getCursorPosition(&line, &index);
    if (const auto chosen = FDialogs->AskLineNumber(line + 1, memGCode->lines()))
        memGCode->GoToLine(*chosen);
}

// ---------------------------------------------------------------------------------------------
// Editing tools

std::vector<std::string> TGLPlotter::EditorLines() const
{
    return memGCode->Lines().ToStrings();
}

void TGLPlotter::ApplyLines(const std::vector<std::string>& lines)
{
    memGCode->ReplaceLines(lines);
}

void TGLPlotter::ShowOverlay(const std::vector<std::string>& lines, TColor colour)
{
    OpenGLPanel->View().SetOverlay(lines.empty() ? std::vector<TSegment>()
                                                 : PathSegments(lines, colour));
}

void TGLPlotter::EditRenumber1Execute()
{
    TRenumberDlg dialog(this);
    if (FDialogs->Execute(dialog))
        ApplyLines(Renumber(EditorLines(), dialog.Options()));
}

void TGLPlotter::EditTidy1Execute()
{
    TTidyDlg dialog(this);
    if (FDialogs->Execute(dialog))
        ApplyLines(Tidy(EditorLines(), dialog.Options()).Lines);
}

void TGLPlotter::EditTransform1Execute()
{
    const std::vector<std::string> lines = EditorLines();
    int firstLine = 0;
    int firstIndex = 0;
    int lastLine = -1;
    int lastIndex = 0;
    if (memGCode->HasSelectedText())
        memGCode->getSelection(&firstLine, &firstIndex, &lastLine, &lastIndex);
    // A selection that ends at the start of a line leaves that line out.
    if (lastLine > firstLine && lastIndex == 0)
        --lastLine;
    const auto range = [&](bool selectionOnly) {
        return selectionOnly ? TLineRange{static_cast<std::size_t>(firstLine),
                                          static_cast<std::size_t>(lastLine)}
                             : TLineRange{};
    };
    // The preview is drawn in white over the motion colours of the current path.
    constexpr TColor kPreviewColour = 0x00FFFFFF;
    TTransformDlg dialog(lastLine >= 0, this);
    dialog.OnPreview = [&](const TPlaneTransform& transform, bool selectionOnly) {
        try {
            ShowOverlay(TransformProgram(lines, transform, range(selectionOnly)), kPreviewColour);
            return QString();
        } catch (const std::exception& error) {
            // A refusal names its lines; the preview runs in a slot, which nothing may leave.
            ShowOverlay({}, kPreviewColour);
            return QString::fromStdString(error.what());
        }
    };
    dialog.Preview();
    const bool accepted = FDialogs->Execute(dialog);
    ShowOverlay({}, kPreviewColour);
    if (accepted)
        ApplyLines(TransformProgram(lines, dialog.Transform(), range(dialog.SelectionOnly())));
}

void TGLPlotter::FileCompare1Execute()
{
    const std::optional<QString> name = FDialogs->OpenName();
    if (!name)
        return;
    const std::string bytes = ReadFileBytes(name->toStdString());
    if (frmCompare != nullptr)
        frmCompare->close();
    frmCompare = new TCompareWindow(EditorLines(), QByteArray::fromStdString(bytes),
                                    QFileInfo(*name).fileName(), this);
    frmCompare->setAttribute(Qt::WA_DeleteOnClose);
    // The other file's path in grey over the plot, while the comparison is open.
    constexpr TColor kOtherPathColour = 0x00808080;
    ShowOverlay(frmCompare->memRight->Lines().ToStrings(), kOtherPathColour);
    connect(frmCompare, &QObject::destroyed, this, [this, window = frmCompare] {
        if (frmCompare == window) {
            frmCompare = nullptr;
            ShowOverlay({}, 0);
        }
    });
    frmCompare->show();
}

// ---------------------------------------------------------------------------------------------
// Update rules

void TGLPlotter::aclMainUpdate()
{
    EditUndo1->setEnabled(memGCode->CanUndo());
    EditRedo1->setEnabled(memGCode->CanRedo());
    const bool selection = memGCode->HasSelectedText();
    EditCut1->setEnabled(selection);
    EditCopy1->setEnabled(selection);
    EditDelete1->setEnabled(selection);
    EditPaste1->setEnabled(FClipboardHasText);
    itmFileSaveUpdate();
    EditorDisplaySyntaxUpdate();
    ViewHighlightCaretMoveUpdate();
}

void TGLPlotter::itmFileSaveUpdate()
{
    FileSave1->setEnabled(memGCode->Modified());
}

void TGLPlotter::EditorDisplaySyntaxUpdate()
{
    EditorDisplaySyntax->setChecked(Highlighter().Enabled());
}

void TGLPlotter::ViewHighlightCaretMoveUpdate()
{
    ViewHighlightCaretMove->setChecked(FCaretMoveLink->Enabled());
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
    dlgColor->PutColors(FMotionColors);
    if (!FDialogs->Execute(*dlgColor))
        return;
    FMotionColors = dlgColor->GetColors();
    const TWorkProgress::TScope working(*FProgress);
    FBuilder->Rebuild();
    FInspection->Rebuilt();
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
    FCaretMoveLink->SetEnabled(!FCaretMoveLink->Enabled());
    aclMainUpdate();
}

void TGLPlotter::HelpAboutExecute()
{
    TAboutBox about(this);
    FDialogs->Execute(about);
}

void TGLPlotter::LoadSettings()
{
    const TIniFile file(SettingsFileName());
    ReadSettings(file, FMotionColors, Highlighter());
    FCaretMoveLink->SetEnabled(ReadHighlightCaretMove(file));
    FInspection->SetColourBy(ReadColourBy(file));
    ViewColourByFeed->setChecked(FInspection->ColourBy() == TColourBy::FeedRate);
    ViewColourByDepth->setChecked(FInspection->ColourBy() == TColourBy::ZDepth);
    const TReadingSettings reading = ReadReadingSettings(file);
    FDocument->SetReading(reading);
    PlotterLenient->setChecked(reading.Lenient);
    PlotterMachinePath->setChecked(reading.MachinePath);
    PlotterInchDefault->setChecked(reading.InchWhenNoUnits);
}

void TGLPlotter::SaveSettings()
{
    TIniFile file(SettingsFileName());
    TIniFileUpdate update(file);  // one write of the file for everything
    WriteSettings(file, FMotionColors, Highlighter());
    WriteHighlightCaretMove(file, FCaretMoveLink->Enabled());
    WriteColourBy(file, FInspection->ColourBy());
    WriteReadingSettings(file, FDocument->Reading());
    update.Commit();
}

// ---------------------------------------------------------------------------------------------
// The plot

void TGLPlotter::OpenGLPanelStatusText(TOpenGLPanel& /*sender*/, const std::string& /*text*/) {}

void TGLPlotter::FormMouseWheel(int wheelDelta, const QPoint& /*mousePos*/, bool& handled)
{
    // A sideways turn (a tilt wheel, or Alt with the wheel) has no vertical part: no zoom step.
    if (wheelDelta == 0 || !OpenGLPanel->PointerInside())
        return;
    OpenGLPanel->ZoomBy(TPlotView::WheelZoomStep(wheelDelta));
    handled = true;
}

void TGLPlotter::wheelEvent(QWheelEvent* event)
{
    bool handled = false;
    RunGuarded(
        [&] { FormMouseWheel(event->angleDelta().y(), event->position().toPoint(), handled); });
    event->setAccepted(handled);
}

void TGLPlotter::SetLineTable(const std::shared_ptr<TLineTable>& table)
{
    FBuilder->SetLineTable(table);
}

void TGLPlotter::BuildToolpath()
{
    FBuilder->BuildToolpath();
}

bool TGLPlotter::HasInterpreter() const
{
    return FDocument->HasInterpreter();
}

const std::shared_ptr<TLineTable>& TGLPlotter::LineTable() const
{
    return FBuilder->LineTable();
}

namespace {

constexpr int kMarkerLayer = 20;  // over the overlays of the editing tools
constexpr int kMeasureLayer = 21;
constexpr TColor kMeasureColour = clAqua;

}  // namespace

void TGLPlotter::ConnectPlayback()
{
    barPlayback->OnMarker = [this](std::vector<TOverlayShape> marker,
                                   std::optional<std::uint32_t> line, bool) {
        OpenGLPanel->View().SetOverlayLayer(kMarkerLayer, std::move(marker));
        FInspection->ShowProgress(barPlayback->MarkerPlace());
        int caretLine = 0;
        int caretIndex = 0;
        memGCode->getCursorPosition(&caretLine, &caretIndex);
        // The caret follows the marker as it plays, steps or is scrubbed, but stays where the
        // user put it when it is the caret that placed the marker.
        if (!FCaretMovesMarker && line && static_cast<int>(*line) != caretLine) {
            FMarkerMovesCaret = true;
            memGCode->setCursorPosition(static_cast<int>(*line), 0);
            FMarkerMovesCaret = false;
        }
    };
    connect(memGCode, &QsciScintilla::cursorPositionChanged, this,
            [this](int line, int) { RunGuarded([this, line] { PlaybackCaretMoved(line); }); });
    // Keys while the plot has the focus: Space plays and pauses, "," and "." step a block.
    const std::pair<QKeySequence, std::function<void()>> keys[] = {
        {QKeySequence(Qt::Key_Space), [this] { barPlayback->TogglePlay(); }},
        {QKeySequence(Qt::Key_Comma), [this] { barPlayback->StepBack(); }},
        {QKeySequence(Qt::Key_Period), [this] { barPlayback->StepForward(); }}};
    OpenGLPanel->OnMeasureClicked = [this](std::optional<TPoint3f> point) {
        MeasureClicked(point);
    };
    auto* clearMeasure = new QShortcut(QKeySequence(Qt::Key_Escape), OpenGLPanel, nullptr, nullptr,
                                       Qt::WidgetShortcut);
    connect(clearMeasure, &QShortcut::activated, this,
            [this] { RunGuarded([this] { ShowMeasure({}); }); });
    for (const auto& [key, step] : keys) {
        auto* shortcut = new QShortcut(key, OpenGLPanel, nullptr, nullptr, Qt::WidgetShortcut);
        connect(shortcut, &QShortcut::activated, this, [this, step = step] {
            if (barPlayback->isVisible())
                RunGuarded(step);
        });
    }
}

void TGLPlotter::ConnectInspection()
{
    FInspection = new TPlotInspection(*OpenGLPanel, this);
    FInspection->Interpreter = [this] { return FDocument->Interpreter(); };
    // The group keeps one checked from the one checked last; it unchecks none of those added.
    auto* group = new QActionGroup(this);
    for (QAction* action : {ViewColourByMotion, ViewColourByFeed, ViewColourByDepth}) {
        action->setChecked(false);
        group->addAction(action);
    }
    ViewColourByMotion->setChecked(true);
}

void TGLPlotter::ViewColourByExecute()
{
    const TColourBy colourBy = ViewColourByFeed->isChecked()    ? TColourBy::FeedRate
                               : ViewColourByDepth->isChecked() ? TColourBy::ZDepth
                                                                : TColourBy::MotionMode;
    FInspection->SetColourBy(colourBy);
}

void TGLPlotter::ViewPlaybackExecute()
{
    const bool on = ViewPlayback->isChecked();
    barPlayback->setVisible(on);
    FDocument->SetKeepMachineStates(on);
    if (!on) {
        barPlayback->Clear();
        return;
    }
    FDocument->Refresh();
}

void TGLPlotter::PlaybackPlotted(const TGCodeEngine* engine, const TMachineReading* reading)
{
    if (!barPlayback->isVisible())
        return;
    barPlayback->SetMotionColours(FMotionColors);
    const double rapidRate = frmProgramInfo->Summary().RapidRate;
    if (engine != nullptr) {
        barPlayback->SetTranscription(
            std::make_shared<const TMotionList>(TranscriptionMotions(*engine)),
            std::make_shared<const TTableStateIndex>(*engine), rapidRate);
        return;
    }
    const std::shared_ptr<const TMachineStateIndex> states = FDocument->MachineStates();
    if (states == nullptr || reading == nullptr)
        return;
    const double scale = FromMillimetres(reading->Facts.Units);
    barPlayback->SetMachinePath(std::make_shared<const TMotionList>(reading->Motions), states,
                                scale, rapidRate / scale);
}

void TGLPlotter::PlaybackCaretMoved(int line)
{
    if (!barPlayback->isVisible() || FMarkerMovesCaret || line < 0)
        return;
    FCaretMovesMarker = true;
    barPlayback->ShowLine(static_cast<std::uint32_t>(line));
    FCaretMovesMarker = false;
}

void TGLPlotter::MeasureClicked(std::optional<TPoint3f> point)
{
    if (!point)
        return;
    std::vector<TPoint3f> points =
        FMeasurePoints.size() == 1 ? FMeasurePoints : std::vector<TPoint3f>{};
    points.push_back(*point);
    ShowMeasure(std::move(points));
}

void TGLPlotter::ShowMeasure(std::vector<TPoint3f> points)
{
    if (points.empty() && FMeasurePoints.empty())
        return;
    FMeasurePoints = std::move(points);
    OpenGLPanel->View().SetOverlayLayer(kMeasureLayer,
                                        MeasureShapes(FMeasurePoints, kMeasureColour));
    QString text;
    if (FMeasurePoints.size() == 2)
        text = QString::fromStdString(FormatMeasure(FMeasurePoints[0], FMeasurePoints[1]))
                   .trimmed()
                   .replace(QLatin1Char('\n'), QLatin1String("  "));
    barPlayback->SetMeasure(text);
    if (!barPlayback->isVisible())
        statusBar()->showMessage(text);
}
