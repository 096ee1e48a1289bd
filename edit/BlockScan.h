#pragma once
// Scans one line of G-code into its items (words, comments, blanks and the rest) with their
// byte positions, so the editing tools can rewrite a single number or drop a comment and leave
// every other byte of the line as it was. It reads LinuxCNC's dialect as far as the tools need:
// a word's value is a number, a parameter ("#12", "#<name>"), an expression in brackets or a
// function ("sqrt[2]"); "#n=..." assignments and O-word lines are kept whole.

#include <cstddef>
#include <string_view>
#include <vector>

enum class TItemKind {
    Blank,        // blanks and tabs
    Word,         // a letter and its value
    Comment,      // "(...)" or ";..." to the line end
    BlockDelete,  // "/" before the first word
    Percent,      // the "%" that opens or closes a program
    Assignment,   // "#1=2", "#<x>=[#1+1]"
    Control,      // an O word and the rest of its line up to a comment
    Unknown,      // a byte that fits none of the above
};

struct TBlockItem
{
    TItemKind Kind = TItemKind::Unknown;
    std::size_t Begin = 0;
    std::size_t End = 0;  // just after the item
    char Letter = 0;      // words: the letter, upper case
    std::size_t ValueBegin = 0;
    bool Numeric = false;  // words: the value is a plain number
    double Value = 0;      // words with a numeric value
};

struct TScannedBlock
{
    std::vector<TBlockItem> Items;
    bool HasControl = false;
    bool HasUnknown = false;

    // The first word with this letter (upper case), or null.
    const TBlockItem* Find(char letter) const;
    // The words with this letter in line order.
    std::vector<const TBlockItem*> FindAll(char letter) const;
};

TScannedBlock ScanBlock(std::string_view line);
// The same into a block whose item list is reused, for scanning many lines without allocating.
void ScanBlock(std::string_view line, TScannedBlock& block);

// The text of an item's value (words) or of the whole item.
inline std::string_view ValueText(std::string_view line, const TBlockItem& item)
{
    return line.substr(item.ValueBegin, item.End - item.ValueBegin);
}
inline std::string_view ItemText(std::string_view line, const TBlockItem& item)
{
    return line.substr(item.Begin, item.End - item.Begin);
}

// A G or M code in tenths (G38.2 is 382), or -1 when the value is not a number with at most one
// decimal.
int CodeOf(const TBlockItem& word);
