#pragma once
// Which drawn segment a pointer position points at: the one nearest to it on screen, measured
// on the part of the segment that the depth range does not clip away.

#include "plot/Segment.h"
#include "plot/ViewProjection.h"

#include <cstddef>
#include <optional>
#include <vector>

// The nearest segment within maxDistance pixels of (x, y), in panel pixels; of equally near
// ones the last, which is drawn on top. None when no segment is that close.
std::optional<std::size_t> PickSegment(const TViewProjection& projection,
                                       const TSegmentList& segments, TPixelPoint pointer,
                                       double maxDistance);
