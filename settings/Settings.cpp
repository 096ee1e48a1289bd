#include "settings/Settings.h"

#include "common/ColorTable.h"
#include "common/Error.h"
#include "highlight/SynHighlighterRS274.h"
#include "settings/IniFile.h"
#include "settings/SettingsTable.h"
#include "settings/UserFolders.h"

#include <cstdio>
#include <limits>
#include <utility>

#include <sys/stat.h>

namespace {

constexpr std::string_view kDefaultConfigFolder = ".config";    // inside $HOME
constexpr mode_t kAppFolderMode = S_IRWXU | S_IRWXG | S_IRWXO;  // narrowed by the umask

// Bold, italic, underline and strike-out; the style number's higher bits mean nothing.
constexpr std::int32_t kStyleBits = fsBold | fsItalic | fsUnderline | fsStrikeOut;

constexpr std::uint64_t kDecimalBase = 10;
constexpr std::uint64_t kHexBase = 16;
constexpr std::uint64_t kMaxHexMagnitude = std::numeric_limits<std::uint32_t>::max();
constexpr std::uint64_t kMaxPositiveMagnitude = std::numeric_limits<std::int32_t>::max();
constexpr std::uint64_t kMaxNegativeMagnitude = kMaxPositiveMagnitude + 1;
constexpr std::size_t kHexPrefixLength = 2;  // "0x"

// The folder that holds per-user settings folders; empty when there is none.
std::string ConfigFolder()
{
    return UserBaseFolder("XDG_CONFIG_HOME", kDefaultConfigFolder);
}

std::string SettingsFolder()
{
    const std::string config = ConfigFolder();
    if (config.empty())
        throw EZorvitError("neither XDG_CONFIG_HOME nor HOME names a folder");
    MakeFolderWithParents(config);
    const std::string folder = config + "/" + std::string(kAppFolderName);
    MakeFolder(folder, kAppFolderMode);
    return folder;
}

std::optional<int> DigitValue(char c, std::uint64_t base)
{
    int value = -1;
    if (c >= '0' && c <= '9')
        value = c - '0';
    else if (c >= 'a' && c <= 'f')
        value = c - 'a' + 10;
    else if (c >= 'A' && c <= 'F')
        value = c - 'A' + 10;
    if (value < 0 || static_cast<std::uint64_t>(value) >= base)
        return std::nullopt;
    return value;
}

// The magnitude of a non-empty run of digits, or none when a character is no digit or the
// value exceeds the limit.
std::optional<std::uint64_t> Magnitude(std::string_view digits, std::uint64_t base,
                                       std::uint64_t limit)
{
    if (digits.empty())
        return std::nullopt;
    std::uint64_t magnitude = 0;
    for (const char c : digits) {
        const auto digit = DigitValue(c, base);
        if (!digit)
            return std::nullopt;
        magnitude = magnitude * base + static_cast<std::uint64_t>(*digit);
        if (magnitude > limit)
            return std::nullopt;
    }
    return magnitude;
}

}  // namespace

std::string SettingsFileName()
{
    try {
        return SettingsFolder() + "/" + std::string(kSettingsFileName);
    } catch (const EZorvitError& error) {
        // Reading and writing the settings then quietly use the defaults; the user is told once.
        static bool told = false;
        if (!std::exchange(told, true))
            std::fprintf(stderr, "zorvit: settings are not kept: %s\n", error.what());
        return {};
    }
}

std::optional<std::int32_t> ParseInteger(std::string_view text)
{
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return std::nullopt;
    text.remove_prefix(first);
    const bool negative = text.front() == '-';
    if (negative || text.front() == '+')
        text.remove_prefix(1);

    std::optional<std::uint64_t> magnitude;
    if (!text.empty() && text.front() == '$') {
        magnitude = Magnitude(text.substr(1), kHexBase, kMaxHexMagnitude);
    } else if (text.size() > kHexPrefixLength && text[0] == '0' &&
               (text[1] == 'x' || text[1] == 'X')) {
        magnitude = Magnitude(text.substr(kHexPrefixLength), kHexBase, kMaxHexMagnitude);
    } else {
        magnitude =
            Magnitude(text, kDecimalBase, negative ? kMaxNegativeMagnitude : kMaxPositiveMagnitude);
    }
    if (!magnitude)
        return std::nullopt;
    // Hexadecimal digits give the 32-bit pattern (0xFF000005 is clWindow); decimal the value.
    const std::uint32_t bits = static_cast<std::uint32_t>(*magnitude);
    const std::uint32_t value = negative ? 0u - bits : bits;
    return static_cast<std::int32_t>(value);
}

std::int32_t ReadInteger(const TIniFile& file, std::string_view section, std::string_view key,
                         std::int32_t defaultValue)
{
    return ParseInteger(file.ReadString(section, key, {})).value_or(defaultValue);
}

void WriteInteger(TIniFile& file, std::string_view section, std::string_view key,
                  std::int32_t value)
{
    file.WriteString(section, key, std::to_string(value));
}

TMotionColors ReadMotionColors(const TIniFile& file)
{
    TMotionColors colours = kDefaultMotionColors;
    for (std::size_t i = 0; i < kMotionColorKeys.size(); ++i) {
        const TSettingKey& key = kMotionColorKeys[i];
        const std::string identifier = file.ReadString(key.Section, key.Key, {});
        colours[i] = IdentToColor(identifier).value_or(static_cast<TColor>(key.Default));
    }
    return colours;
}

void WriteMotionColors(TIniFile& file, const TMotionColors& colours)
{
    for (std::size_t i = 0; i < kMotionColorKeys.size(); ++i) {
        // Motion colours are always table colours; anything else is stored as the key's
        // default, which is also what reading such a key would give.
        const TSettingKey& key = kMotionColorKeys[i];
        const auto identifier =
            ColorToIdent(colours[i]).value_or(*ColorToIdent(static_cast<TColor>(key.Default)));
        file.WriteString(key.Section, key.Key, identifier);
    }
}

void ReadAttribute(const TIniFile& file, TTokenAttribute& attribute)
{
    // A missing key reads as the current value, which the setters take as no change.
    const std::string& section = attribute.Name();
    const auto background = static_cast<std::int32_t>(attribute.Background());
    attribute.SetBackground(
        static_cast<TColor>(ReadSetting(file, section, kAttributeBackgroundKey, background)));
    const auto foreground = static_cast<std::int32_t>(attribute.Foreground());
    attribute.SetForeground(
        static_cast<TColor>(ReadSetting(file, section, kAttributeForegroundKey, foreground)));
    const std::int32_t style = ReadSetting(file, section, kAttributeStyleKey, attribute.Style());
    attribute.SetStyle(static_cast<TFontStyles>(style & kStyleBits));
}

void WriteAttribute(TIniFile& file, const TTokenAttribute& attribute)
{
    const std::string& section = attribute.Name();
    WriteSetting(file, section, kAttributeBackgroundKey,
                 static_cast<std::int32_t>(attribute.Background()));
    WriteSetting(file, section, kAttributeForegroundKey,
                 static_cast<std::int32_t>(attribute.Foreground()));
    WriteSetting(file, section, kAttributeStyleKey, attribute.Style());
}

void ReadSettings(const TIniFile& file, TMotionColors& motionColours, THighlighter& highlighter)
{
    motionColours = ReadMotionColors(file);
    for (int i = 0; i < highlighter.AttributeCount(); ++i)
        ReadAttribute(file, *highlighter.AttributeAt(i));
}

void WriteSettings(TIniFile& file, const TMotionColors& motionColours,
                   const THighlighter& highlighter)
{
    TIniFileUpdate update(file);
    WriteMotionColors(file, motionColours);
    for (int i = 0; i < highlighter.AttributeCount(); ++i)
        WriteAttribute(file, *highlighter.AttributeAt(i));
    update.Commit();
}
