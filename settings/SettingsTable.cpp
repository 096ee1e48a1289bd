#include "settings/SettingsTable.h"

#include "common/SameText.h"
#include "settings/IniFile.h"
#include "settings/Settings.h"

#include <algorithm>
#include <string>
#include <vector>

namespace {

bool HasKey(const TIniFile& file, std::string_view section, std::string_view key)
{
    const std::vector<std::string> keys = file.ReadSection(section);
    return std::any_of(keys.begin(), keys.end(),
                       [key](const std::string& name) { return SameText(name, key); });
}

}  // namespace

std::int32_t ReadSetting(const TIniFile& file, const TSettingKey& key)
{
    return ReadSetting(file, key.Section, key, key.Default);
}

std::int32_t ReadSetting(const TIniFile& file, std::string_view section, const TSettingKey& key,
                         std::int32_t defaultValue)
{
    return ReadInteger(file, section, key.Key, defaultValue);
}

void WriteSetting(TIniFile& file, const TSettingKey& key, std::int32_t value)
{
    WriteSetting(file, key.Section, key, value);
}

void WriteSetting(TIniFile& file, std::string_view section, const TSettingKey& key,
                  std::int32_t value)
{
    switch (key.Rule) {
    case TWriteRule::Always:
        break;
    case TWriteRule::UnlessDefault:
        if (value == key.Default && !HasKey(file, section, key.Key))
            return;
        break;
    case TWriteRule::SectionWhileOn:
        if (value == key.Default) {
            file.EraseSection(section);
            return;
        }
        break;
    case TWriteRule::KeyWhileNotDefault:
        if (value == key.Default) {
            file.EraseKey(section, key.Key);
            return;
        }
        break;
    }
    WriteInteger(file, section, key.Key, value);
}
