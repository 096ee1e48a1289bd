#include "settings/WindowState.h"

#include "settings/IniFile.h"
#include "settings/Settings.h"
#include "settings/SettingsTable.h"

std::optional<TWindowState> ReadWindowState(const TIniFile& file)
{
    const auto value = [&file](const TSettingKey& key) {
        return ParseInteger(file.ReadString(key.Section, key.Key, ""));
    };
    const auto left = value(kWindowLeftKey);
    const auto top = value(kWindowTopKey);
    const auto width = value(kWindowWidthKey);
    const auto height = value(kWindowHeightKey);
    const auto maximized = value(kWindowMaximizedKey);
    const auto editorWidth = value(kWindowEditorWidthKey);
    if (!left || !top || !width || !height || !maximized || !editorWidth || *width <= 0 ||
        *height <= 0 || *editorWidth <= 0)
        return std::nullopt;
    return TWindowState{*left, *top, *width, *height, *maximized != 0, *editorWidth};
}

void WriteWindowState(TIniFile& file, const TWindowState& state)
{
    WriteSetting(file, kWindowLeftKey, state.left);
    WriteSetting(file, kWindowTopKey, state.top);
    WriteSetting(file, kWindowWidthKey, state.width);
    WriteSetting(file, kWindowHeightKey, state.height);
    WriteSetting(file, kWindowMaximizedKey, state.maximized ? 1 : 0);
    WriteSetting(file, kWindowEditorWidthKey, state.editorWidth);
}
