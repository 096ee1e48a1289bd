#include "watch/DirectoryWatch.h"

#include "watch/NotifyOptions.h"

#include <cerrno>
#include <cstddef>
#include <filesystem>
#include <sys/inotify.h>
#include <system_error>
#include <unistd.h>

namespace {
constexpr std::uint32_t kNameEvents = IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO;
constexpr std::uint32_t kArrivalEvents = IN_CREATE | IN_MOVED_TO;
constexpr std::size_t kEventBufferBytes = 16 * 1024;

std::string SystemMessage(int error)
{
    return std::generic_category().message(error);
}

// Events about the contents of entries. A changed modification or access time shows up as
// IN_ATTRIB when it is set explicitly (touch), so those kinds listen for it too.
std::uint32_t ContentEvents(std::uint32_t filter)
{
    std::uint32_t events = 0;
    if (filter & (kNotifyAttributes | kNotifySecurity))
        events |= IN_ATTRIB;
    if (filter & kNotifySize)
        events |= IN_MODIFY;
    if (filter & kNotifyLastWrite)
        events |= IN_MODIFY | IN_ATTRIB;
    if (filter & kNotifyLastAccess)
        events |= IN_ACCESS | IN_ATTRIB;
    return events;
}

// Events about names: file names and directory names are told apart by IN_ISDIR; an entry that
// appears also has a new creation time.
std::uint32_t NameEvents(std::uint32_t filter, bool directory)
{
    std::uint32_t events = 0;
    if (filter & (directory ? kNotifyDirName : kNotifyFileName))
        events |= kNameEvents;
    if (filter & kNotifyCreation)
        events |= kArrivalEvents;
    return events;
}

bool Selected(std::uint32_t eventMask, std::uint32_t filter)
{
    if (eventMask & IN_Q_OVERFLOW)
        return true;  // events were dropped: any of them may have mattered
    const bool directory = (eventMask & IN_ISDIR) != 0;
    return (eventMask & (ContentEvents(filter) | NameEvents(filter, directory))) != 0;
}
}  // namespace

TDirectoryWatch::TDirectoryWatch(const std::string& directory, bool subtree, std::uint32_t filter)
    : FFd(inotify_init1(IN_NONBLOCK | IN_CLOEXEC)), FFilter(filter), FSubtree(subtree),
      // A subtree also follows new directories, so it hears of arrivals whatever the filter.
      FMask(ContentEvents(filter) | NameEvents(filter, false) | NameEvents(filter, true) |
            (subtree ? kArrivalEvents : 0) | IN_ONLYDIR)
{
    if (FFd < 0)
        throw EWatchError("Cannot watch folder \"" + directory + "\". " + SystemMessage(errno));
    FRootWatch = inotify_add_watch(FFd, directory.c_str(), FMask);
    if (FRootWatch < 0) {
        const int error = errno;
        close(FFd);
        throw EWatchError("Cannot watch folder \"" + directory + "\". " + SystemMessage(error));
    }
    FDirectories.emplace(FRootWatch, directory);
    if (FSubtree)
        AddTree(directory);
}

TDirectoryWatch::~TDirectoryWatch()
{
    close(FFd);  // removes every watch
}

// Watches every directory below directory. Directories that vanish or cannot be read are left
// out; the rest of the tree is still watched.
void TDirectoryWatch::AddTree(const std::string& directory)
{
    namespace fs = std::filesystem;
    std::error_code error;
    fs::recursive_directory_iterator entry(directory, fs::directory_options::skip_permission_denied,
                                           error);
    for (; !error && entry != fs::recursive_directory_iterator(); entry.increment(error)) {
        if (!entry->is_directory(error) || entry->is_symlink(error))
            continue;
        const std::string path = entry->path().string();
        const int watch = inotify_add_watch(FFd, path.c_str(), FMask);
        if (watch >= 0)
            FDirectories.insert_or_assign(watch, path);
    }
}

TDirectoryWatch::TEvents TDirectoryWatch::ReadEvents()
{
    TEvents events;
    alignas(inotify_event) char buffer[kEventBufferBytes];
    for (;;) {
        const ssize_t length = read(FFd, buffer, sizeof buffer);
        if (length < 0) {
            if (errno == EINTR)
                continue;
            if (errno == EAGAIN)
                return events;
            throw EWatchError("Cannot read folder changes. " + SystemMessage(errno));
        }
        for (ssize_t offset = 0; offset < length;) {
            const auto* event = reinterpret_cast<const inotify_event*>(buffer + offset);
            HandleEvent(event->wd, event->mask, event->len > 0 ? event->name : "", events);
            offset += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
        }
    }
}

void TDirectoryWatch::HandleEvent(int watch, std::uint32_t mask, const char* name, TEvents& events)
{
    if (Selected(mask, FFilter))
        events.matched = true;
    if (mask & IN_IGNORED) {
        // The watched directory was removed or unmounted: nothing more will come from it.
        FDirectories.erase(watch);
        if (watch == FRootWatch)
            events.lost = true;
        return;
    }
    const bool newDirectory = (mask & IN_ISDIR) && (mask & kArrivalEvents);
    if (FSubtree && newDirectory) {
        const auto parent = FDirectories.find(watch);
        if (parent != FDirectories.end()) {
            const std::string path = parent->second + "/" + name;
            const int added = inotify_add_watch(FFd, path.c_str(), FMask);
            if (added >= 0)
                FDirectories.insert_or_assign(added, path);
            AddTree(path);  // what was made inside it before the watch was in place
        }
    }
}
