#include "settings/ReadingSettings.h"

#include "settings/IniFile.h"
#include "settings/Settings.h"

#include <string_view>

namespace {

constexpr std::string_view kReadingSection = "Reading";
constexpr std::string_view kLenientKey = "Lenient";
constexpr std::string_view kMachinePathKey = "MachinePath";
constexpr std::string_view kDefaultUnitsKey = "DefaultUnits";
constexpr std::string_view kInch = "inch";
constexpr int kOn = 1;

}  // namespace

TReadingSettings ReadReadingSettings(const TIniFile& file)
{
    TReadingSettings settings;
    settings.Lenient = ReadInteger(file, kReadingSection, kLenientKey, 0) == kOn;
    settings.MachinePath = ReadInteger(file, kReadingSection, kMachinePathKey, 0) == kOn;
    settings.InchWhenNoUnits = file.ReadString(kReadingSection, kDefaultUnitsKey, "") == kInch;
    return settings;
}

void WriteReadingSettings(TIniFile& file, const TReadingSettings& settings)
{
    // The section is written anew, so a key back at its default leaves the file.
    file.EraseSection(kReadingSection);
    if (settings.Lenient)
        WriteInteger(file, kReadingSection, kLenientKey, kOn);
    if (settings.MachinePath)
        WriteInteger(file, kReadingSection, kMachinePathKey, kOn);
    if (settings.InchWhenNoUnits)
        file.WriteString(kReadingSection, kDefaultUnitsKey, kInch);
}
