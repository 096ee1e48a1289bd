#include "watch/FileSnapshot.h"

#include "watch/NotifyOptions.h"

#include <fcntl.h>
#include <sys/stat.h>

namespace {
constexpr std::uint64_t kNanosecondsPerSecond = 1'000'000'000;
constexpr unsigned kBitsPerHalf = 32;

std::uint64_t Nanoseconds(const statx_timestamp& time)
{
    return static_cast<std::uint64_t>(time.tv_sec) * kNanosecondsPerSecond + time.tv_nsec;
}

bool Selected(std::uint32_t filter, std::uint32_t bit, bool differs)
{
    return (filter & bit) != 0 && differs;
}
}  // namespace

TFileSnapshot TakeSnapshot(const std::string& path)
{
    struct statx entry
    {};
    constexpr unsigned kWanted = STATX_SIZE | STATX_MODE | STATX_MTIME | STATX_BTIME | STATX_ATIME;
    if (path.empty() || statx(AT_FDCWD, path.c_str(), AT_STATX_SYNC_AS_STAT, kWanted, &entry) != 0)
        return {};

    TFileSnapshot snapshot;
    snapshot.exists = true;
    if (entry.stx_mask & STATX_SIZE) {
        snapshot.sizeLow = static_cast<std::uint32_t>(entry.stx_size);
        snapshot.sizeHigh = static_cast<std::uint32_t>(entry.stx_size >> kBitsPerHalf);
    }
    if (entry.stx_mask & STATX_MODE)
        snapshot.attributes = entry.stx_mode;
    if (entry.stx_mask & STATX_MTIME)
        snapshot.lastWriteTime = Nanoseconds(entry.stx_mtime);
    if (entry.stx_mask & STATX_BTIME)
        snapshot.creationTime = Nanoseconds(entry.stx_btime);
    if (entry.stx_mask & STATX_ATIME)
        snapshot.lastAccessTime = Nanoseconds(entry.stx_atime);
    return snapshot;
}

bool SnapshotChanged(const std::string& path, std::uint32_t filter, TFileSnapshot& stored)
{
    const TFileSnapshot current = TakeSnapshot(path);
    // File names have no field of their own: they count through existence.
    const bool changed =
        current.exists != stored.exists ||
        Selected(filter, kNotifyAttributes, current.attributes != stored.attributes) ||
        Selected(filter, kNotifySize,
                 current.sizeLow != stored.sizeLow || current.sizeHigh != stored.sizeHigh) ||
        Selected(filter, kNotifyLastWrite, current.lastWriteTime != stored.lastWriteTime) ||
        Selected(filter, kNotifyLastAccess, current.lastAccessTime != stored.lastAccessTime) ||
        Selected(filter, kNotifyCreation, current.creationTime != stored.creationTime);
    if (changed)
        stored = current;
    return changed;
}
