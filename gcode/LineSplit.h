#pragma once
// Splits text into lines the way the editor does: a line ends at CR LF, LF or CR, and a text
// that ends in a line break has an empty last line (so an empty text is one empty line).

#include <cstddef>
#include <string_view>

// Calls onLine with each line of text, without its break.
template <typename TOnLine>
void ForEachLine(std::string_view text, TOnLine&& onLine)
{
    constexpr char kCarriageReturn = '\r';
    constexpr char kLineFeed = '\n';
    std::size_t lineStart = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c != kCarriageReturn && c != kLineFeed)
            continue;
        onLine(text.substr(lineStart, i - lineStart));
        if (c == kCarriageReturn && i + 1 < text.size() && text[i + 1] == kLineFeed)
            ++i;
        lineStart = i + 1;
    }
    onLine(text.substr(lineStart));
}
