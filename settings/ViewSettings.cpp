#include "settings/ViewSettings.h"

#include "settings/IniFile.h"
#include "common/SameText.h"
#include "settings/Settings.h"

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr std::string_view kViewSection = "View";
constexpr std::string_view kHighlightKey = "HighlightCaretMove";
constexpr bool kHighlightDefault = true;

bool HasKey(const TIniFile& file, std::string_view section, std::string_view key)
{
    const std::vector<std::string> keys = file.ReadSection(section);
    return std::any_of(keys.begin(), keys.end(),
                       [key](const std::string& name) { return SameText(name, key); });
}

} // namespace

bool ReadHighlightCaretMove(const TIniFile& file)
{
    return ReadInteger(file, kViewSection, kHighlightKey, kHighlightDefault ? 1 : 0) != 0;
}

void WriteHighlightCaretMove(TIniFile& file, bool on)
{
    if (on == kHighlightDefault && !HasKey(file, kViewSection, kHighlightKey))
        return;
    WriteInteger(file, kViewSection, kHighlightKey, on ? 1 : 0);
}
