#pragma once
// Which segments of the plot each motion of a motion list made: one each in the transcription,
// a run of chords for an arc of the machine path.

#include "common/SourceLines.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

class TMotionSegments
{
public:
    // One segment per motion.
    TMotionSegments() = default;
    // ends[i] is the number of segments motions 0 to i made together.
    explicit TMotionSegments(std::vector<std::uint32_t> ends) : FEnds(std::move(ends)) {}

    TIndexRange Of(std::size_t motion) const
    {
        if (FEnds.empty())
            return {motion, 1};
        const std::size_t first = motion == 0 ? 0 : FEnds[motion - 1];
        return {first, FEnds[motion] - first};
    }

    // The segments passed by a tool that far (0 to 1) along the move: those of the moves before
    // it and the share of its own whose ends it has reached.
    std::size_t Passed(std::size_t motion, double fraction) const
    {
        const TIndexRange range = Of(motion);
        const double reached = std::clamp(fraction, 0.0, 1.0) * static_cast<double>(range.count);
        return range.first + std::min(range.count, static_cast<std::size_t>(reached));
    }

private:
    std::vector<std::uint32_t> FEnds;
};
