#include "recovery/RecoveryStore.h"

#include "common/Error.h"
#include "common/FileBytes.h"
#include "common/SafeFileWrite.h"
#include "settings/StateFile.h"
#include "settings/UserFolders.h"

#include <cstdint>
#include <cstdio>
#include <filesystem>

#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr std::string_view kRecoveryFolderName = "recovery";
constexpr std::string_view kUntitledCopyName = "untitled";
constexpr mode_t kCopyMode = S_IRUSR | S_IWUSR;
// The file's own name is kept in the copy's name for people who look into the folder; cut so
// that the whole name stays within the 255 bytes a folder entry may have.
constexpr std::size_t kMaxNamePartBytes = 200;

// FNV-1a: two paths that share their last part still get different copies.
std::uint64_t PathHash(std::string_view path)
{
    constexpr std::uint64_t kOffsetBasis = 14695981039346656037ULL;
    constexpr std::uint64_t kPrime = 1099511628211ULL;
    std::uint64_t hash = kOffsetBasis;
    for (const char byte : path) {
        hash ^= static_cast<unsigned char>(byte);
        hash *= kPrime;
    }
    return hash;
}

std::optional<struct timespec> ModificationTime(const std::string& path)
{
    struct stat status
    {};
    if (::stat(path.c_str(), &status) != 0)
        return std::nullopt;
    return status.st_mtim;
}

bool Later(const timespec& a, const timespec& b)
{
    return a.tv_sec != b.tv_sec ? a.tv_sec > b.tv_sec : a.tv_nsec > b.tv_nsec;
}

}  // namespace

TRecoveryStore::TRecoveryStore(std::string folder) : FFolder(std::move(folder)) {}

std::string TRecoveryStore::CopyPath(const std::string& documentPath) const
{
    if (documentPath.empty())
        return FFolder + "/" + std::string(kUntitledCopyName);
    char hash[17];
    std::snprintf(hash, sizeof hash, "%016llx",
                  static_cast<unsigned long long>(PathHash(documentPath)));
    std::string name = std::filesystem::path(documentPath).filename().native();
    if (name.size() > kMaxNamePartBytes)
        name.resize(kMaxNamePartBytes);
    return FFolder + "/" + hash + "-" + name;
}

void TRecoveryStore::Write(const std::string& documentPath, std::string_view text) const
{
    if (FFolder.empty())
        throw EZorvitError("neither XDG_STATE_HOME nor HOME names a folder");
    MakeFolderWithParents(FFolder);
    const std::string copy = CopyPath(documentPath);
    try {
        SafeWriteFile(copy, text, kCopyMode);
    } catch (const EFileWriteError& error) {
        throw EZorvitError("Cannot write the recovery copy \"" + copy + "\". " + error.what());
    }
}

void TRecoveryStore::Remove(const std::string& documentPath) const
{
    ::unlink(CopyPath(documentPath).c_str());
}

std::optional<std::string> TRecoveryStore::NewerCopy(const std::string& documentPath) const
{
    const std::string copy = CopyPath(documentPath);
    const std::optional<timespec> copyTime = ModificationTime(copy);
    if (!copyTime)
        return std::nullopt;
    if (!documentPath.empty()) {
        const std::optional<timespec> fileTime = ModificationTime(documentPath);
        if (fileTime && !Later(*copyTime, *fileTime))
            return std::nullopt;
    }
    try {
        return ReadFileBytes(copy, TFileKind::RegularOnly);
    } catch (const EFileReadError&) {
        return std::nullopt;
    }
}

std::string RecoveryFolder()
{
    const std::string base = AppStateFolder();
    return base.empty() ? base : base + "/" + std::string(kRecoveryFolderName);
}
