#include "app/document/Document.h"

#include "app/dialogs/UserDialogs.h"
#include "app/document/DocumentFile.h"
#include "app/document/RecoveryKeeper.h"
#include "app/window/WorkProgress.h"
#include "editor/GCodeEditor.h"
#include "gcode/GCodeEngine.h"
#include "gcode/RunAhead.h"
#include "machine/MachineReader.h"
#include "machine/Plan.h"
#include "playback/MachineStateIndex.h"
#include "plot/ToolpathBuilder.h"
#include "watch/ATFileNotification.h"

#include <QFileInfo>
#include <QWidget>

#include <exception>

namespace {

const QString kTitle = QStringLiteral("Zorvit");
// How the recovery question names a text without a file.
const QString kUntitledName = QStringLiteral("Untitled");

}  // namespace

QString DocumentTitle(const QString& fileName)
{
    return fileName.isEmpty() ? kTitle : QStringLiteral("%1 - %2").arg(kTitle, fileName);
}

TDocument::TDocument(QWidget& window, TGCodeEditor& editor, TATFileNotification& watcher,
                     TToolpathBuilder& builder, TUserDialogs& dialogs, TWorkProgress& progress,
                     std::function<void()> showException)
    : FWindow(window), FEditor(editor), FWatcher(watcher), FBuilder(builder), FDialogs(dialogs),
      FProgress(progress), FShowException(std::move(showException)),
      FRecovery(new TRecoveryKeeper(
          editor, [&watcher] { return watcher.FileName(); }, FShowException, &editor))
{}

TDocument::~TDocument() = default;

void TDocument::NewInterpreter()
{
    FEngine = std::make_unique<TGCodeEngine>();
    FEngine->OnProgress = [this](std::size_t done, std::size_t total) {
        FProgress.Report(kStageInterpreting, done, total);
    };
}

void TDocument::LoadFile(const QString& name)
{
    const TWorkProgress::TScope working(FProgress);
    {
        // Opened first, so that a file that cannot be opened changes nothing. The editor reads
        // it part by part: the whole file is never held twice.
        TDocumentFileReader file(name);
        if (FEngine) {
            // The kept table still holds the last plot, for the plot and a rebuild in new colours.
            FEngine.reset();
            FEditor.ClearAll();
        }
        NewInterpreter();
        const std::size_t size = file.Size();
        if (!FReading.MachinePath) {
            FEngine->SetLenient(FReading.Lenient);
            FRunAhead = std::make_unique<TRunAhead>(*FEngine, size);
        }
        std::size_t loaded = 0;
        try {
            FEditor.SetTextFrom(
                size,
                [this, &file, &loaded, size] {
                    const std::string_view part = file.NextPart();
                    // A file that grew since it was opened makes the editor move its text.
                    loaded += part.size();
                    if (loaded > size)
                        FRunAhead.reset();
                    return part;
                },
                [this](std::size_t done, std::size_t total) {
                    FProgress.Report(kStageReading, done, total);
                },
                [this](std::string_view textSoFar) {
                    if (FRunAhead)
                        FRunAhead->Publish(textSoFar);
                });
        } catch (...) {
            // A read that fails part of the way leaves no part of the file under the name of
            // the file before, which Save would overwrite: the window goes back to no file.
            FRunAhead.reset();
            FEngine.reset();
            Clear();
            throw;
        }
    }
    try {
        FWindow.setWindowTitle(DocumentTitle(name));
        // The watcher follows the text in the editor from here on, also when the interpreter
        // fails below, so that Save never writes this text into the file opened before.
        FWatcher.Stop();
        FWatcher.SetFileName(name);
        FWatcher.Start();
        if (OnFileNamed)
            OnFileNamed(name);
        OfferRecovery(name);
    } catch (...) {
        FRunAhead.reset();
        throw;
    }
    RunAndPlot();
}

void TDocument::OfferRecovery(const QString& name)
{
    const std::optional<QByteArray> copy = FRecovery->NewerCopy(name);
    if (!copy)
        return;
    if (*copy != FEditor.TextBytes() &&
        FDialogs.Ask(QStringLiteral("Recover unsaved changes to %1?")
                         .arg(name.isEmpty() ? kUntitledName : name),
                     false) == TAnswer::Yes) {
        FRunAhead.reset();
        FEditor.SetTextBytes(*copy);
        FEditor.SetModified(true);
        FRecovery->Adopt(name);
        return;
    }
    FRecovery->Remove(name);
}

void TDocument::Refresh()
{
    const TWorkProgress::TScope working(FProgress);
    if (!FEngine)
        NewInterpreter();
    RunAndPlot();
}

void TDocument::RunAndPlot()
{
    if (FReading.MachinePath) {
        ReadMachinePath();
        return;
    }
    try {
        if (FRunAhead) {
            const std::unique_ptr<TRunAhead> ahead = std::move(FRunAhead);
            ahead->Finish(FEditor.CharacterData());
        } else {
            FEngine->SetLenient(FReading.Lenient);
            FEngine->RunText(FEditor.CharacterData());
        }
    } catch (const std::exception& error) {
        const std::optional<std::size_t> failedLine = FEngine->FailedLine();
        if (OnRunEnded)
            OnRunEnded(failedLine);
        throw ERunError(error.what(), failedLine);
    }
    if (OnRunEnded)
        OnRunEnded(std::nullopt);
    FBuilder.SetLineTable(FEngine->Table(), FEngine->RowSourceLines());
    if (OnPlotted)
        OnPlotted(*FEngine);
}

void TDocument::ReadMachinePath()
{
    const TLengthUnits defaultUnits =
        FReading.InchWhenNoUnits ? TLengthUnits::Inches : TLengthUnits::Millimetres;
    TMachineReader reader(defaultUnits);
    std::shared_ptr<TMachineStateIndex> states;
    if (FKeepMachineStates) {
        states = std::make_shared<TMachineStateIndex>(0, defaultUnits);
        reader.OnLineRead = [&states](std::size_t line, const TMachine& machine) {
            states->Record(line, machine);
        };
    }
    reader.OnProgress = [this](std::size_t done, std::size_t total) {
        FProgress.Report(kStageInterpreting, done, total);
    };
    // "o<name> call" finds name.ngc beside the open file.
    if (const QString file = FWatcher.FileName(); !file.isEmpty())
        reader.SubroutineFolder = QFileInfo(file).absolutePath().toStdString();
    FCancel = false;
    reader.Cancel = &FCancel;
    FProgress.SetCanceller([this] { FCancel = true; });
    std::optional<std::string> failure;
    try {
        reader.Run(FEditor.LinesView());
    } catch (const EMachineCancelled&) {
        // Cancelling is no error: the motions read so far are plotted and nothing is marked.
    } catch (const std::exception& error) {
        failure = error.what();
    }
    FProgress.SetCanceller({});
    const TMachineReading reading = reader.TakeResult();
    const auto plan =
        std::make_shared<const TPathPlan>(TPathPlanner::Plan(reading.Motions, reading.Facts.Units));
    FBuilder.SetPlan(plan);
    FMachineStates = std::move(states);
    if (OnRunEnded)
        OnRunEnded(failure ? reading.FailedLine : std::nullopt);
    if (OnMachinePlotted)
        OnMachinePlotted(reading, *plan);
    if (failure)
        throw ERunError(*failure, reading.FailedLine);
}

void TDocument::Clear()
{
    FWatcher.Stop();
    FWatcher.SetFileName(QString());
    FEditor.ClearAll();
    FWindow.setWindowTitle(DocumentTitle(QString()));
}

bool TDocument::QuerySaveChanges()
{
    if (!FEditor.Modified())
        return true;
    switch (FDialogs.Ask(QStringLiteral("Save changes before closing?"), true)) {
    case TAnswer::Cancel:
        return false;
    case TAnswer::No:
        FRecovery->Discard();
        return true;
    case TAnswer::Yes:
        // An error while saving is shown here; the text then stays, as after a cancelled dialog.
        try {
            Save();
        } catch (...) {
            FShowException();
        }
        return !FEditor.Modified();
    }
    return false;
}

void TDocument::WriteFile(const QString& name)
{
    WriteDocumentFile(name, FEditor.TextBytes());
}

void TDocument::Save()
{
    if (!FEditor.Modified())
        return;
    const QString name = FWatcher.FileName();
    if (name.isEmpty()) {
        RunSaveAsDialog();
        return;
    }
    // Stopped around our own write, so that it is not reported as an outside change; after a
    // failed write it stays stopped.
    FWatcher.Stop();
    WriteFile(name);
    FEditor.SetModified(false);
    FWatcher.Start();
}

bool TDocument::RunSaveAsDialog()
{
    const auto name = FDialogs.SaveName();
    if (!name)
        return false;
    if (DocumentFileExists(*name) &&
        FDialogs.Ask(QStringLiteral("%1 already exists.\nDo you want to replace it?").arg(*name),
                     false) != TAnswer::Yes)
        return false;
    SaveAs(*name);
    return true;
}

void TDocument::SaveAs(const QString& name)
{
    FWatcher.Stop();
    WriteFile(name);
    FWatcher.SetFileName(name);
    FEditor.SetModified(false);
    FWatcher.Start();
    FWindow.setWindowTitle(DocumentTitle(name));
    if (OnFileNamed)
        OnFileNamed(name);
}

void TDocument::FileChanged()
{
    FReloadPrompt.FileChanged([this] {
        const QString name = FWatcher.FileName();
        if (FDialogs.Ask(QStringLiteral("File %1 has changed. Reload?").arg(name), false) !=
            TAnswer::Yes)
            return false;
        FWatcher.Stop();
        LoadFile(name);
        return true;
    });
}
