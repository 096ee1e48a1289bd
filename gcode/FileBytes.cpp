#include "FileBytes.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "Error.h"

namespace {

// First buffer for files whose size is not known beforehand (pipes, /proc), doubled as needed.
constexpr std::size_t kUnknownSizeBytes = 1 << 16;

class TFileDescriptor
{
public:
    explicit TFileDescriptor(int descriptor) : FDescriptor(descriptor) {}
    TFileDescriptor(const TFileDescriptor&) = delete;
    TFileDescriptor& operator=(const TFileDescriptor&) = delete;
    ~TFileDescriptor()
    {
        if (FDescriptor >= 0)
            ::close(FDescriptor);
    }
    int Get() const { return FDescriptor; }

private:
    int FDescriptor;
};

[[noreturn]] void ThrowReadError(const std::string& path, int error)
{
    throw EZorvitError("cannot read '" + path + "': " + std::strerror(error));
}

}  // namespace

std::string ReadFileBytes(const std::string& path)
{
    const TFileDescriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (file.Get() < 0)
        ThrowReadError(path, errno);
    struct stat status{};
    if (::fstat(file.Get(), &status) != 0)
        ThrowReadError(path, errno);
    // One byte beyond a regular file's size lets the read that finds its end happen without
    // growing the buffer.
    const bool sized = S_ISREG(status.st_mode);
    std::string bytes(sized ? static_cast<std::size_t>(status.st_size) + 1 : kUnknownSizeBytes, '\0');
    std::size_t used = 0;
    for (;;) {
        if (used == bytes.size())
            bytes.resize(std::max(kUnknownSizeBytes, bytes.size() * 2));
        const ssize_t count = ::read(file.Get(), bytes.data() + used, bytes.size() - used);
        if (count == 0)
            break;
        if (count < 0) {
            if (errno == EINTR)
                continue;
            ThrowReadError(path, errno);
        }
        used += static_cast<std::size_t>(count);
    }
    bytes.resize(used);
    return bytes;
}
