#include "edit/Tidy.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <string_view>

#include "edit/BlockScan.h"

namespace {

// Whether LinuxCNC acts on the comment: "(MSG, text)" and its kind, in any case and with blanks.
bool IsActiveComment(std::string_view comment)
{
    static constexpr std::array<std::string_view, 11> kCommands = {
        "msg",      "debug",     "print",      "log", "logopen", "logappend",
        "logclose", "probeopen", "probeclose", "py",  "abort"};
    std::string word;
    for (std::size_t i = 1; i < comment.size(); ++i) {
        const char c = comment[i];
        if (c == ',' || c == ')')
            break;
        if (c != ' ' && c != '\t')
            word += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return std::find(kCommands.begin(), kCommands.end(), word) != kCommands.end() &&
           (comment.find(',') != std::string_view::npos || word == "logclose" ||
            word == "probeclose");
}

std::string UpperCased(std::string_view text)
{
    std::string upper(text);
    std::transform(upper.begin(), upper.end(), upper.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return upper;
}

bool IsBlankLine(std::string_view line)
{
    return line.find_first_not_of(" \t") == std::string_view::npos;
}

class TLineTidier
{
public:
    TLineTidier(std::string_view line, const TTidyOptions& options, bool keepComments)
        : FLine(line), FOptions(options), FKeepComments(keepComments), FBlock(ScanBlock(line))
    {}

    // The tidied line; empty with dropped set when nothing but removed comments was on it.
    std::string Run(bool& dropped) const;

private:
    bool Removed(const TBlockItem& item) const
    {
        return item.Kind == TItemKind::Comment && !FKeepComments &&
               !IsActiveComment(ItemText(FLine, item));
    }
    std::string Text(const TBlockItem& item) const;

    std::string_view FLine;
    const TTidyOptions& FOptions;
    bool FKeepComments;
    TScannedBlock FBlock;
};

std::string TLineTidier::Text(const TBlockItem& item) const
{
    const std::string_view text = ItemText(FLine, item);
    if (item.Kind == TItemKind::Comment || !FOptions.UpperCase)
        return item.Kind == TItemKind::Word && FOptions.Spacing != TWordSpacing::Keep
                   ? std::string(1, text.front()) + std::string(ValueText(FLine, item))
                   : std::string(text);
    if (item.Kind == TItemKind::Word && FOptions.Spacing != TWordSpacing::Keep)
        return std::string(1, item.Letter) + UpperCased(ValueText(FLine, item));
    return UpperCased(text);
}

std::string TLineTidier::Run(bool& dropped) const
{
    dropped = false;
    std::string_view trailing;
    const std::vector<TBlockItem>& items = FBlock.Items;
    std::size_t last = items.size();
    if (last > 0 && items[last - 1].Kind == TItemKind::Blank) {
        trailing = ItemText(FLine, items[last - 1]);
        --last;
    }
    const std::string_view tail = FOptions.TrimTrailingBlanks ? std::string_view() : trailing;
    if (FBlock.HasUnknown)
        return std::string(FLine.substr(0, FLine.size() - trailing.size())) + std::string(tail);

    std::string result;
    bool kept = false;     // an item has been written
    bool removed = false;  // a comment has been removed
    for (std::size_t i = 0; i < last; ++i) {
        const TBlockItem& item = items[i];
        if (item.Kind == TItemKind::Blank) {
            // Leading blanks stay; between items they follow the spacing.
            if (i == 0)
                result += ItemText(FLine, item);
            continue;
        }
        if (Removed(item)) {
            removed = true;
            continue;
        }
        if (kept) {
            const bool afterBlockDelete = items[i - 1].Kind == TItemKind::BlockDelete;
            switch (FOptions.Spacing) {
            case TWordSpacing::Keep:
                if (items[i - 1].Kind == TItemKind::Blank)
                    result += ItemText(FLine, items[i - 1]);
                break;
            case TWordSpacing::One:
                if (!afterBlockDelete)
                    result += ' ';
                break;
            case TWordSpacing::None:
                break;
            }
        }
        result += Text(item);
        kept = true;
    }
    if (!kept && removed) {
        dropped = true;
        return {};
    }
    if (!kept)
        return std::string(FLine.substr(0, FLine.size() - trailing.size())) + std::string(tail);
    return result + std::string(tail);
}

}  // namespace

TTidyResult Tidy(const std::vector<std::string>& lines, const TTidyOptions& options)
{
    TTidyResult result;
    result.Lines.reserve(lines.size());
    result.SourceLines.reserve(lines.size());
    // The first block is the first line with anything but blanks or a "%" on it.
    bool beforeFirstBlock = true;
    for (std::size_t index = 0; index < lines.size(); ++index) {
        const std::string& line = lines[index];
        bool firstBlock = false;
        if (beforeFirstBlock && !IsBlankLine(line) &&
            line.find_first_not_of(" \t%") != std::string::npos) {
            beforeFirstBlock = false;
            firstBlock = true;
        }
        const bool keepComments =
            options.Comments == TCommentRemoval::Keep ||
            (options.Comments == TCommentRemoval::AllButFirstBlock && firstBlock);
        bool dropped = false;
        std::string tidied = TLineTidier(line, options, keepComments).Run(dropped);
        if (dropped)
            continue;
        result.Lines.push_back(std::move(tidied));
        result.SourceLines.push_back(index);
    }
    return result;
}
