#pragma once
// Splits text into lines the way the editor does: a line ends at CR LF, LF or CR, and a text
// that ends in a line break has an empty last line (so an empty text is one empty line).

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <string_view>

// Calls onLine with each line of text, without its break. The next CR and the next LF are each
// found with memchr and kept until passed, so the text is scanned about once in either case.
template <typename TOnLine>
void ForEachLine(std::string_view text, TOnLine&& onLine)
{
    constexpr char kCarriageReturn = '\r';
    constexpr char kLineFeed = '\n';
    const char* const begin = text.data();
    const char* const end = begin + text.size();
    const auto find = [end](const char* from, char c) {
        if (from == end)
            return end;
        const void* const found = std::memchr(from, c, static_cast<std::size_t>(end - from));
        return found != nullptr ? static_cast<const char*>(found) : end;
    };
    const char* lineStart = begin;
    const char* nextCarriageReturn = find(begin, kCarriageReturn);
    const char* nextLineFeed = find(begin, kLineFeed);
    for (;;) {
        if (nextCarriageReturn < lineStart)
            nextCarriageReturn = find(lineStart, kCarriageReturn);
        if (nextLineFeed < lineStart)
            nextLineFeed = find(lineStart, kLineFeed);
        const char* const lineEnd = std::min(nextCarriageReturn, nextLineFeed);
        onLine(std::string_view(lineStart, static_cast<std::size_t>(lineEnd - lineStart)));
        if (lineEnd == end)
            return;
        lineStart = lineEnd + 1;
        if (*lineEnd == kCarriageReturn && lineStart != end && *lineStart == kLineFeed)
            ++lineStart;
    }
}
