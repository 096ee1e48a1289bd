#pragma once
// Helpers for the settings tests: a temporary folder removed afterwards, whole-file reads and
// writes, environment variables set for a test's life, and a guard under which root acts as an
// unprivileged user so permissions apply.

#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include <cstdlib>
#include <unistd.h>

class TTempFolder
{
public:
    TTempFolder()
    {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "zorvit-settings-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr)
            throw std::runtime_error("cannot create a temporary folder");
        FPath = pattern;
    }
    ~TTempFolder()
    {
        // Tests lock folders; unlock them so that everything can be removed.
        std::error_code ignored;
        for (auto it = std::filesystem::recursive_directory_iterator(FPath, ignored);
             it != std::filesystem::recursive_directory_iterator(); it.increment(ignored))
            std::filesystem::permissions(it->path(), std::filesystem::perms::owner_all,
                                         std::filesystem::perm_options::add, ignored);
        std::filesystem::remove_all(FPath, ignored);
    }
    TTempFolder(const TTempFolder&) = delete;
    TTempFolder& operator=(const TTempFolder&) = delete;

    const std::filesystem::path& Path() const { return FPath; }
    std::string File(const std::string& name) const { return (FPath / name).string(); }

private:
    std::filesystem::path FPath;
};

inline std::string ReadWholeFile(const std::string& name)
{
    std::ostringstream content;
    content << std::ifstream(name, std::ios::binary).rdbuf();
    return content.str();
}

inline void WriteWholeFile(const std::string& name, const std::string& content)
{
    std::ofstream(name, std::ios::binary) << content;
}

// Sets environment variables for its life and puts back what they were.
class TScopedEnvironment
{
public:
    TScopedEnvironment() = default;
    ~TScopedEnvironment()
    {
        for (auto it = FSaved.rbegin(); it != FSaved.rend(); ++it)
            it->second ? ::setenv(it->first.c_str(), it->second->c_str(), 1)
                       : ::unsetenv(it->first.c_str());
    }
    TScopedEnvironment(const TScopedEnvironment&) = delete;
    TScopedEnvironment& operator=(const TScopedEnvironment&) = delete;

    void Set(const std::string& name, const std::string& value)
    {
        const char* before = std::getenv(name.c_str());
        FSaved.emplace_back(name, before ? std::optional<std::string>(before) : std::nullopt);
        ::setenv(name.c_str(), value.c_str(), 1);
    }

private:
    std::vector<std::pair<std::string, std::optional<std::string>>> FSaved;
};

class TUnprivileged
{
public:
    static constexpr uid_t kNobody = 65534;

    TUnprivileged() : FWasRoot(::geteuid() == 0)
    {
        FActive = !FWasRoot || (::setegid(kNobody) == 0 && ::seteuid(kNobody) == 0);
    }
    ~TUnprivileged()
    {
        if (FWasRoot && (::seteuid(0) != 0 || ::setegid(0) != 0))
            std::abort();
    }
    TUnprivileged(const TUnprivileged&) = delete;
    TUnprivileged& operator=(const TUnprivileged&) = delete;

    bool Active() const { return FActive; }

    // Hands a path to the unprivileged user; call before the guard exists.
    static void Own(const std::filesystem::path& path)
    {
        if (::geteuid() == 0 && ::chown(path.c_str(), kNobody, kNobody) != 0)
            std::abort();
    }

private:
    bool FWasRoot;
    bool FActive;
};
