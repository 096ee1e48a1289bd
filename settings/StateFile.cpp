#include "settings/StateFile.h"

#include "common/Error.h"
#include "settings/UserFolders.h"

#include <string_view>

namespace {

constexpr std::string_view kDefaultStateFolder = ".local/state"; // inside $HOME
constexpr std::string_view kAppFolder = "Zorvit";
constexpr std::string_view kFileName = "state.ini";

} // namespace

std::string StateFileName()
{
    const std::string base = UserBaseFolder("XDG_STATE_HOME", kDefaultStateFolder);
    if (base.empty())
        return {};
    const std::string folder = base + "/" + std::string(kAppFolder);
    try {
        MakeFolderWithParents(folder);
    } catch (const EZorvitError&) {
        // Without its folder the window simply starts as on a first run and remembers nothing.
        return {};
    }
    return folder + "/" + std::string(kFileName);
}
