#include "plot/Segment.h"

#include "common/HugePages.h"

#include <algorithm>
#include <cstring>

namespace {

// The very same coordinates, bit for bit: a start kept as the end before it reads back unchanged,
// the sign of a zero included.
bool SameBits(const TPoint3f& a, const TPoint3f& b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

}  // namespace

TSegmentList::TSegmentList(std::initializer_list<TSegment> segments)
{
    Reserve(segments.size());
    for (const TSegment& segment : segments)
        Add(segment);
}

TSegmentList::TSegmentList(const std::vector<TSegment>& segments)
{
    Reserve(segments.size());
    for (const TSegment& segment : segments)
        Add(segment);
}

void TSegmentList::Add(const TPoint3f& from, const TPoint3f& to, TColor colour)
{
    if (FEnds.empty() || !SameBits(from, FEnds.back().To))
        FStarts.push_back({FEnds.size(), from});
    FEnds.push_back({to, colour});
}

void TSegmentList::Reserve(std::size_t count)
{
    FEnds.reserve(count);
    AdviseHugePagesForSpare(FEnds);
}

void TSegmentList::Clear()
{
    std::vector<TEnd>().swap(FEnds);
    std::vector<TStart>().swap(FStarts);
}

std::size_t TSegmentList::AllocatedBytes() const
{
    return FEnds.capacity() * sizeof(TEnd) + FStarts.capacity() * sizeof(TStart);
}

const TPoint3f& TSegmentList::StartAt(std::size_t index) const
{
    // The last start at or before the segment: its own, or the end of the one before it.
    const auto after = std::upper_bound(
        FStarts.begin(), FStarts.end(), index,
        [](std::size_t wanted, const TStart& start) { return wanted < start.Index; });
    const TStart& start = *(after - 1);
    return start.Index == index ? start.From : FEnds[index - 1].To;
}
