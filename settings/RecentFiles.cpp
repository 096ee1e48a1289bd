#include "settings/RecentFiles.h"

#include "settings/IniFile.h"
#include "settings/SettingsTable.h"

#include <algorithm>

namespace {

std::string Key(std::size_t index)
{
    return std::string(kRecentFileKeyPrefix) + std::to_string(index + 1);
}

}  // namespace

void TRecentFiles::Add(const std::string& name)
{
    if (name.empty())
        return;
    Remove(name);
    FNames.insert(FNames.begin(), name);
    if (FNames.size() > kMaxCount)
        FNames.resize(kMaxCount);
}

void TRecentFiles::Remove(const std::string& name)
{
    std::erase(FNames, name);
}

void TRecentFiles::Clear()
{
    FNames.clear();
}

void TRecentFiles::Read(const TIniFile& file)
{
    FNames.clear();
    for (std::size_t i = 0; i < kMaxCount; ++i) {
        const std::string name = file.ReadString(kRecentFilesSection, Key(i), "");
        if (!name.empty() && std::ranges::find(FNames, name) == FNames.end())
            FNames.push_back(name);
    }
}

void TRecentFiles::Write(TIniFile& file) const
{
    for (std::size_t i = 0; i < kMaxCount; ++i)
        file.WriteString(kRecentFilesSection, Key(i),
                         i < FNames.size() ? FNames[i] : std::string());
}
