#pragma once
// The source line of each segment of the plot, in segment order, so that a segment leads to its
// line and a line to its segments. Along the transcription lines never decrease, as it is built
// front to back over rows in line order; the machine path goes back to earlier lines in loops
// and subroutines, and then a line leads to the first run of segments it made.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

struct TSegmentRange
{
    std::size_t first = 0;
    std::size_t count = 0;
};

// Lines are kept in blocks of kBlockSegments segments: a block whose lines ascend by less than
// 256 from its first keeps that line and one byte a segment; any other block keeps its lines
// whole. A tool path's segments mostly come from consecutive lines, so a segment takes a little
// over one byte.
class TSegmentSourceLines
{
public:
    // Empties the list and makes room for that many segments.
    void Reset(std::size_t capacity);
    void Add(std::uint32_t line)
    {
        FAscending = FAscending && (FCount == 0 || FLast <= line);
        FLast = line;
        FPending[FCount % kBlockSegments] = line;
        if (++FCount % kBlockSegments == 0)
            StoreBlock();
    }
    // Gives back the room reserved beyond the segments added.
    void Trim();

    std::size_t Size() const { return FCount; }
    // Memory held for the lines, in bytes.
    std::size_t AllocatedBytes() const;
    // The line of a segment; none for a segment the list does not know.
    std::optional<std::uint32_t> LineOf(std::size_t segment) const;
    // The segments drawn for a line (the first run of them when lines go back); count 0 when
    // it made none.
    TSegmentRange SegmentsOf(std::uint32_t line) const;

private:
    static constexpr std::size_t kBlockSegments = 64;
    static constexpr std::uint32_t kWholeLines = 0xFFFFFFFF;  // a block that keeps whole lines

    struct TBlock
    {
        std::uint32_t First;  // the line of the block's first segment
        std::uint32_t Whole;  // where its lines start in FWholeLines, or kWholeLines
    };

    void StoreBlock();
    std::uint32_t Line(std::size_t segment) const;

    std::vector<TBlock> FBlocks;
    std::vector<std::uint8_t> FSteps;  // a segment's line less its block's first
    std::vector<std::uint32_t> FWholeLines;
    std::array<std::uint32_t, kBlockSegments> FPending{};  // the lines of the unfinished block
    std::size_t FCount = 0;
    std::uint32_t FLast = 0;
    bool FAscending = true;  // searched by halving while it holds
};
