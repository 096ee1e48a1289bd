#include "StateFile.h"

#include "UserFolders.h"

#include <string_view>

#include <sys/stat.h>

namespace {

constexpr std::string_view kDefaultStateFolder = ".local/state"; // inside $HOME
constexpr std::string_view kAppFolder = "Zorvit";
constexpr std::string_view kFileName = "state.ini";
constexpr mode_t kPrivateFolderMode = S_IRWXU;

// Creates the folder and every missing one above it; true when it exists afterwards.
bool MakeFolders(const std::string& folder)
{
    for (std::size_t slash = folder.find('/', 1); ; slash = folder.find('/', slash + 1)) {
        const std::string part = folder.substr(0, slash);
        if (!IsFolder(part) && ::mkdir(part.c_str(), kPrivateFolderMode) != 0 && !IsFolder(part))
            return false;
        if (slash == std::string::npos)
            return true;
    }
}

} // namespace

std::string StateFileName()
{
    const std::string base = UserBaseFolder("XDG_STATE_HOME", kDefaultStateFolder);
    if (base.empty())
        return {};
    const std::string folder = base + "/" + std::string(kAppFolder);
    if (!MakeFolders(folder))
        return {};
    return folder + "/" + std::string(kFileName);
}
