#include "plot/SegmentSourceLines.h"

#include <algorithm>

void TSegmentSourceLines::Reset(std::size_t capacity)
{
    fLines.clear();
    fLines.reserve(capacity);
}

std::optional<std::uint32_t> TSegmentSourceLines::LineOf(std::size_t segment) const
{
    if (segment >= fLines.size())
        return std::nullopt;
    return fLines[segment];
}

TSegmentRange TSegmentSourceLines::SegmentsOf(std::uint32_t line) const
{
    const auto [first, last] = std::equal_range(fLines.begin(), fLines.end(), line);
    return {static_cast<std::size_t>(first - fLines.begin()), static_cast<std::size_t>(last - first)};
}
