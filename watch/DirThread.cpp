#include "watch/DirThread.h"

#include "watch/DirectoryWatch.h"
#include "watch/NoticeTimer.h"
#include "watch/NotifyOptions.h"
#include "watch/ThreadErrorBox.h"

#include <QString>

#include <cerrno>
#include <iterator>
#include <poll.h>
#include <system_error>

namespace {
constexpr char kSeparator = '/';
constexpr int kWaitForever = -1;
constexpr std::string_view kCurrentDirectory = ".";
}  // namespace

std::string DirectoryOf(std::string_view path)
{
    const std::size_t separator = path.rfind(kSeparator);
    if (separator == std::string_view::npos)
        return {};
    // Keep the separator only when it is the root itself.
    return std::string(path.substr(0, separator == 0 ? 1 : separator));
}

TDirThread::TDirThread(std::string directory, TNoticeTimer& timer, std::uint32_t filter,
                       bool subtree, std::string fileName)
    : FDirectory(std::move(directory)), FFileName(std::move(fileName)), FSubtree(subtree),
      FFilter(filter), FTimer(timer)
{
    FWatch = OpenWatch();
    if (FWatch)
        FThread = std::thread(&TDirThread::Execute, this);
}

TDirThread::~TDirThread()
{
    // The stop event cannot fail to be signalled (its counter never nears its limit), so this
    // always returns once the run has.
    if (FThread.joinable())
        End();
}

void TDirThread::End()
{
    FTerminated.store(true);
    FStopEvent.Signal();
    if (FThread.joinable())
        FThread.join();
}

std::unique_ptr<TDirectoryWatch> TDirThread::OpenWatch()
{
    std::string directory = FDirectory;
    bool subtree = FSubtree;
    std::uint32_t filter = FFilter;
    if (FileMode()) {
        // A bare file name names a file in the current directory: watch that, or a file opened
        // by a relative name would go unwatched.
        const std::string fileDirectory = DirectoryOf(FFileName);
        directory = fileDirectory.empty() ? std::string(kCurrentDirectory) : fileDirectory;
        subtree = false;
        filter &= ~(kNotifyDirName | kNotifySecurity);
    }
    if (directory.empty())
        return nullptr;  // nothing to watch

    std::unique_ptr<TDirectoryWatch> watch;
    try {
        watch = std::make_unique<TDirectoryWatch>(directory, subtree, filter);
    } catch (const EWatchError& error) {
        TThreadErrorBox::Show(QString::fromLocal8Bit(error.what()));
        return nullptr;
    }
    // The snapshot comes after the watch is in place, so a change in between is still heard.
    if (FileMode())
        FSnapshot = TakeSnapshot(FFileName);
    return watch;
}

void TDirThread::Execute() noexcept
{
    try {
        WaitForChanges();
    } catch (...) {
        TThreadErrorBox::Show(QStringLiteral("Exception while waiting for notification"));
    }
}

void TDirThread::WaitForChanges()
{
    while (!FTerminated.load() && WaitForWakeUp()) {
        // Drain every event even while a notice is pending, so the next wake-up is a new change.
        const TDirectoryWatch::TEvents events = FWatch->ReadEvents();
        if (events.matched && (!FileMode() || SnapshotChanged(FFileName, FFilter, FSnapshot)))
            FTimer.Arm();
        if (events.lost)
            return;
    }
}

// Sleeps until the stop event or the directory is signalled; false for the stop event. Any other
// outcome counts as a change.
bool TDirThread::WaitForWakeUp()
{
    pollfd handles[] = {{FStopEvent.Handle(), POLLIN, 0}, {FWatch->Handle(), POLLIN, 0}};
    while (poll(handles, std::size(handles), kWaitForever) < 0)
        if (errno != EINTR)
            throw EWatchError("Cannot wait for folder changes. " +
                              std::generic_category().message(errno));
    return (handles[0].revents & POLLIN) == 0;
}
