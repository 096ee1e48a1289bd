#pragma once
// TLineList holds the lines of a text as one string plus the bounds of each line, so a large
// program costs its bytes and two offsets per line instead of a string per line.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

class TLineList
{
public:
    // No lines at all (an empty text, split, is one empty line).
    TLineList() = default;
    // Splits the text at its line breaks as ForEachLine does. Moving a text in keeps its bytes
    // where they are.
    explicit TLineList(std::string text);
    // Exactly these lines: bytes that look like line breaks stay inside their line.
    explicit TLineList(const std::vector<std::string>& lines);

    std::size_t size() const { return FBounds.size(); }
    std::string_view operator[](std::size_t index) const
    {
        const TBounds& bounds = FBounds[index];
        return {FText.data() + bounds.Begin, bounds.End - bounds.Begin};
    }
    // A string per line, for comparing whole lists.
    std::vector<std::string> ToStrings() const;

private:
    struct TBounds
    {
        std::size_t Begin;
        std::size_t End;  // just after the last byte of the line, before its break
    };

    std::string FText;
    std::vector<TBounds> FBounds;
};
