#include "settings/UserFolders.h"

#include "common/Error.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include <sys/stat.h>

namespace {

constexpr mode_t kPrivateFolderMode = S_IRWXU;

std::string EnvironmentValue(const char* name)
{
    const char* value = std::getenv(name);
    return value ? std::string(value) : std::string();
}

}  // namespace

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
    struct stat status
    {};
    return ::stat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

void MakeFolder(const std::string& path, mode_t mode)
{
    if (IsFolder(path))
        return;
    if (::mkdir(path.c_str(), mode) == 0)
        return;
    const int error = errno == EEXIST && !IsFolder(path) ? ENOTDIR : errno;
    if (error != EEXIST)
        throw EZorvitError("cannot create the folder \"" + path + "\": " + std::strerror(error));
}

void MakeFolderWithParents(const std::string& path)
{
    for (std::size_t end = path.find('/', 1); end != std::string::npos;
         end = path.find('/', end + 1))
        MakeFolder(path.substr(0, end), kPrivateFolderMode);
    MakeFolder(path, kPrivateFolderMode);
}
