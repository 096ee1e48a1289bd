#include "UserFolders.h"

#include <cstdlib>

#include <sys/stat.h>

namespace {

std::string EnvironmentValue(const char* name)
{
    const char* value = std::getenv(name);
    return value ? std::string(value) : std::string();
}

} // namespace

std::string UserBaseFolder(const char* variable, std::string_view homeRelative)
{
    const std::string xdg = EnvironmentValue(variable);
    if (!xdg.empty() && xdg.front() == '/')
        return xdg;
    const std::string home = EnvironmentValue("HOME");
    if (home.empty())
        return {};
    return home + "/" + std::string(homeRelative);
}

bool IsFolder(const std::string& path)
{
    struct stat status{};
    return ::stat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}
