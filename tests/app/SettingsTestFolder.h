#pragma once
// Helpers for the settings tests: a temporary folder removed at the end of the test, file
// contents read and written whole, and a guard that drops root's rights so that folder and file
// permissions apply.

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include <cstdlib>
#include <unistd.h>

class TTempFolder
{
public:
    TTempFolder()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "zorvit-settings-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr)
            throw std::runtime_error("cannot create a temporary folder");
        m_path = pattern;
    }
    ~TTempFolder()
    {
        // Tests lock folders; unlock them all so that everything can be removed.
        std::error_code ignored;
        std::filesystem::permissions(m_path, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ignored);
        for (auto it = std::filesystem::recursive_directory_iterator(m_path, ignored);
             it != std::filesystem::recursive_directory_iterator(); it.increment(ignored)) {
            if (it->is_directory(ignored) && !it->is_symlink(ignored))
                std::filesystem::permissions(it->path(), std::filesystem::perms::owner_all,
                                             std::filesystem::perm_options::add, ignored);
        }
        std::filesystem::remove_all(m_path, ignored);
    }
    TTempFolder(const TTempFolder&) = delete;
    TTempFolder& operator=(const TTempFolder&) = delete;

    const std::filesystem::path& Path() const { return m_path; }
    std::string File(const std::string& name) const { return (m_path / name).string(); }

private:
    std::filesystem::path m_path;
};

inline std::string ReadWholeFile(const std::string& name)
{
    std::ifstream in(name, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

inline void WriteWholeFile(const std::string& name, const std::string& content)
{
    std::ofstream(name, std::ios::binary) << content;
}

// While alive, the process acts as an unprivileged user when it runs as root, so that
// permission bits are enforced. Paths it must reach are handed over with Own().
class TUnprivileged
{
public:
    static constexpr uid_t kNobody = 65534;

    TUnprivileged() : m_wasRoot(::geteuid() == 0)
    {
        if (m_wasRoot)
            m_active = ::setegid(kNobody) == 0 && ::seteuid(kNobody) == 0;
        else
            m_active = true;
    }
    ~TUnprivileged()
    {
        if (m_wasRoot) {
            [[maybe_unused]] const int restoredUser = ::seteuid(0);
            [[maybe_unused]] const int restoredGroup = ::setegid(0);
        }
    }
    TUnprivileged(const TUnprivileged&) = delete;
    TUnprivileged& operator=(const TUnprivileged&) = delete;

    bool Active() const { return m_active; }

    // Gives a path to the unprivileged user; call before dropping rights.
    static void Own(const std::filesystem::path& path)
    {
        if (::geteuid() == 0) {
            [[maybe_unused]] const int changed = ::chown(path.c_str(), kNobody, kNobody);
        }
    }

private:
    bool m_wasRoot;
    bool m_active;
};
