#pragma once
// Splits text into lines the way the editor does: a line ends at CR LF, LF or CR, and a text
// that ends in a line break has an empty last line (so an empty text is one empty line).

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstring>
#include <optional>
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
// Each byte is judged with its predecessor, in rounds of one-byte counters that the compiler
// turns into vector code: a 400 MB text takes tens of milliseconds.
inline std::size_t CountLines(std::string_view text)
{
    if (text.empty())
        return 1;
    const char* const bytes = text.data();
    const auto endsBreak = [bytes](std::size_t i) {
        return static_cast<unsigned char>((bytes[i] == '\r') |
                                          ((bytes[i] == '\n') & (bytes[i - 1] != '\r')));
    };
    constexpr std::size_t kLanes = 32;
    constexpr std::size_t kRoundBytes = 255 * kLanes;  // no counter passes 255 in a round
    std::size_t breaks = bytes[0] == '\r' || bytes[0] == '\n';
    std::size_t i = 1;
    while (i < text.size()) {
        const std::size_t roundEnd = std::min(text.size(), i + kRoundBytes);
        std::array<unsigned char, kLanes> counts{};
        for (; i + kLanes <= roundEnd; i += kLanes)
            for (std::size_t lane = 0; lane < kLanes; ++lane)
                counts[lane] += endsBreak(i + lane);
        for (; i < roundEnd; ++i)
            breaks += endsBreak(i);
        for (const unsigned char count : counts)
            breaks += count;
    }
    return breaks + 1;
}

// A line break: where it begins and where the next line starts (CR LF is one break).
struct TBreakSpan
{
    std::size_t Begin;
    std::size_t End;
};

// The first line break in a text that ends after a place, if any.
inline std::optional<TBreakSpan> BreakFrom(std::string_view text, std::size_t from)
{
    const std::size_t found = text.find_first_of("\r\n", from);
    if (found == std::string_view::npos)
        return std::nullopt;
    if (text[found] == '\n' && found > 0 && text[found - 1] == '\r')
        return TBreakSpan{found - 1, found + 1};
    if (text[found] == '\r' && found + 1 < text.size() && text[found + 1] == '\n')
        return TBreakSpan{found, found + 2};
    return TBreakSpan{found, found + 1};
}

// The last line break that lies wholly in text[from, text.size()) of a text that may go on: a CR
// at its very end may yet be followed by the LF of the same break, so it does not count.
inline std::optional<TBreakSpan> LastBreakIn(std::string_view text, std::size_t from)
{
    std::size_t end = text.size();
    if (end > from && text[end - 1] == '\r')
        --end;
    for (std::size_t i = end; i > from; --i) {
        const char c = text[i - 1];
        if (c == '\n')
            return i - 1 > from && text[i - 2] == '\r' ? TBreakSpan{i - 2, i}
                                                       : TBreakSpan{i - 1, i};
        if (c == '\r')
            return TBreakSpan{i - 1, i};
    }
    return std::nullopt;
}
