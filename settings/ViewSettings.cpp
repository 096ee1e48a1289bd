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
