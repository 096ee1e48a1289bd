#pragma once
// Every section and key of the settings file (Zorvit.ini) and of the state file (state.ini),
// each with its default and the rule for when it is written. Readers and writers name keys only
// through this table, so a key's spelling, default and write rule are decided here once.

#include "common/Color.h"

#include <array>
#include <cstdint>
#include <string_view>

class TIniFile;

enum class TWriteRule {
    // Written on every save.
    Always,
    // Written when the value differs from the default or the file has the key already, so a
    // first run writes the same file as before the key existed.
    UnlessDefault,
    // The key's section is written while the value is not the default and removed otherwise.
    SectionWhileOn,
    // The key is written while the value is not the default and removed otherwise, its section
    // with it when no other key is left there: going back to the default gives back the file.
    KeyWhileNotDefault,
};

struct TSettingKey
{
    std::string_view Section;
    std::string_view Key;
    std::int32_t Default;
    TWriteRule Rule;
};

// Both files live in a folder of this name inside the user's configuration and state folders.
inline constexpr std::string_view kAppFolderName = "Zorvit";

// ---- Zorvit.ini -------------------------------------------------------------------------------
inline constexpr std::string_view kSettingsFileName = "Zorvit.ini";

// The plot colours of G0 to G3, each written as a colour identifier ("clBlue").
inline constexpr std::array<TSettingKey, 4> kMotionColorKeys{{
    {"Colors", "G0", clBlue, TWriteRule::Always},
    {"Colors", "G1", clRed, TWriteRule::Always},
    {"Colors", "G2", clOlive, TWriteRule::Always},
    {"Colors", "G3", clTeal, TWriteRule::Always},
}};

// One section per highlighter attribute, named by the attribute; the defaults are the
// attribute's own, so Default here is unused. Colours are signed 32-bit decimals, the style is
// 1 bold + 2 italic + 4 underline + 8 strike-out.
inline constexpr TSettingKey kAttributeBackgroundKey{"", "Background", 0, TWriteRule::Always};
inline constexpr TSettingKey kAttributeForegroundKey{"", "Foreground", 0, TWriteRule::Always};
inline constexpr TSettingKey kAttributeStyleKey{"", "Style", 0, TWriteRule::Always};

// View > Highlight Caret Move: 1 on, 0 off.
inline constexpr TSettingKey kHighlightCaretMoveKey{"View", "HighlightCaretMove", 1,
                                                    TWriteRule::UnlessDefault};
// View > Colour By: what gives the plot's segments their colours (TColourBy: 0 the motion mode,
// 1 the feed rate, 2 the Z depth).
inline constexpr TSettingKey kColourByKey{"View", "ColorBy", 0, TWriteRule::KeyWhileNotDefault};
// How programs are read: Plotter > Lenient Reading ("Lenient" = 1), Machine Path
// ("MachinePath" = 1) and Inches When a Program Names No Units ("DefaultUnits" = "inch"). Each
// key is there only while it is on, and the section only while one of them is.
inline constexpr TSettingKey kLenientKey{"Reading", "Lenient", 0, TWriteRule::SectionWhileOn};
inline constexpr TSettingKey kMachinePathKey{"Reading", "MachinePath", 0,
                                             TWriteRule::SectionWhileOn};
inline constexpr TSettingKey kDefaultUnitsKey{"Reading", "DefaultUnits", 0,
                                              TWriteRule::SectionWhileOn};
inline constexpr std::string_view kInchUnitsValue = "inch";

// ---- state.ini --------------------------------------------------------------------------------
inline constexpr std::string_view kStateFileName = "state.ini";

// The window's normal geometry, whether it was maximised and the editor's width. The window
// state is used only when every key is there, so Default is unused.
inline constexpr TSettingKey kWindowLeftKey{"Window", "Left", 0, TWriteRule::Always};
inline constexpr TSettingKey kWindowTopKey{"Window", "Top", 0, TWriteRule::Always};
inline constexpr TSettingKey kWindowWidthKey{"Window", "Width", 0, TWriteRule::Always};
inline constexpr TSettingKey kWindowHeightKey{"Window", "Height", 0, TWriteRule::Always};
inline constexpr TSettingKey kWindowMaximizedKey{"Window", "Maximized", 0, TWriteRule::Always};
inline constexpr TSettingKey kWindowEditorWidthKey{"Window", "EditorWidth", 0, TWriteRule::Always};

// The recent files, newest first: keys File1 to File10 of this section, empty when unused.
inline constexpr std::string_view kRecentFilesSection = "Recent Files";
inline constexpr std::string_view kRecentFileKeyPrefix = "File";

// The key's integer value in the key's own section, or its default.
std::int32_t ReadSetting(const TIniFile& file, const TSettingKey& key);
// The same in the given section, for keys whose section is named at run time.
std::int32_t ReadSetting(const TIniFile& file, std::string_view section, const TSettingKey& key,
                         std::int32_t defaultValue);
// Writes the value under the key's write rule.
void WriteSetting(TIniFile& file, const TSettingKey& key, std::int32_t value);
void WriteSetting(TIniFile& file, std::string_view section, const TSettingKey& key,
                  std::int32_t value);
