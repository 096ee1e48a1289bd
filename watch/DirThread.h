#pragma once
// The watcher's worker: a thread that sleeps until its directory changes or it is told to stop.
// In directory mode every wake-up of a selected kind arms the notice timer; in file mode (a file
// name is given) its folder is watched and only a change of the file itself arms it.

#include "watch/FileSnapshot.h"
#include "watch/StopEvent.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <thread>

class TDirectoryWatch;
class TNoticeTimer;

// The folder part of path: up to its last "/", that "/" itself only for a file in the root.
// A name without a folder gives the empty text.
std::string DirectoryOf(std::string_view path);

class TDirThread
{
public:
    // Starts watching at once. The directory is set up and the file's first snapshot taken before
    // the constructor returns, so that no change made after it is missed. A directory that cannot
    // be watched leaves a worker that has ended, after an error box; an empty one, silently.
    TDirThread(std::string directory, TNoticeTimer& timer, std::uint32_t filter, bool subtree,
               std::string fileName);
    ~TDirThread();  // ends the worker
    TDirThread(const TDirThread&) = delete;
    TDirThread& operator=(const TDirThread&) = delete;

    // Asks the worker to terminate, signals its stop event and waits until its run has returned.
    void End();

private:
    bool FileMode() const { return !FFileName.empty(); }
    std::unique_ptr<TDirectoryWatch> OpenWatch();
    void Execute() noexcept;
    void WaitForChanges();
    bool WaitForWakeUp();

    const std::string FDirectory;
    const std::string FFileName;
    TStopEvent FStopEvent;
    const bool FSubtree;
    const std::uint32_t FFilter;
    TNoticeTimer& FTimer;

    std::atomic<bool> FTerminated{false};
    TFileSnapshot FSnapshot;
    std::unique_ptr<TDirectoryWatch> FWatch;
    std::thread FThread;
};
