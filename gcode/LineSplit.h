#pragma once
// Splits text into lines the way the editor does: a line ends at CR LF, LF or CR, and a text
// that ends in a line break has an empty last line (so an empty text is one empty line).

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <string_view>

// Hands out the lines of a text one at a time, without their breaks. The next CR and the next LF
// are each found with memchr and kept until passed, so the text is scanned about once in either
// case.
class TLineCursor
{
public:
    explicit TLineCursor(std::string_view text)
        : FLineStart(text.data()), FEnd(text.data() + text.size()),
          FNextCarriageReturn(Find(FLineStart, kCarriageReturn)),
          FNextLineFeed(Find(FLineStart, kLineFeed))
    {}

    // The next line; false after the last one.
    bool Next(std::string_view& line)
    {
        if (FPastEnd)
            return false;
        if (FNextCarriageReturn < FLineStart)
            FNextCarriageReturn = Find(FLineStart, kCarriageReturn);
        if (FNextLineFeed < FLineStart)
            FNextLineFeed = Find(FLineStart, kLineFeed);
        const char* const lineEnd = std::min(FNextCarriageReturn, FNextLineFeed);
        line = std::string_view(FLineStart, static_cast<std::size_t>(lineEnd - FLineStart));
        if (lineEnd == FEnd) {
            FPastEnd = true;
            return true;
        }
        FLineStart = lineEnd + 1;
        if (*lineEnd == kCarriageReturn && FLineStart != FEnd && *FLineStart == kLineFeed)
            ++FLineStart;
        return true;
    }

    // Where the next line starts.
    const char* Position() const { return FLineStart; }

private:
    static constexpr char kCarriageReturn = '\r';
    static constexpr char kLineFeed = '\n';

    const char* Find(const char* from, char c) const
    {
        if (from == FEnd)
            return FEnd;
        const void* const found = std::memchr(from, c, static_cast<std::size_t>(FEnd - from));
        return found != nullptr ? static_cast<const char*>(found) : FEnd;
    }

    const char* FLineStart;
    const char* FEnd;
    const char* FNextCarriageReturn;
    const char* FNextLineFeed;
    bool FPastEnd = false;
};

// Calls onLine with each line of text, without its break.
template <typename TOnLine>
void ForEachLine(std::string_view text, TOnLine&& onLine)
{
    TLineCursor cursor(text);
    std::string_view line;
    while (cursor.Next(line))
        onLine(line);
}

// The number of lines ForEachLine finds: one more than the breaks, where CR LF is one break.
// Each byte is judged with its predecessor and without early exits, so the count vectorises.
inline std::size_t CountLines(std::string_view text)
{
    if (text.empty())
        return 1;
    const auto isBreak = [](char c, char previous) {
        return static_cast<std::size_t>(c == '\r' || (c == '\n' && previous != '\r'));
    };
    std::size_t breaks = isBreak(text[0], 0);
    for (std::size_t i = 1; i < text.size(); ++i)
        breaks += isBreak(text[i], text[i - 1]);
    return breaks + 1;
}
