#pragma once
// Reading a whole file into memory in as few reads as its size allows: the one file reader of
// the tools and the window.

#include "common/Error.h"
#include "common/FileDescriptor.h"

#include <cstddef>
#include <limits>
#include <optional>
#include <string>

// A file that could not be read; Reason is the system's word for why, or "Not a regular file".
class EFileReadError : public EZorvitError
{
public:
    EFileReadError(const std::string& path, const std::string& reason)
        : EZorvitError("cannot read '" + path + "': " + reason), FReason(reason)
    {}
    const std::string& Reason() const { return FReason; }

private:
    std::string FReason;
};

enum class TFileKind {
    Any,          // pipes and devices too, read to their end
    RegularOnly,  // anything else is refused at once: a FIFO would wait for a writer, and a
                  // device such as /dev/zero would never end
};

// An open file read part by part, for a reader that never needs all of it at once.
class TFileReader
{
public:
    // Opens the file. Throws EFileReadError when it cannot be opened, or is not of the kind.
    explicit TFileReader(const std::string& path, TFileKind kind = TFileKind::Any);

    // The size of a regular file when it was opened; none for other files (pipes, devices).
    std::optional<std::size_t> Size() const { return FSize; }
    // Reads up to size bytes into buffer and returns how many it read: 0 at the end of the
    // file. Throws EFileReadError.
    std::size_t Read(char* buffer, std::size_t size);

private:
    std::string FPath;
    TFileDescriptor FFile;
    std::optional<std::size_t> FSize;
};

// The file's bytes, unchanged, or its first maxBytes. Throws EFileReadError when it cannot be
// opened or read.
std::string ReadFileBytes(const std::string& path, TFileKind kind = TFileKind::Any,
                          std::size_t maxBytes = std::numeric_limits<std::size_t>::max());

// The bytes of a file named on a command line, where "-" is standard input. Pipes and sockets
// are read; a device is refused before it is opened, since it may never end (/dev/zero) or wait
// for a person (a terminal). Throws EZorvitError as ReadFileBytes does.
std::string ReadCommandLineFile(const std::string& argument);
