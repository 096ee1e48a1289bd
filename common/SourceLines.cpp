#include "common/SourceLines.h"

#include <limits>

void TSourceLines::Reset(std::size_t capacity)
{
    FBlocks.clear();
    FBlocks.reserve(capacity / kBlockItems + 1);
    FSteps.clear();
    FSteps.reserve(capacity);
    FWholeLines.clear();
    FCount = 0;
    FLast = 0;
    FAscending = true;
}

void TSourceLines::Append(const TSourceLines& later)
{
    // Blocks begin at other items here, so the lines are added again one by one, into room
    // reserved for all of them at once.
    const std::size_t count = FCount + later.FCount;
    FBlocks.reserve(count / kBlockItems + 1);
    FSteps.reserve(count);
    for (std::size_t item = 0; item < later.FCount; ++item)
        Add(later.Line(item));
}

void TSourceLines::Trim()
{
    FBlocks.shrink_to_fit();
    FSteps.shrink_to_fit();
    FWholeLines.shrink_to_fit();
}

std::size_t TSourceLines::AllocatedBytes() const
{
    return FBlocks.capacity() * sizeof(TBlock) + FSteps.capacity() +
           FWholeLines.capacity() * sizeof(std::uint32_t);
}

// Stores the pending block, which is full.
void TSourceLines::StoreBlock()
{
    const std::uint32_t first = FPending[0];
    bool narrow = true;
    for (std::size_t i = 1; i < kBlockItems; ++i)
        narrow = narrow && FPending[i] >= FPending[i - 1] &&
                 FPending[i] - first <= std::numeric_limits<std::uint8_t>::max();
    FBlocks.push_back(
        {first, narrow ? kStepsOnly : static_cast<std::uint32_t>(FWholeLines.size())});
    for (const std::uint32_t line : FPending)
        FSteps.push_back(narrow ? static_cast<std::uint8_t>(line - first) : 0);
    if (!narrow)
        FWholeLines.insert(FWholeLines.end(), FPending.begin(), FPending.end());
}

std::uint32_t TSourceLines::Line(std::size_t item) const
{
    const std::size_t block = item / kBlockItems;
    if (block >= FBlocks.size())
        return FPending[item % kBlockItems];
    const TBlock& stored = FBlocks[block];
    if (stored.Whole == kStepsOnly)
        return stored.First + FSteps[item];
    return FWholeLines[stored.Whole + item % kBlockItems];
}

std::optional<std::uint32_t> TSourceLines::LineOf(std::size_t item) const
{
    if (item >= FCount)
        return std::nullopt;
    return Line(item);
}

TIndexRange TSourceLines::IndicesOf(std::uint32_t line) const
{
    std::size_t first = 0;
    std::size_t last = 0;
    if (FAscending) {
        // The first item of a line not below it, and the first of a line above it.
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
