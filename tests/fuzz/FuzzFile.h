#pragma once
// One temporary file per fuzzing process, rewritten with each input.

#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <unistd.h>

class TFuzzFile
{
public:
    TFuzzFile()
    {
        // In memory where there is a tmpfs: the INI layer syncs every file it writes.
        for (const char* folder : {"/dev/shm", "/tmp"}) {
            std::string pattern = std::string(folder) + "/zorvit-fuzz-XXXXXX";
            const int fd = ::mkstemp(pattern.data());
            if (fd < 0)
                continue;
            ::close(fd);
            FName = pattern;
            return;
        }
        std::abort();
    }
    ~TFuzzFile() { ::unlink(FName.c_str()); }
    TFuzzFile(const TFuzzFile&) = delete;
    TFuzzFile& operator=(const TFuzzFile&) = delete;

    const std::string& Name() const { return FName; }

    void Write(std::string_view bytes) const
    {
        std::FILE* file = std::fopen(FName.c_str(), "wb");
        if (!file || std::fwrite(bytes.data(), 1, bytes.size(), file) != bytes.size() ||
            std::fclose(file) != 0)
            std::abort();
    }

    std::string Read() const
    {
        std::string bytes;
        std::FILE* file = std::fopen(FName.c_str(), "rb");
        if (!file)
            std::abort();
        char buffer[4096];
        for (std::size_t count; (count = std::fread(buffer, 1, sizeof buffer, file)) > 0;)
            bytes.append(buffer, count);
        std::fclose(file);
        return bytes;
    }

private:
    std::string FName;
};
