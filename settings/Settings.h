#pragma once
// The settings file: where it lives, and reading and writing the motion colours and the
// highlighter's attributes in it. The main window calls ReadSettings once while it is created
// and WriteSettings once while it is destroyed.

#include "common/Color.h"
#include "settings/SettingsTable.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

class THighlighter;
class TIniFile;
class TTokenAttribute;

// The plot colours of G0, G1, G2 and G3 moves, in that order.
using TMotionColors = std::array<TColor, 4>;

// The defaults of the motion colour keys of the settings table.
constexpr TMotionColors kDefaultMotionColors = [] {
    TMotionColors colours{};
    for (std::size_t i = 0; i < colours.size(); ++i)
        colours[i] = static_cast<TColor>(kMotionColorKeys[i].Default);
    return colours;
}();

// $XDG_CONFIG_HOME/Zorvit/Zorvit.ini ($HOME/.config when XDG_CONFIG_HOME is unset). Creates the
// configuration folder with its missing parents (for the user alone) and then the folder Zorvit
// when they are missing. Empty when no folder can be had; the first time, stderr says why.
std::string SettingsFileName();

// A settings integer: optional blanks and sign, then decimal digits, or hexadecimal digits
// after "$" or "0x"/"0X". Hexadecimal takes up to 32 bits, so colours read back unchanged.
std::optional<std::int32_t> ParseInteger(std::string_view text);

// The key's value as an integer, or the default when it is missing or not an integer.
std::int32_t ReadInteger(const TIniFile& file, std::string_view section, std::string_view key,
                         std::int32_t defaultValue);
void WriteInteger(TIniFile& file, std::string_view section, std::string_view key,
                  std::int32_t value);

// Section "Colors", keys "G0".."G3", each a colour identifier. A missing key, or one whose
// value is no identifier of the colour table, gives that key's default colour.
TMotionColors ReadMotionColors(const TIniFile& file);
void WriteMotionColors(TIniFile& file, const TMotionColors& colours);

// The attribute's section, named by its Name: "Background" and "Foreground" (signed 32-bit
// decimal) and "Style" (1 bold + 2 italic + 4 underline + 8 strike-out). A missing key leaves
// its property, and so does a value that is not an integer; higher style bits are ignored.
void ReadAttribute(const TIniFile& file, TTokenAttribute& attribute);
void WriteAttribute(TIniFile& file, const TTokenAttribute& attribute);

// Everything the settings file keeps: the motion colours, then every attribute of the
// highlighter in list order. The file is written once, with every key; when that fails it
// throws and the file stays as it was.
void ReadSettings(const TIniFile& file, TMotionColors& motionColours, THighlighter& highlighter);
void WriteSettings(TIniFile& file, const TMotionColors& motionColours,
                   const THighlighter& highlighter);
