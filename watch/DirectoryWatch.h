#pragma once
// inotify on one directory (and, for a subtree, on every directory below it), listening for the
// kinds of change that a notify filter selects. The handle becomes readable when something
// happens; ReadEvents drains it and says whether any of it was of a selected kind.

#include "common/Error.h"

#include <cstdint>
#include <string>
#include <unordered_map>

class EWatchError : public EZorvitError
{
public:
    using EZorvitError::EZorvitError;
};

class TDirectoryWatch
{
public:
    // Throws EWatchError when the directory cannot be watched (missing, not a directory, no
    // inotify instance or watch left).
    TDirectoryWatch(const std::string& directory, bool subtree, std::uint32_t filter);
    ~TDirectoryWatch();
    TDirectoryWatch(const TDirectoryWatch&) = delete;
    TDirectoryWatch& operator=(const TDirectoryWatch&) = delete;

    int Handle() const { return FFd; }

    struct TEvents
    {
        bool matched = false;  // an event of a selected kind, or lost events
        bool lost = false;     // the directory itself is no longer watched
    };
    // Reads every queued event; throws EWatchError when reading fails.
    TEvents ReadEvents();

private:
    void AddTree(const std::string& directory);
    void HandleEvent(int watch, std::uint32_t mask, const char* name, TEvents& events);

    int FFd;
    std::uint32_t FFilter;
    bool FSubtree;
    std::uint32_t FMask;
    int FRootWatch = -1;
    std::unordered_map<int, std::string> FDirectories;  // watch descriptor -> its directory
};
