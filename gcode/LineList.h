#pragma once
// TLineList holds the lines of a text as one string plus the bounds of each line, so a large
// program costs its bytes and two offsets per line instead of a string per line. A view list
// borrows the text instead of holding it.

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
    // The lines of a text that the caller keeps unchanged, in place, for as long as the list
    // is read.
    static TLineList View(std::string_view text);

    std::size_t size() const { return FBounds.size(); }
    std::string_view operator[](std::size_t index) const
    {
        const TBounds& bounds = FBounds[index];
        return {Text().data() + bounds.Begin, bounds.End - bounds.Begin};
    }
    // A string per line, for comparing whole lists.
    std::vector<std::string> ToStrings() const;

private:
    struct TBounds
    {
        std::size_t Begin;
        std::size_t End;  // just after the last byte of the line, before its break
    };

    void Split();
    std::string_view Text() const { return FViewed ? FView : std::string_view(FText); }

    std::string FText;
    std::string_view FView;
    bool FViewed = false;
    std::vector<TBounds> FBounds;
};
