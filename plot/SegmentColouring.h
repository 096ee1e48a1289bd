#pragma once
// Colours of the plot's segments by a value of each instead of their motion mode: the feed rate
// of the move that made it, or its depth. The values run along a gradient from blue through pale
// grey to red, which no playback marker colour (fuchsia, lime, aqua, yellow) and no highlight
// (yellow) is near; moves without a feed rate (rapids, feeds without F) are dark grey.

#include "common/Color.h"
#include "machine/Motion.h"
#include "plot/MotionSegments.h"
#include "plot/Segment.h"

#include <cstddef>
#include <vector>

inline constexpr TColor kNoFeedColour = 0x00606060;

// The gradient's colour at fraction 0 (the lowest value) to 1 (the highest); clamped.
TColor GradientColour(double fraction);

// A colour as it is drawn where playback has not reached yet.
TColor DimmedColour(TColor colour);

struct TSegmentColours
{
    std::vector<TColor> Colours;  // one per segment
    // The values at the gradient's ends, when a segment had a value.
    bool Ranged = false;
    double Low = 0;
    double High = 0;
};

// The feed rate of each motion; 0 for rapids and for moves without one.
std::vector<float> FeedRates(const TMotionList& motions);
// By the feed rate of each segment's motion, times scale (to the plot's units); segmentCount is
// the plot's, and segments no motion made keep the no-feed colour.
TSegmentColours ColourByFeed(const std::vector<float>& rates, const TMotionSegments& segmentsOf,
                             double scale, std::size_t segmentCount);
// By the depth of each segment's lower end, over the Z range of all the segments.
TSegmentColours ColourByDepth(const TSegmentList& segments);
