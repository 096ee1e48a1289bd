#include "settings/LenientSetting.h"

#include "settings/IniFile.h"
#include "settings/Settings.h"

#include <string_view>

namespace {

constexpr std::string_view kReadingSection = "Reading";
constexpr std::string_view kLenientKey = "Lenient";
constexpr int kOn = 1;

}  // namespace

bool ReadLenientSetting(const TIniFile& file)
{
    return ReadInteger(file, kReadingSection, kLenientKey, 0) == kOn;
}

void WriteLenientSetting(TIniFile& file, bool lenient)
{
    if (lenient)
        WriteInteger(file, kReadingSection, kLenientKey, kOn);
    else
        file.EraseSection(kReadingSection);
}
