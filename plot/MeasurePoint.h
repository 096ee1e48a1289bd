#pragma once
// Measuring on the plot: the point a measuring click takes (the move end or arc centre nearest
// to the pointer on screen, within reach) and the line drawn between two such points.

#include "common/Color.h"
#include "common/Point.h"
#include "plot/OverlayShape.h"
#include "plot/Segment.h"
#include "plot/ViewProjection.h"

#include <optional>
#include <vector>

// The nearest of the segments' ends and the given arc centres within maxDistance pixels of the
// pointer, in the depth range; none when no point is that close.
std::optional<TPoint3f> SnapPoint(const TViewProjection& projection, const TSegmentList& segments,
                                  const std::vector<TPoint3f>& centres, TPixelPoint pointer,
                                  double maxDistance);

// The chosen points as dots, and the line between them once there are two.
std::vector<TOverlayShape> MeasureShapes(const std::vector<TPoint3f>& points, TColor colour);
