#pragma once
// The View menu's setting in the settings file: section "View", key "HighlightCaretMove", 1 for
// on and 0 for off. The key is written only once it matters, when the setting is off or the
// file has the key already, so that a first run writes the same file as without the View menu.

class TIniFile;

// On when the key is missing or not an integer.
bool ReadHighlightCaretMove(const TIniFile& file);
void WriteHighlightCaretMove(TIniFile& file, bool on);
