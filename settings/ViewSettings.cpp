#include "settings/ViewSettings.h"

#include "settings/SettingsTable.h"

bool ReadHighlightCaretMove(const TIniFile& file)
{
    return ReadSetting(file, kHighlightCaretMoveKey) != 0;
}

void WriteHighlightCaretMove(TIniFile& file, bool on)
{
    WriteSetting(file, kHighlightCaretMoveKey, on ? 1 : 0);
}

TColourBy ReadColourBy(const TIniFile& file)
{
    const std::int32_t value = ReadSetting(file, kColourByKey);
    switch (static_cast<TColourBy>(value)) {
    case TColourBy::FeedRate:
    case TColourBy::ZDepth:
        return static_cast<TColourBy>(value);
    case TColourBy::MotionMode:
        break;
    }
    return TColourBy::MotionMode;
}

void WriteColourBy(TIniFile& file, TColourBy colourBy)
{
    WriteSetting(file, kColourByKey, static_cast<std::int32_t>(colourBy));
}
