#pragma once
// What the watcher remembers of one file, so that a wake-up in its folder is reported only when
// the file itself changed. Times are nanoseconds since the epoch; a field the file system cannot
// give stays zero, and a missing file gives an all-zero snapshot.

#include <cstdint>
#include <string>

struct TFileSnapshot
{
    bool exists = false;
    std::uint32_t sizeLow = 0;
    std::uint32_t sizeHigh = 0;
    std::uint32_t attributes = 0;  // the mode bits
    std::uint64_t lastWriteTime = 0;
    std::uint64_t creationTime = 0;
    std::uint64_t lastAccessTime = 0;

    bool operator==(const TFileSnapshot&) const = default;
};

// Looks the file up; a file that cannot be looked up counts as missing.
TFileSnapshot TakeSnapshot(const std::string& path);

// Takes a new snapshot and compares it with stored in the fields that filter selects (existence
// always counts). When it differs, stored becomes the new snapshot. Returns whether it differed.
bool SnapshotChanged(const std::string& path, std::uint32_t filter, TFileSnapshot& stored);
