#include "settings/ReadingSettings.h"

#include "settings/IniFile.h"
#include "settings/Settings.h"
#include "settings/SettingsTable.h"

namespace {

constexpr std::int32_t kOn = 1;

}  // namespace

TReadingSettings ReadReadingSettings(const TIniFile& file)
{
    TReadingSettings settings;
    settings.Lenient = ReadSetting(file, kLenientKey) == kOn;
    settings.MachinePath = ReadSetting(file, kMachinePathKey) == kOn;
    settings.InchWhenNoUnits =
        file.ReadString(kDefaultUnitsKey.Section, kDefaultUnitsKey.Key, "") == kInchUnitsValue;
    return settings;
}

void WriteReadingSettings(TIniFile& file, const TReadingSettings& settings)
{
    // The section is written anew, so a key back at its default leaves the file.
    file.EraseSection(kLenientKey.Section);
    // Written one by one: each key's write rule would take the whole section away.
    if (settings.Lenient)
        WriteInteger(file, kLenientKey.Section, kLenientKey.Key, kOn);
    if (settings.MachinePath)
        WriteInteger(file, kMachinePathKey.Section, kMachinePathKey.Key, kOn);
    if (settings.InchWhenNoUnits)
        file.WriteString(kDefaultUnitsKey.Section, kDefaultUnitsKey.Key, kInchUnitsValue);
}
