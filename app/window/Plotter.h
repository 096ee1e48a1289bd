#pragma once
// TGLPlotter: the main window. The G-code editor on the left, the plot panel on the right, the
// menus, tool bar and status bar; every command is a named action. It creates the document
// (the open file and its interpreter), the toolpath builder and the watcher, wires them to the
// actions, and reads and writes the settings.

#include "app/dialogs/UserDialogs.h"
#include "common/Color.h"
#include "common/Guard.h"
#include "common/Point.h"
#include "settings/RecentFiles.h"

#include <QMainWindow>
#include <QStringList>

#include <array>
#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QAction;
class QFrame;
class QLabel;
class QMenu;
class QSplitter;
class QTabWidget;
class QToolBar;
class TATFileNotification;
class TCaretMoveLink;
class TFailedLineMark;
class TGCodeEditor;
class TDocument;
class TFindBar;
class THighlighter;
class TGCodeEngine;
class TLineTable;
struct TMachineReading;
struct TPathPlan;
class TOpenGLPanel;
class TPlaybackBar;
class TPlotInspection;
class TToolpathBuilder;
class TWorkProgress;
class TdlgColor;
class TProgramInfoWindow;
class TCompareWindow;
class TWordHelpTips;

class TGLPlotter : public QMainWindow
{
    Q_OBJECT

public:
    // arguments are the command-line arguments after the program name; the first names a file
    // to open. dialogs answers every question and file dialog (the real boxes when null).
    explicit TGLPlotter(const QStringList& arguments = {},
                        std::unique_ptr<TUserDialogs> dialogs = nullptr, QWidget* parent = nullptr);
    ~TGLPlotter() override;

    // Opens a G-code file into the editor and plots it.
    void LoadFile(const QString& name);

    // The toolpath builder: SetLineTable empties the panel, keeps the table and builds the
    // plot from it; BuildToolpath walks the kept table and adds one segment per row with a
    // coordinate, keeping the panel's extent in step with the largest X or Y.
    void SetLineTable(const std::shared_ptr<TLineTable>& table);
    void BuildToolpath();

    void LoadSettings();
    void SaveSettings();

    // The wheel turns that reach the window: they zoom the plot while the pointer is inside
    // the panel; a turn with no vertical part (wheelDelta 0) is no zoom step.
    void FormMouseWheel(int wheelDelta, const QPoint& mousePos, bool& handled);

    // The top-level error handler: shows the message in the error box, with a final "." added
    // when the message ends in a character that sorts after "."; with failedLine, the editor
    // then marks that line with the message and takes the focus.
    void ShowErrorMessage(const QString& message,
                          std::optional<std::size_t> failedLine = std::nullopt);

    TGCodeEditor& Editor() const { return *memGCode; }
    THighlighter& Highlighter() const;
    TOpenGLPanel& Panel() const { return *OpenGLPanel; }
    TATFileNotification& Watcher() const { return *ATFileNotification1; }
    const std::array<TColor, 4>& MotionColors() const { return FMotionColors; }
    bool HasInterpreter() const;
    const std::shared_ptr<TLineTable>& LineTable() const;
    const TFailedLineMark& FailedLineMark() const { return *FFailedLineMark; }
    const TWordHelpTips& WordHelpTips() const { return *FWordHelpTips; }
    TCompareWindow* CompareWindow() const { return frmCompare; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct TActionEntry;
    struct TMenuEntry;
    static const TActionEntry kActions[];
    static const TMenuEntry kMenus[];
    static QAction* TGLPlotter::*const kToolBar[];
    static QAction* TGLPlotter::*const kPlotShortcuts[];

    // Construction, in order.
    void CreateComponents();
    void CreateActions();
    void CreatePlotShortcuts();
    void CreateMenus();
    void CreateToolBar();
    void ConnectUpdates();
    void FormCreate(const QStringList& arguments);
    void FormDestroy();

    void RunAction(QAction& action, void (TGLPlotter::*handler)());
    // Every Qt callback of the window runs its work in here: an exception goes to ShowException.
    template <class TStep>
    void RunGuarded(TStep&& step);
    // The top-level error routine, called inside a catch block: shows the exception's message,
    // and marks the failed line of a run that stopped at an error.
    void ShowException();

    // Action handlers.
    void FileNew1Execute();
    void FileOpen1Execute();
    void itmFileOpenAccept(const QString& name);
    void itmFileSaveExecute();
    void FileSaveAs1Execute();
    void FileExit1Execute();
    void EditorDisplaySyntaxExecute();
    void EditorColorsExecute();
    void itmEditUndoExecute();
    void itmEditCutExecute();
    void itmEditCopyExecute();
    void itmEditPasteExecute();
    void itmEditDeleteExecute();
    void itmEditSelectAllExecute();
    void PlotterRefreshExecute();
    // Lenient Reading, Machine Path or the default units changed: the document reads with the
    // actions' states from now on, and the plot is refreshed.
    void PlotterReadingExecute();
    void ViewProgramInfoExecute();
    void itmSettingsResetDrawingExecute();
    void itmSettingsColorsExecute();
    void ViewFitToViewExecute();
    void ViewTopExecute();
    void ViewFrontExecute();
    void ViewRightExecute();
    void ViewIsometricExecute();
    void ViewHighlightCaretMoveExecute();
    // View > Colour By: the plot takes the colours of the choice checked.
    void ViewColourByExecute();
    void ConnectInspection();
    void EditRedo1Execute();
    void EditFind1Execute();
    void EditFindNext1Execute();
    void EditFindPrevious1Execute();
    void EditReplace1Execute();
    void EditGoToLine1Execute();
    void FileClearRecent1Execute();
    // A file chosen in File > Open Recent; one that is gone leaves the list with a note.
    void OpenRecentFile(const QString& name);
    void HelpAboutExecute();
    void EditRenumber1Execute();
    void EditTidy1Execute();
    void EditTransform1Execute();
    void FileCompare1Execute();
    // View > Playback: the bar under the plot shows or goes, and the plot is read again so that
    // the machine path keeps its states.
    void ViewPlaybackExecute();
    // Gives the playback bar the reading just plotted: the transcription's engine or the
    // machine path's reading.
    void ConnectPlayback();
    void PlaybackPlotted(const TGCodeEngine* engine, const TMachineReading* reading);
    // The caret went to a line: the marker goes to the end of its move.
    void PlaybackCaretMoved(int line);
    // Measuring: a Shift+click adds a point (a third starts again), Esc and a new plot clear
    // them; the figures go to the playback readout, or the status bar while it is hidden.
    void MeasureClicked(std::optional<TPoint3f> point);
    void ShowMeasure(std::vector<TPoint3f> points);

    // The editor's lines, and a change of them as one undo step.
    std::vector<std::string> EditorLines() const;
    void ApplyLines(const std::vector<std::string>& lines);
    // Draws a program's path over the plot in one colour; no lines removes it.
    void ShowOverlay(const std::vector<std::string>& lines, TColor colour);

    // Update rules.
    void aclMainUpdate();
    void itmFileSaveUpdate();
    void EditorDisplaySyntaxUpdate();
    void ViewHighlightCaretMoveUpdate();

    void ATFileNotification1Changed();
    void FormCloseQuery(bool& canClose);
    void OpenGLPanelStatusText(TOpenGLPanel& sender, const std::string& text);
    // A run that succeeded clears the failed line's mark; a failed one is marked by the error
    // routine once its error box has been closed.
    void RunEnded(std::optional<std::size_t> failedLine);
    // A machine path reading went to the plot: Program Info and the status bar's note follow.
    void MachinePlotted(const TMachineReading& reading, const TPathPlan& plan);

    std::unique_ptr<TUserDialogs> FDialogs;

    std::array<TColor, 4> FMotionColors;
    std::unique_ptr<TToolpathBuilder> FBuilder;
    TWorkProgress* FProgress = nullptr;
    std::unique_ptr<TDocument> FDocument;
    bool FClipboardHasText = false;
    TRecentFiles FRecentFiles;

    // The actions, made from kActions.
    QAction* FileNew1 = nullptr;
    QAction* FileOpen1 = nullptr;
    QAction* FileSave1 = nullptr;
    QAction* FileSaveAs1 = nullptr;
    QAction* EditorDisplaySyntax = nullptr;
    QAction* EditCut1 = nullptr;
    QAction* EditCopy1 = nullptr;
    QAction* EditPaste1 = nullptr;
    QAction* PlotterRefresh = nullptr;
    QAction* PlotterResetOrigin = nullptr;
    QAction* DisplayColors1 = nullptr;
    QAction* EditSelectAll1 = nullptr;
    QAction* EditUndo1 = nullptr;
    QAction* EditDelete1 = nullptr;
    QAction* FileExit1 = nullptr;
    QAction* EditorColors = nullptr;
    QAction* ViewFitToView = nullptr;
    QAction* ViewTop = nullptr;
    QAction* ViewFront = nullptr;
    QAction* ViewRight = nullptr;
    QAction* ViewIsometric = nullptr;
    QAction* ViewHighlightCaretMove = nullptr;
    QAction* ViewColourByMotion = nullptr;
    QAction* ViewColourByFeed = nullptr;
    QAction* ViewColourByDepth = nullptr;
    QAction* PlotterLenient = nullptr;
    QAction* EditRenumber1 = nullptr;
    QAction* EditTidy1 = nullptr;
    QAction* EditTransform1 = nullptr;
    QAction* FileCompare1 = nullptr;
    QAction* ViewPlayback = nullptr;
    QAction* PlotterMachinePath = nullptr;
    QAction* PlotterInchDefault = nullptr;
    QAction* ViewProgramInfo = nullptr;
    QAction* EditRedo1 = nullptr;
    QAction* EditFind1 = nullptr;
    QAction* EditFindNext1 = nullptr;
    QAction* EditFindPrevious1 = nullptr;
    QAction* EditReplace1 = nullptr;
    QAction* EditGoToLine1 = nullptr;
    QAction* FileClearRecent1 = nullptr;
    QAction* HelpAbout = nullptr;

    QToolBar* ToolBar1 = nullptr;
    QFrame* pnlTop = nullptr;
    QSplitter* Splitter2 = nullptr;
    QTabWidget* pgcGCode = nullptr;
    QWidget* tabOriginal = nullptr;
    TGCodeEditor* memGCode = nullptr;
    QFrame* pnlOpenGL = nullptr;
    TOpenGLPanel* OpenGLPanel = nullptr;
    std::unique_ptr<TOpenGLPanel> FDetachedPanel;  // the panel when no OpenGL can show it
    QMenu* pmuGCode = nullptr;
    TATFileNotification* ATFileNotification1 = nullptr;
    TdlgColor* dlgColor = nullptr;
    TCaretMoveLink* FCaretMoveLink = nullptr;
    TFailedLineMark* FFailedLineMark = nullptr;
    TProgramInfoWindow* frmProgramInfo = nullptr;
    QLabel* lblPreviousPlot = nullptr;
    QLabel* lblSkipped = nullptr;
    TFindBar* FFindBar = nullptr;
    TWordHelpTips* FWordHelpTips = nullptr;
    TCompareWindow* frmCompare = nullptr;  // while one is open
    TPlaybackBar* barPlayback = nullptr;
    TPlotInspection* FInspection = nullptr;
    bool FMarkerMovesCaret = false;  // the caret follows the marker, and no move of it counts
    bool FCaretMovesMarker = false;  // the marker goes to the caret's line, which stays
    std::vector<TPoint3f> FMeasurePoints;
};

template <class TStep>
void TGLPlotter::RunGuarded(TStep&& step)
{
    Guarded(step, [this] { ShowException(); });
}
