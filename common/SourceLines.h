#pragma once
// The source line of each item of a list made from a program, in item order, so that an item
// leads to its line and a line to its items: the interpreter's rows, the plot's segments. Lines
// never decrease where the list is made front to back over lines in order, as the interpreter's
// rows and the transcription's segments are; the machine path goes back to earlier lines in
// loops and subroutines, and then a line leads to the first run of items it made.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

struct TIndexRange
{
    std::size_t first = 0;
    std::size_t count = 0;
};

// Lines are kept in blocks of kBlockItems items: a block whose lines ascend by less than 256
// from its first keeps that line and one byte an item; any other block keeps its lines whole.
// Items mostly come from consecutive lines, so an item takes a little over one byte.
class TSourceLines
{
public:
    // Empties the list and makes room for that many items.
    void Reset(std::size_t capacity);
    void Add(std::uint32_t line)
    {
        FAscending = FAscending && (FCount == 0 || FLast <= line);
        FLast = line;
        FPending[FCount % kBlockItems] = line;
        if (++FCount % kBlockItems == 0)
            StoreBlock();
    }
    // Adds the lines of a list made after this one, in their order.
    void Append(const TSourceLines& later);
    // Gives back the room reserved beyond the items added.
    void Trim();

    std::size_t Size() const { return FCount; }
    // Memory held for the lines, in bytes.
    std::size_t AllocatedBytes() const;
    // The line of an item; none for an item the list does not know. Inline, as readers ask it
    // for every item in turn.
    std::optional<std::uint32_t> LineOf(std::size_t item) const
    {
        if (item >= FCount)
            return std::nullopt;
        return Line(item);
    }
    // The items of a line (the first run of them when lines go back); count 0 when it made none.
    TIndexRange IndicesOf(std::uint32_t line) const;

private:
    static constexpr std::size_t kBlockItems = 64;
    static constexpr std::uint32_t kStepsOnly = 0xFFFFFFFF;  // a block that keeps no whole lines

    struct TBlock
    {
        std::uint32_t First;  // the line of the block's first item
        std::uint32_t Whole;  // where its lines start in FWholeLines, or kStepsOnly
    };

    void StoreBlock();
    // The lines of a block, stored or pending, for reading them in bulk.
    void BlockLines(std::size_t block, std::array<std::uint32_t, kBlockItems>& lines) const;
    std::uint32_t Line(std::size_t item) const
    {
        const std::size_t block = item / kBlockItems;
        if (block >= FBlocks.size())
            return FPending[item % kBlockItems];
        const TBlock& stored = FBlocks[block];
        if (stored.Whole == kStepsOnly)
            return stored.First + FSteps[item];
        return FWholeLines[stored.Whole + item % kBlockItems];
    }

    std::vector<TBlock> FBlocks;
    std::vector<std::uint8_t> FSteps;  // an item's line less its block's first
    std::vector<std::uint32_t> FWholeLines;
    std::array<std::uint32_t, kBlockItems> FPending{};  // the lines of the unfinished block
    std::size_t FCount = 0;
    std::uint32_t FLast = 0;
    bool FAscending = true;  // searched by halving while it holds
};
