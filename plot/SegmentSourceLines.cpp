#include "plot/SegmentSourceLines.h"

#include "common/HugePages.h"

#include <algorithm>

void TSegmentSourceLines::Reset(std::size_t capacity)
{
    FLines.clear();
    FLines.reserve(capacity);
    AdviseHugePagesForSpare(FLines);
    FAscending = true;
}

std::optional<std::uint32_t> TSegmentSourceLines::LineOf(std::size_t segment) const
{
    if (segment >= FLines.size())
        return std::nullopt;
    return FLines[segment];
}

TSegmentRange TSegmentSourceLines::SegmentsOf(std::uint32_t line) const
{
    if (!FAscending) {
        const auto first = std::find(FLines.begin(), FLines.end(), line);
        const auto last = std::find_if(first, FLines.end(),
                                       [line](std::uint32_t other) { return other != line; });
        return {static_cast<std::size_t>(first - FLines.begin()),
                static_cast<std::size_t>(last - first)};
    }
    const auto [first, last] = std::equal_range(FLines.begin(), FLines.end(), line);
    return {static_cast<std::size_t>(first - FLines.begin()),
            static_cast<std::size_t>(last - first)};
}
