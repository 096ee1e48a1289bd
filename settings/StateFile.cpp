#include "settings/StateFile.h"

#include "common/Error.h"
#include "settings/SettingsTable.h"
#include "settings/UserFolders.h"

#include <string_view>

namespace {

constexpr std::string_view kDefaultStateFolder = ".local/state";  // inside $HOME

}  // namespace

std::string AppStateFolder()
{
    const std::string base = UserBaseFolder("XDG_STATE_HOME", kDefaultStateFolder);
    if (base.empty())
        return {};
    return base + "/" + std::string(kAppFolderName);
}

std::string StateFileName()
{
    const std::string folder = AppStateFolder();
    if (folder.empty())
        return {};
    try {
        MakeFolderWithParents(folder);
    } catch (const EZorvitError&) {
        // Without its folder the window simply starts as on a first run and remembers nothing.
        return {};
    }
    return folder + "/" + std::string(kStateFileName);
}
