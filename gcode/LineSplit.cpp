#include "LineSplit.h"

std::vector<std::string> SplitLines(std::string_view text)
{
    constexpr char kCarriageReturn = '\r';
    constexpr char kLineFeed = '\n';
    std::vector<std::string> lines;
    std::size_t lineStart = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c != kCarriageReturn && c != kLineFeed)
            continue;
        lines.emplace_back(text.substr(lineStart, i - lineStart));
        if (c == kCarriageReturn && i + 1 < text.size() && text[i + 1] == kLineFeed)
            ++i;
        lineStart = i + 1;
    }
    lines.emplace_back(text.substr(lineStart));
    return lines;
}
