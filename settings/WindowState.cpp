#include "settings/WindowState.h"

#include "settings/IniFile.h"
#include "settings/Settings.h"

#include <string_view>

namespace {

constexpr std::string_view kSection = "Window";
constexpr std::string_view kLeft = "Left";
constexpr std::string_view kTop = "Top";
constexpr std::string_view kWidth = "Width";
constexpr std::string_view kHeight = "Height";
constexpr std::string_view kMaximized = "Maximized";
constexpr std::string_view kEditorWidth = "EditorWidth";

} // namespace

std::optional<TWindowState> ReadWindowState(const TIniFile& file)
{
    const auto value = [&file](std::string_view key) { return ParseInteger(file.ReadString(kSection, key, "")); };
    const auto left = value(kLeft);
    const auto top = value(kTop);
    const auto width = value(kWidth);
    const auto height = value(kHeight);
    const auto maximized = value(kMaximized);
    const auto editorWidth = value(kEditorWidth);
    if (!left || !top || !width || !height || !maximized || !editorWidth || *width <= 0 || *height <= 0
        || *editorWidth <= 0)
        return std::nullopt;
    return TWindowState{*left, *top, *width, *height, *maximized != 0, *editorWidth};
}

void WriteWindowState(TIniFile& file, const TWindowState& state)
{
    WriteInteger(file, kSection, kLeft, state.left);
    WriteInteger(file, kSection, kTop, state.top);
    WriteInteger(file, kSection, kWidth, state.width);
    WriteInteger(file, kSection, kHeight, state.height);
    WriteInteger(file, kSection, kMaximized, state.maximized ? 1 : 0);
    WriteInteger(file, kSection, kEditorWidth, state.editorWidth);
}
