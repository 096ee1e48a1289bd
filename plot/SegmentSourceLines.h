#pragma once
// The source line of each segment of the plot, in segment order, so that a segment leads to its
// line and a line to its segments. Lines never decrease along the list: the tool path is built
// front to back over rows in line order.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

struct TSegmentRange
{
    std::size_t first = 0;
    std::size_t count = 0;
};

class TSegmentSourceLines
{
public:
    // Empties the list and makes room for that many segments.
    void Reset(std::size_t capacity);
    void Add(std::uint32_t line) { FLines.push_back(line); }
    // Gives back the room reserved beyond the segments added.
    void Trim() { FLines.shrink_to_fit(); }

    std::size_t Size() const { return FLines.size(); }
    // Memory held for the lines, in bytes.
    std::size_t AllocatedBytes() const { return FLines.capacity() * sizeof(std::uint32_t); }
    // The line of a segment; none for a segment the list does not know.
    std::optional<std::uint32_t> LineOf(std::size_t segment) const;
    // The segments drawn for a line; count 0 when it made none.
    TSegmentRange SegmentsOf(std::uint32_t line) const;

private:
    std::vector<std::uint32_t> FLines;
};
