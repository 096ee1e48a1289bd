#include "plot/SegmentSourceLines.h"

#include <algorithm>
#include <limits>

void TSegmentSourceLines::Reset(std::size_t capacity)
{
    FBlocks.clear();
    FBlocks.reserve(capacity / kBlockSegments + 1);
    FSteps.clear();
    FSteps.reserve(capacity);
    FWholeLines.clear();
    FCount = 0;
    FLast = 0;
    FAscending = true;
}

void TSegmentSourceLines::Trim()
{
    FBlocks.shrink_to_fit();
    FSteps.shrink_to_fit();
    FWholeLines.shrink_to_fit();
}

std::size_t TSegmentSourceLines::AllocatedBytes() const
{
    return FBlocks.capacity() * sizeof(TBlock) + FSteps.capacity() +
           FWholeLines.capacity() * sizeof(std::uint32_t);
}

// Stores the pending block, which is full.
void TSegmentSourceLines::StoreBlock()
{
    const std::uint32_t first = FPending[0];
    bool narrow = true;
    for (std::size_t i = 1; i < kBlockSegments; ++i)
        narrow = narrow && FPending[i] >= FPending[i - 1] &&
                 FPending[i] - first <= std::numeric_limits<std::uint8_t>::max();
    FBlocks.push_back(
        {first, narrow ? kWholeLines : static_cast<std::uint32_t>(FWholeLines.size())});
    for (const std::uint32_t line : FPending)
        FSteps.push_back(narrow ? static_cast<std::uint8_t>(line - first) : 0);
    if (!narrow)
        FWholeLines.insert(FWholeLines.end(), FPending.begin(), FPending.end());
}

std::uint32_t TSegmentSourceLines::Line(std::size_t segment) const
{
    const std::size_t block = segment / kBlockSegments;
    if (block >= FBlocks.size())
        return FPending[segment % kBlockSegments];
    const TBlock& stored = FBlocks[block];
    if (stored.Whole == kWholeLines)
        return stored.First + FSteps[segment];
    return FWholeLines[stored.Whole + segment % kBlockSegments];
}

std::optional<std::uint32_t> TSegmentSourceLines::LineOf(std::size_t segment) const
{
    if (segment >= FCount)
        return std::nullopt;
    return Line(segment);
}

TSegmentRange TSegmentSourceLines::SegmentsOf(std::uint32_t line) const
{
    std::size_t first = 0;
    std::size_t last = 0;
    if (FAscending) {
        // The first segment of a line not below it, and the first of a line above it.
        const auto lowerBound = [this](std::uint32_t wanted, bool above) {
            std::size_t low = 0;
            std::size_t high = FCount;
            while (low < high) {
                const std::size_t middle = low + (high - low) / 2;
                const std::uint32_t at = Line(middle);
                if (above ? at <= wanted : at < wanted)
                    low = middle + 1;
                else
                    high = middle;
            }
            return low;
        };
        first = lowerBound(line, false);
        last = lowerBound(line, true);
    } else {
        while (first < FCount && Line(first) != line)
            ++first;
        last = first;
        while (last < FCount && Line(last) == line)
            ++last;
    }
    return {first, last - first};
}
