// The INI layer reading any bytes, then writing keys into them. Invariants: every written key
// reads back, and every line that no write touched stays byte for byte as it was, in order.

#include "common/SameText.h"
#include "settings/IniFile.h"
#include "tests/fuzz/FuzzFile.h"

#include <array>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

struct TEntry
{
    std::string_view Section;
    std::string_view Key;
    std::string_view Value;
};

// Sections and keys that fuzz inputs are likely to hold too: the seeds are settings files.
constexpr std::array<TEntry, 4> kWrites{{{"Colors", "G0", "clRed"},
                                         {"Colors", "G9", "clBlue"},
                                         {"Axis", "Style", "3"},
                                         {"Fuzz Section", "New Key", "a value"}}};

struct TRawLine
{
    std::string Text;
    std::string Break;
};

// The same split as the INI layer's: at LF, a CR just before it belonging to the break.
std::vector<TRawLine> RawLines(const std::string& content)
{
    std::vector<TRawLine> lines;
    std::size_t start = 0;
    while (start < content.size()) {
        const std::size_t feed = content.find('\n', start);
        if (feed == std::string::npos) {
            lines.push_back({content.substr(start), {}});
            break;
        }
        const std::size_t end = (feed > start && content[feed - 1] == '\r') ? feed - 1 : feed;
        lines.push_back({content.substr(start, end - start), content.substr(end, feed + 1 - end)});
        start = feed + 1;
    }
    return lines;
}

std::string_view Trim(std::string_view text)
{
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// Lines that a write may have replaced or inserted: blank lines, section headers and lines
// naming a written key. Everything else must survive unchanged.
bool MayBeWritten(std::string_view text)
{
    const std::string_view trimmed = Trim(text);
    if (trimmed.empty() || trimmed.front() == '[')
        return true;
    const std::string_view key = Trim(trimmed.substr(0, trimmed.find('=')));
    for (const TEntry& entry : kWrites) {
        if (SameText(key, entry.Key))
            return true;
    }
    return false;
}

std::vector<TRawLine> Untouched(const std::vector<TRawLine>& lines)
{
    std::vector<TRawLine> kept;
    for (const TRawLine& line : lines) {
        if (!MayBeWritten(line.Text))
            kept.push_back(line);
    }
    return kept;
}

void Check(bool condition)
{
    if (!condition)
        std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const TFuzzFile file;
    const std::string original(reinterpret_cast<const char*>(data), size);
    file.Write(original);

    TIniFile ini(file.Name());
    for (const TEntry& entry : kWrites)
        (void)ini.ReadString(entry.Section, entry.Key, "");
    (void)ini.ReadSection("Colors");
    {
        TIniFileUpdate update(ini);
        for (const TEntry& entry : kWrites)
            ini.WriteString(entry.Section, entry.Key, entry.Value);
        update.Commit();
    }
    for (const TEntry& entry : kWrites)
        Check(ini.ReadString(entry.Section, entry.Key, "") == entry.Value);

    const std::vector<TRawLine> before = Untouched(RawLines(original));
    const std::vector<TRawLine> after = Untouched(RawLines(file.Read()));
    Check(before.size() == after.size());
    for (std::size_t i = 0; i < before.size(); ++i) {
        Check(before[i].Text == after[i].Text);
        // Only the file's last line may gain the break that a line added after it needs.
        Check(before[i].Break == after[i].Break ||
              (before[i].Break.empty() && i + 1 == before.size()));
    }
    return 0;
}
