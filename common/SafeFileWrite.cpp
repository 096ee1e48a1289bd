#include "common/SafeFileWrite.h"

#include "common/FileDescriptor.h"

#include <atomic>
#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <filesystem>
#include <optional>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace {

constexpr mode_t kPermissionBits = 07777;
// As many links as the system itself follows before it gives up with ELOOP.
constexpr int kMaxLinkDepth = 40;
constexpr int kMaxTemporaryAttempts = 100;

[[noreturn]] void ThrowSystemError(int error)
{
    throw EFileWriteError(std::generic_category().message(error));
}

// The path with every symbolic link at its end followed, also when the last one leads nowhere
// yet (the file it names is then created).
std::string FollowLinks(std::string path)
{
    for (int depth = 0; depth < kMaxLinkDepth; ++depth) {
        struct stat status
        {};
        if (::lstat(path.c_str(), &status) != 0 || !S_ISLNK(status.st_mode))
            return path;
        std::string target(PATH_MAX, '\0');
        const ssize_t length = ::readlink(path.c_str(), target.data(), target.size());
        if (length < 0)
            ThrowSystemError(errno);
        target.resize(static_cast<std::size_t>(length));
        const std::filesystem::path link(path);
        path = std::filesystem::path(target).is_absolute() ? target
                                                           : (link.parent_path() / target).string();
    }
    ThrowSystemError(ELOOP);
}

void WriteAllAt(int fd, std::string_view data, off_t offset)
{
    while (!data.empty()) {
        const ssize_t count = ::pwrite(fd, data.data(), data.size(), offset);
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0)
            ThrowSystemError(errno);
        if (count == 0)
            ThrowSystemError(EIO);
        data.remove_prefix(static_cast<std::size_t>(count));
        offset += count;
    }
}

// The old text, for writing it back when writing in place fails; none when the file cannot be
// read (a write-only file).
std::optional<std::string> ReadAll(int fd)
{
    std::string text;
    char buffer[64 * 1024];
    off_t offset = 0;
    for (;;) {
        const ssize_t count = ::pread(fd, buffer, sizeof buffer, offset);
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0)
            return std::nullopt;
        if (count == 0)
            return text;
        text.append(buffer, static_cast<std::size_t>(count));
        offset += count;
    }
}

void ReserveSpace(int fd, std::size_t length)
{
    if (length == 0)
        return;
    // posix_fallocate returns the error instead of setting errno.
    const int error = ::posix_fallocate(fd, 0, static_cast<off_t>(length));
    if (error != 0)
        ThrowSystemError(error);
}

void WriteInPlace(const std::string& target, std::string_view text, mode_t newFileMode)
{
    int fd = ::open(target.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, newFileMode);
    if (fd < 0 && errno == EACCES)
        fd = ::open(target.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, newFileMode);
    TFileDescriptor file(fd);
    if (file.Get() < 0)
        ThrowSystemError(errno);
    const std::optional<std::string> oldText = ReadAll(file.Get());
    // Past this point a full disk or a quota can no longer stop the write half way.
    ReserveSpace(file.Get(), text.size());
    try {
        WriteAllAt(file.Get(), text, 0);
        if (::ftruncate(file.Get(), static_cast<off_t>(text.size())) != 0 ||
            ::fsync(file.Get()) != 0)
            ThrowSystemError(errno);
    } catch (const EFileWriteError&) {
        if (oldText) {
            try {
                WriteAllAt(file.Get(), *oldText, 0);
            } catch (const EFileWriteError&) {
                // The reason of the first failure is the one worth telling.
            }
            [[maybe_unused]] const int cut =
                ::ftruncate(file.Get(), static_cast<off_t>(oldText->size()));
        }
        throw;
    }
    if (!file.Close())
        ThrowSystemError(errno);
}

// Gives the new file the old one's owner and group, or as much of them as the user may; false
// when the new file would still end up with another owner or group than the old one had.
bool TakeOwnership(int fd, const struct stat& old)
{
    if (::fchown(fd, old.st_uid, old.st_gid) != 0 &&
        ::fchown(fd, static_cast<uid_t>(-1), old.st_gid) != 0) {
        // Neither is allowed; the new file may still match when the user owns the old one.
    }
    struct stat created
    {};
    return ::fstat(fd, &created) == 0 && created.st_uid == old.st_uid &&
           created.st_gid == old.st_gid;
}

// A new file beside the target under a name no one else uses; the system narrows the mode by
// the umask, as for any file the user creates. Returns the descriptor, or -1 with errno set.
int CreateTemporary(const std::filesystem::path& target, mode_t mode, std::string& name)
{
    static std::atomic<unsigned> serial{0};
    const std::string prefix =
        "." + target.filename().native() + "." + std::to_string(::getpid()) + "-";
    for (int attempt = 0; attempt < kMaxTemporaryAttempts; ++attempt) {
        name = (target.parent_path() / (prefix + std::to_string(serial++))).string();
        const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

enum class TReplaced {
    Done,
    NotHere  // the temporary file cannot be made, owned like the old one, or renamed
};

TReplaced ReplaceThroughTemporary(const std::string& target, std::string_view text,
                                  const struct stat* old, mode_t newFileMode)
{
    const std::filesystem::path targetPath(target);
    std::string name;
    TFileDescriptor file(CreateTemporary(targetPath, old ? S_IRUSR | S_IWUSR : newFileMode, name));
    if (file.Get() < 0)
        return TReplaced::NotHere;
    const auto removeTemporary = [&name] { ::unlink(name.c_str()); };
    if (old && !TakeOwnership(file.Get(), *old)) {
        removeTemporary();
        return TReplaced::NotHere;
    }
    try {
        // After the owner, which clears the set-user-ID and set-group-ID bits.
        if (old && ::fchmod(file.Get(), old->st_mode & kPermissionBits) != 0)
            ThrowSystemError(errno);
        WriteAllAt(file.Get(), text, 0);
        if (::fsync(file.Get()) != 0 || !file.Close())
            ThrowSystemError(errno);
    } catch (const EFileWriteError&) {
        removeTemporary();
        throw;
    }
    if (::rename(name.c_str(), target.c_str()) != 0) {
        removeTemporary();
        return TReplaced::NotHere;
    }
    // The rename itself reaches the disk with the folder.
    const TFileDescriptor folder(
        ::open(targetPath.parent_path().empty() ? "." : targetPath.parent_path().c_str(),
               O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folder.Get() >= 0)
        ::fsync(folder.Get());
    return TReplaced::Done;
}

}  // namespace

void SafeWriteFile(const std::string& path, std::string_view text, mode_t newFileMode)
{
    const std::string target = FollowLinks(path);
    struct stat status
    {};
    const bool exists = ::stat(target.c_str(), &status) == 0;
    if (!exists && errno != ENOENT)
        ThrowSystemError(errno);
    if (exists && !S_ISREG(status.st_mode))
        throw EFileWriteError("Not a regular file");
    // A read-only file stays as it is, although its folder would let us replace it.
    if (exists && ::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0)
        ThrowSystemError(errno);
    const bool hardLinked = exists && status.st_nlink > 1;
    if (!hardLinked && ReplaceThroughTemporary(target, text, exists ? &status : nullptr,
                                               newFileMode) == TReplaced::Done)
        return;
    WriteInPlace(target, text, newFileMode);
}
