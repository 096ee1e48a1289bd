#pragma once
// The View menu's settings in the settings file. Highlight Caret Move (kHighlightCaretMoveKey):
// 1 for on and 0 for off, written only once it matters, when the setting is off or the file has
// the key already, so that a first run writes the same file as without the View menu. Colour By
// (kColourByKey): kept only while it is not the motion mode.

#include <cstdint>

class TIniFile;

enum class TColourBy : std::int32_t { MotionMode, FeedRate, ZDepth };

// On when the key is missing or not an integer.
bool ReadHighlightCaretMove(const TIniFile& file);
void WriteHighlightCaretMove(TIniFile& file, bool on);

// The motion mode when the key is missing or holds no choice.
TColourBy ReadColourBy(const TIniFile& file);
void WriteColourBy(TIniFile& file, TColourBy colourBy);
