#include "common/FileBytes.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "common/Error.h"
#include "common/HugePages.h"

namespace {

// First buffer for files whose size is not known beforehand (pipes, /proc), doubled as needed.
constexpr std::size_t kUnknownSizeBytes = 1 << 16;

[[noreturn]] void ThrowReadError(const std::string& path, int error)
{
    throw EFileReadError(path, std::strerror(error));
}

}  // namespace

TFileReader::TFileReader(const std::string& path, TFileKind kind)
    : FPath(path),
      // Without O_NONBLOCK, opening a FIFO would wait until some program writes to it.
      FFile(::open(path.c_str(),
                   O_RDONLY | O_CLOEXEC | (kind == TFileKind::RegularOnly ? O_NONBLOCK : 0)))
{
    if (FFile.Get() < 0)
        ThrowReadError(path, errno);
    struct stat status
    {};
    if (::fstat(FFile.Get(), &status) != 0)
        ThrowReadError(path, errno);
    if (kind == TFileKind::RegularOnly && !S_ISREG(status.st_mode))
        throw EFileReadError(path, "Not a regular file");
    if (S_ISREG(status.st_mode))
        FSize = static_cast<std::size_t>(status.st_size);
}

std::size_t TFileReader::Read(char* buffer, std::size_t size)
{
    for (;;) {
        const ssize_t count = ::read(FFile.Get(), buffer, size);
        if (count >= 0)
            return static_cast<std::size_t>(count);
        if (errno != EINTR)
            ThrowReadError(FPath, errno);
    }
}

std::string ReadFileBytes(const std::string& path, TFileKind kind, std::size_t maxBytes)
{
    TFileReader file(path, kind);
    // One byte beyond a regular file's size lets the read that finds its end happen without
    // growing the buffer.
    const std::size_t initialBytes =
        std::min(maxBytes, file.Size() ? *file.Size() + 1 : kUnknownSizeBytes);
    std::string bytes;
    bytes.reserve(initialBytes);
    AdviseHugePages(bytes.data(), initialBytes);
    bytes.resize(initialBytes);
    std::size_t used = 0;
    while (used < maxBytes) {
        if (used == bytes.size())
            bytes.resize(std::min(maxBytes, std::max(kUnknownSizeBytes, bytes.size() * 2)));
        const std::size_t count = file.Read(bytes.data() + used, bytes.size() - used);
        if (count == 0)
            break;
        used += count;
    }
    bytes.resize(used);
    return bytes;
}

std::string ReadCommandLineFile(const std::string& argument)
{
    const std::string path = argument == "-" ? "/dev/stdin" : argument;
    struct stat status
    {};
    if (::stat(path.c_str(), &status) == 0 && !S_ISREG(status.st_mode) &&
        !S_ISFIFO(status.st_mode) && !S_ISSOCK(status.st_mode))
        throw EZorvitError("cannot read '" + argument + "': not a regular file or a pipe");
    return ReadFileBytes(path);
}
