#pragma once
// TGCodeEngine transcribes G-code lines into a line table: one row per line that sets a value,
// each word's number in the column for its letter. It keeps no modal state and applies no
// units or distance modes.

#include <array>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "GCodeParser.h"
#include "LineList.h"
#include "LineTable.h"

class TGCodeEngine
{
public:
    TGCodeEngine();

    // Empties the table and interprets the lines into it. The first error ends the run: the
    // rows of earlier lines stay, and the failing line's values stay in the pending row.
    // The engine holds the lines it is given for the length of the run only, so a list that
    // views a text needs that text for no longer than the call.
    void Run(TLineList lines);
    void Run(std::vector<std::string> lines);
    // Lets a brace list of lines pick one overload.
    void Run(std::initializer_list<std::string> lines);
    const std::shared_ptr<TLineTable>& Table() const { return FTable; }

    // Told the lines done and the line count at the first line and then every kProgressLines.
    std::function<void(std::size_t done, std::size_t total)> OnProgress;
    static constexpr std::size_t kProgressLines = std::size_t{1} << 16;

private:
    enum class TWordKind : std::uint8_t { Ignored, Integer, Real, GCode, MCode };

    struct TWordEntry
    {
        TWordKind Kind = TWordKind::Ignored;
        int Required = TGCodeParser::tkEnd;  // token that must follow the letter
        int Column = -1;
    };

    static constexpr std::size_t kLetterCount = 26;
    static constexpr std::size_t kClassNumberCount = 100;  // G and M numbers with a class are below

    void HandleWord();
    int ClassColumn(TWordKind kind, std::int64_t number) const;

    TGCodeParser FParser;
    std::shared_ptr<TLineTable> FTable;
    TLineList FLines;
    // Column names resolved once: per letter, and per G and M number (-1 for none).
    std::array<TWordEntry, kLetterCount> FWords{};
    std::array<int, kClassNumberCount> FGColumns{};
    std::array<int, kClassNumberCount> FMColumns{};
};
