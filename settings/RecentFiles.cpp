#include "settings/RecentFiles.h"

#include "settings/IniFile.h"

#include <algorithm>
#include <string_view>

namespace {

constexpr std::string_view kSection = "Recent Files";

std::string Key(std::size_t index)
{
    return "File" + std::to_string(index + 1);
}

} // namespace

void TRecentFiles::Add(const std::string& name)
{
    if (name.empty())
        return;
    Remove(name);
    names_.insert(names_.begin(), name);
    if (names_.size() > kMaxCount)
        names_.resize(kMaxCount);
}

void TRecentFiles::Remove(const std::string& name)
{
    std::erase(names_, name);
}

void TRecentFiles::Clear()
{
    names_.clear();
}

void TRecentFiles::Read(const TIniFile& file)
{
    names_.clear();
    for (std::size_t i = 0; i < kMaxCount; ++i) {
        const std::string name = file.ReadString(kSection, Key(i), "");
        if (!name.empty() && std::ranges::find(names_, name) == names_.end())
            names_.push_back(name);
    }
}

void TRecentFiles::Write(TIniFile& file) const
{
    for (std::size_t i = 0; i < kMaxCount; ++i)
        file.WriteString(kSection, Key(i), i < names_.size() ? names_[i] : std::string());
}
