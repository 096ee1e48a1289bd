#include "settings/LenientSetting.h"

#include "settings/SettingsTable.h"

namespace {

constexpr std::int32_t kOn = 1;

} // namespace

bool ReadLenientSetting(const TIniFile& file)
{
    return ReadSetting(file, kLenientKey) == kOn;
}

void WriteLenientSetting(TIniFile& file, bool lenient)
{
    WriteSetting(file, kLenientKey, lenient ? kOn : kLenientKey.Default);
}
