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

namespace
{
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
    : directory_(std::move(directory)),
      fileName_(std::move(fileName)),
      subtree_(subtree),
      filter_(filter),
      timer_(timer)
{
    watch_ = OpenWatch();
    if (watch_)
        thread_ = std::thread(&TDirThread::Execute, this);
}

TDirThread::~TDirThread()
{
    // The stop event cannot fail to be signalled (its counter never nears its limit), so this
    // always returns once the run has.
    if (thread_.joinable())
        End();
}

void TDirThread::End()
{
    terminated_.store(true);
    stopEvent_.Signal();
    if (thread_.joinable())
        thread_.join();
}

std::unique_ptr<TDirectoryWatch> TDirThread::OpenWatch()
{
    std::string directory = directory_;
    bool subtree = subtree_;
    std::uint32_t filter = filter_;
    if (FileMode()) {
        // A bare file name names a file in the current directory: watch that, or a file opened
        // by a relative name would go unwatched.
        const std::string fileDirectory = DirectoryOf(fileName_);
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
        snapshot_ = TakeSnapshot(fileName_);
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
    while (!terminated_.load() && WaitForWakeUp()) {
        // Drain every event even while a notice is pending, so the next wake-up is a new change.
        const TDirectoryWatch::TEvents events = watch_->ReadEvents();
        if (events.matched && (!FileMode() || SnapshotChanged(fileName_, filter_, snapshot_)))
            timer_.Arm();
        if (events.lost)
            return;
    }
}

// Sleeps until the stop event or the directory is signalled; false for the stop event. Any other
// outcome counts as a change.
bool TDirThread::WaitForWakeUp()
{
    pollfd handles[] = {{stopEvent_.Handle(), POLLIN, 0}, {watch_->Handle(), POLLIN, 0}};
    while (poll(handles, std::size(handles), kWaitForever) < 0)
        if (errno != EINTR)
            throw EWatchError("Cannot wait for folder changes. " +
                              std::generic_category().message(errno));
    return (handles[0].revents & POLLIN) == 0;
}
