#pragma once
// The main window's place between runs: its normal (not maximised) frame-less geometry, whether
// it was maximised, and the width of the editor beside the plot. Plain values that the state
// file keeps; the main window applies them at start and takes them when it closes.

#include <optional>

class TIniFile;

struct TWindowState
{
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    bool maximized = false;
    int editorWidth = 0;

    bool operator==(const TWindowState&) const = default;
};

// Section "Window"; none when the section is missing or a value is not a number or not a size.
std::optional<TWindowState> ReadWindowState(const TIniFile& file);
void WriteWindowState(TIniFile& file, const TWindowState& state);
