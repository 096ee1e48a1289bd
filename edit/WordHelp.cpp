#include "edit/WordHelp.h"

#include <cctype>
#include <cmath>
#include <fstream>
#include <sstream>

#include "edit/BlockScan.h"

namespace {

constexpr std::string_view kFileName = "word-help";

std::string_view Trimmed(std::string_view text)
{
    const std::size_t first = text.find_first_not_of(" \t\r");
    if (first == std::string_view::npos)
        return {};
    const std::size_t last = text.find_last_not_of(" \t\r");
    return text.substr(first, last - first + 1);
}

}  // namespace

void TWordHelp::Add(std::string_view text)
{
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        const std::string_view line = Trimmed(text.substr(0, end));
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        if (line.empty() || line.front() == '#')
            continue;
        const std::size_t blank = line.find_first_of(" \t");
        if (blank == std::string_view::npos)
            continue;
        const std::string key = Key(line.substr(0, blank));
        if (!key.empty())
            FEntries[key] = std::string(Trimmed(line.substr(blank)));
    }
}

bool TWordHelp::AddFile(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return false;
    std::ostringstream text;
    text << file.rdbuf();
    Add(text.str());
    return true;
}

std::string TWordHelp::Key(std::string_view word)
{
    const TScannedBlock block = ScanBlock(word);
    if (block.Items.size() != 1 || block.Items.front().Kind != TItemKind::Word) {
        // A letter alone is a key too, though no word of a program.
        if (word.size() == 1 && std::isalpha(static_cast<unsigned char>(word.front())))
            return std::string(
                1, static_cast<char>(std::toupper(static_cast<unsigned char>(word.front()))));
        return {};
    }
    const TBlockItem& item = block.Items.front();
    std::string key(1, item.Letter);
    if (item.Letter != 'G' && item.Letter != 'M')
        return key;
    const int code = CodeOf(item);
    if (code < 0)
        return key;
    key += std::to_string(code / 10);
    if (code % 10 != 0)
        key += "." + std::to_string(code % 10);
    return key;
}

std::string TWordHelp::Lookup(std::string_view word) const
{
    const std::string key = Key(word);
    if (key.empty())
        return {};
    auto found = FEntries.find(key);
    if (found == FEntries.end())
        found = FEntries.find(key.substr(0, 1));
    if (found == FEntries.end())
        return {};
    return found->first + ": " + found->second;
}

std::string_view WordAt(std::string_view line, std::size_t column)
{
    for (const TBlockItem& item : ScanBlock(line).Items)
        if (column >= item.Begin && column < item.End)
            return item.Kind == TItemKind::Word ? ItemText(line, item) : std::string_view();
    return {};
}

std::string InstalledWordHelpPath(const std::string& programFolder)
{
    return programFolder + "/../share/zorvit/" + std::string(kFileName);
}

std::string UserWordHelpPath(const std::string& configFolder)
{
    return configFolder + "/Zorvit/" + std::string(kFileName);
}
