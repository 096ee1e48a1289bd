#include "edit/Renumber.h"

#include <algorithm>
#include <cctype>
#include <string_view>

#include "edit/BlockScan.h"
#include "edit/ModalState.h"

namespace {

// How the file writes its N words, from the first ones found.
struct TNumberFormat
{
    char Letter = 'N';
    std::size_t ZeroPadWidth = 0;  // digits of the zero-padded numbers ("N05": 2); 0 for none
    std::string Separator = " ";   // after an added N word
};

bool IsBlock(const TScannedBlock& block)
{
    for (const TBlockItem& item : block.Items)
        if (item.Kind == TItemKind::Word && item.Letter != 'N')
            return !block.HasControl;
    return false;
}

bool HasToolChange(const TScannedBlock& block)
{
    for (const TBlockItem* word : block.FindAll('M'))
        if (CodeOf(*word) == gcodes::kToolChange)
            return true;
    return false;
}

TNumberFormat FormatOf(const std::vector<std::string>& lines)
{
    TNumberFormat format;
    bool first = true;
    TScannedBlock block;
    for (const std::string& line : lines) {
        ScanBlock(line, block);
        for (std::size_t i = 0; i < block.Items.size(); ++i) {
            const TBlockItem& item = block.Items[i];
            if (item.Kind != TItemKind::Word || item.Letter != 'N' || !item.Numeric)
                continue;
            const std::string_view digits = ValueText(line, item);
            if (digits.size() > 1 && digits.front() == '0')
                format.ZeroPadWidth = std::max(format.ZeroPadWidth, digits.size());
            if (first) {
                first = false;
                format.Letter = line[item.Begin];
                const bool followed = i + 1 < block.Items.size();
                format.Separator = !followed ? " "
                                   : block.Items[i + 1].Kind == TItemKind::Blank
                                       ? std::string(ItemText(line, block.Items[i + 1]))
                                       : "";
            }
        }
    }
    return format;
}

std::string NumberText(long long number, const TNumberFormat& format)
{
    std::string digits = std::to_string(number);
    if (digits.size() < format.ZeroPadWidth)
        digits.insert(0, format.ZeroPadWidth - digits.size(), '0');
    return digits;
}

}  // namespace

std::vector<std::string> Renumber(const std::vector<std::string>& lines,
                                  const TRenumberOptions& options)
{
    const TNumberFormat format = FormatOf(lines);
    std::vector<std::string> result;
    result.reserve(lines.size());
    long long next = options.Start;
    TScannedBlock block;
    for (const std::string& line : lines) {
        ScanBlock(line, block);
        const TBlockItem* const number = block.Find('N');
        bool numbered = false;
        switch (options.Mode) {
        case TRenumberMode::AllBlocks:
            numbered = number != nullptr || IsBlock(block);
            break;
        case TRenumberMode::NumberedBlocks:
            numbered = number != nullptr;
            break;
        case TRenumberMode::ToolChanges:
            numbered = HasToolChange(block);
            break;
        case TRenumberMode::Remove:
            break;
        }
        if (numbered && number != nullptr) {
            result.push_back(line.substr(0, number->ValueBegin) + NumberText(next, format) +
                             line.substr(number->End));
        } else if (numbered) {
            // The new word goes after the indentation and a block delete.
            std::size_t at = 0;
            for (const TBlockItem& item : block.Items) {
                if (item.Kind != TItemKind::Blank && item.Kind != TItemKind::BlockDelete)
                    break;
                at = item.End;
            }
            result.push_back(line.substr(0, at) + format.Letter + NumberText(next, format) +
                             format.Separator + line.substr(at));
        } else if (number != nullptr) {
            // The word goes with the blanks after it, so the line starts as its other words did.
            std::size_t end = number->End;
            while (end < line.size() && (line[end] == ' ' || line[end] == '\t'))
                ++end;
            result.push_back(line.substr(0, number->Begin) + line.substr(end));
        } else {
            result.push_back(line);
        }
        if (numbered)
            next += options.Step;
    }
    return result;
}
