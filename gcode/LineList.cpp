#include "gcode/LineList.h"

#include "gcode/LineSplit.h"

#include "common/HugePages.h"

TLineList::TLineList(std::string text) : FText(std::move(text))
{
    Split();
}

TLineList TLineList::View(std::string_view text)
{
    TLineList lines;
    lines.FView = text;
    lines.FViewed = true;
    lines.Split();
    return lines;
}

void TLineList::Split()
{
    const std::string_view text = Text();
    FBounds.reserve(CountLines(text));
    AdviseHugePagesForSpare(FBounds);
    const char* const start = text.data();
    ForEachLine(text, [this, start](std::string_view line) {
        const auto begin = static_cast<std::size_t>(line.data() - start);
        FBounds.push_back({begin, begin + line.size()});
    });
}

TLineList::TLineList(const std::vector<std::string>& lines)
{
    std::size_t total = 0;
    for (const std::string& line : lines)
        total += line.size();
    FText.reserve(total);
    FBounds.reserve(lines.size());
    for (const std::string& line : lines) {
        FBounds.push_back({FText.size(), FText.size() + line.size()});
        FText += line;
    }
}

std::vector<std::string> TLineList::ToStrings() const
{
    std::vector<std::string> lines;
    lines.reserve(size());
    for (std::size_t i = 0; i < size(); ++i)
        lines.emplace_back((*this)[i]);
    return lines;
}
