#pragma once
// TDocument: the life of the open G-code document, from open to save. It reads a file into the
// editor and runs the interpreter, or the machine path's reader (as the reading settings say),
// over the editor's lines into the plot, writes the text back, asks before unsaved text is
// dropped, keeps the watcher on the file and the window's title in step with the file's name,
// offers a reload when another program changes the file, and keeps a recovery copy of a text
// that is not saved.

#include "app/document/ReloadPrompt.h"
#include "common/Error.h"
#include "settings/ReadingSettings.h"

#include <QString>

#include <atomic>
#include <cstddef>
#include <functional>
#include <memory>
#include <optional>

class QWidget;
class TATFileNotification;
class TGCodeEditor;
class TGCodeEngine;
class TMachineStateIndex;
class TRecoveryKeeper;
class TRunAhead;
struct TMachineReading;
struct TPathPlan;
class TToolpathBuilder;
class TUserDialogs;
class TWorkProgress;

// A run of the interpreter that stopped at an error: its message, and the line it stopped on
// for the window's error routine to mark.
class ERunError : public EZorvitError
{
public:
    ERunError(const std::string& message, std::optional<std::size_t> failedLine)
        : EZorvitError(message), FFailedLine(failedLine)
    {}
    std::optional<std::size_t> FailedLine() const { return FFailedLine; }

private:
    std::optional<std::size_t> FFailedLine;
};

// The window title for a document: the program's name, and the file's name once there is one.
QString DocumentTitle(const QString& fileName);

class TDocument
{
public:
    // window gets the title; showException reports the exception being handled (it is called
    // inside a catch block) for the steps that must go on after a failure. progress shows how
    // far a long open or refresh has come.
    TDocument(QWidget& window, TGCodeEditor& editor, TATFileNotification& watcher,
              TToolpathBuilder& builder, TUserDialogs& dialogs, TWorkProgress& progress,
              std::function<void()> showException);
    ~TDocument();
    TDocument(const TDocument&) = delete;
    TDocument& operator=(const TDocument&) = delete;

    // Opens a G-code file into the editor and plots it; a file that cannot be read changes
    // nothing.
    void LoadFile(const QString& name);
    // Runs the interpreter again over the editor's lines and plots its table.
    void Refresh();
    // Drops the text and the file: an empty, untitled document that is not watched.
    void Clear();

    // Asks "Save changes before closing?" while the text is modified; true when the caller may
    // go on and drop the text (saved, or the user said No).
    bool QuerySaveChanges();
    // Writes a modified text to its file, or asks for a name when it has none.
    void Save();
    // The Save As dialog with its overwrite question; true when the text was saved.
    bool RunSaveAsDialog();
    // Writes the text to name, which becomes the document's file.
    void SaveAs(const QString& name);
    // Offers the recovery copy of the file (empty: of an untitled text) when it is newer than
    // the file: "Recover unsaved changes to %s?". Yes puts the copy's text into the editor,
    // modified; No removes the copy.
    void OfferRecovery(const QString& name);
    // The watcher saw the file change: asks whether to reload it, at most one question at a time.
    void FileChanged();

    bool HasInterpreter() const { return FEngine != nullptr; }
    // The interpreter of the last run, none after a new file dropped it.
    const TGCodeEngine* Interpreter() const { return FEngine.get(); }

    // Told after every run of the interpreter: the 0-based line it failed at, none after a
    // successful run. A failure is told before its ERunError goes on to the caller.
    std::function<void(std::optional<std::size_t> failedLine)> OnRunEnded;
    // How the runs from now on read the program: lenient or strict transcription, or the
    // machine path.
    void SetReading(const TReadingSettings& reading) { FReading = reading; }
    const TReadingSettings& Reading() const { return FReading; }
    // Called after every run whose table went to the plot.
    std::function<void(const TGCodeEngine&)> OnPlotted;
    // Called after every machine path reading, also a failed or cancelled one, once its plan
    // went to the plot.
    std::function<void(const TMachineReading&, const TPathPlan&)> OnMachinePlotted;
    // While set, machine path readings keep the machine's state after each line, for playback.
    void SetKeepMachineStates(bool keep) { FKeepMachineStates = keep; }
    // The states of the last machine path reading, when kept; told before OnMachinePlotted.
    std::shared_ptr<const TMachineStateIndex> MachineStates() const { return FMachineStates; }
    // Raised with the file's name whenever the document takes a file: opened, reloaded or
    // saved under a new name.
    std::function<void(const QString& name)> OnFileNamed;

private:
    void WriteFile(const QString& name);
    // Interprets the editor's lines and plots the table.
    void RunAndPlot();
    // Reads the editor's lines as a machine does and plots the plan of the motions read. Esc
    // or the progress's Cancel button stops the reading at its next progress step, and what
    // was read until then is plotted.
    void ReadMachinePath();
    void NewInterpreter();

    QWidget& FWindow;
    TGCodeEditor& FEditor;
    TATFileNotification& FWatcher;
    TToolpathBuilder& FBuilder;
    TUserDialogs& FDialogs;
    TWorkProgress& FProgress;
    std::function<void()> FShowException;
    std::unique_ptr<TGCodeEngine> FEngine;
    // Interprets the text of a file while it loads, until RunAndPlot takes its result; dropped
    // before anything else changes the text.
    std::unique_ptr<TRunAhead> FRunAhead;
    TReadingSettings FReading;
    std::atomic<bool> FCancel = false;
    bool FKeepMachineStates = false;
    std::shared_ptr<const TMachineStateIndex> FMachineStates;
    TReloadPrompt FReloadPrompt;
    TRecoveryKeeper* FRecovery;
};
