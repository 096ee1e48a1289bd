#include "common/SourceLines.h"

#include <algorithm>
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
    if (later.FCount == 0)
        return;
    FAscending = FAscending && later.FAscending && (FCount == 0 || FLast <= later.Line(0));
    FLast = later.FLast;
    const std::size_t count = FCount + later.FCount;
    FBlocks.reserve(count / kBlockItems + 1);
    FSteps.reserve(count);
    // The later list's blocks begin at other items here: its lines are read out a block at a
    // time and packed again into this list's blocks.
    std::array<std::uint32_t, kBlockItems> lines;
    for (std::size_t item = 0; item < later.FCount; item += kBlockItems) {
        later.BlockLines(item / kBlockItems, lines);
        const std::size_t blockItems = std::min(kBlockItems, later.FCount - item);
        for (std::size_t taken = 0; taken < blockItems;) {
            const std::size_t at = FCount % kBlockItems;
            const std::size_t moved = std::min(kBlockItems - at, blockItems - taken);
            std::copy_n(lines.begin() + static_cast<std::ptrdiff_t>(taken), moved,
                        FPending.begin() + static_cast<std::ptrdiff_t>(at));
            taken += moved;
            FCount += moved;
            if (FCount % kBlockItems == 0)
                StoreBlock();
        }
    }
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

// Stores the pending block, which is full. The block is narrow when every line is at most 255
// above the first and no step is below the one before; the loops run over whole blocks without
// early exits, so that they vectorise. A block that keeps whole lines never reads its steps.
void TSourceLines::StoreBlock()
{
    constexpr std::uint32_t kLargestStep = std::numeric_limits<std::uint8_t>::max();
    const std::uint32_t first = FPending[0];
    std::array<std::uint8_t, kBlockItems + 1> steps;  // and past the end the largest step
    std::uint32_t largest = 0;
    for (std::size_t i = 0; i < kBlockItems; ++i) {
        const std::uint32_t step = FPending[i] - first;
        largest = std::max(largest, step);
        steps[i] = static_cast<std::uint8_t>(step);
    }
    steps[kBlockItems] = kLargestStep;
    std::uint8_t drops = 0;
    for (std::size_t i = 0; i < kBlockItems; ++i)
        drops |= static_cast<std::uint8_t>(steps[i + 1] < steps[i]);
    const bool wide = largest > kLargestStep || drops != 0;
    FBlocks.push_back({first, wide ? static_cast<std::uint32_t>(FWholeLines.size()) : kStepsOnly});
    FSteps.insert(FSteps.end(), steps.begin(), steps.begin() + kBlockItems);
    if (wide)
        FWholeLines.insert(FWholeLines.end(), FPending.begin(), FPending.end());
}

void TSourceLines::BlockLines(std::size_t block,
                              std::array<std::uint32_t, kBlockItems>& lines) const
{
    if (block >= FBlocks.size()) {
        lines = FPending;
        return;
    }
    const TBlock& stored = FBlocks[block];
    if (stored.Whole != kStepsOnly) {
        std::copy_n(FWholeLines.begin() + stored.Whole, kBlockItems, lines.begin());
        return;
    }
    const std::uint8_t* const steps = FSteps.data() + block * kBlockItems;
    for (std::size_t i = 0; i < kBlockItems; ++i)
        lines[i] = stored.First + steps[i];
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
