#pragma once
// Fit to View: the zoom factor and pan that bring every segment, turned as the view is turned
// now, into the panel with a margin on each side. Only zoom and pan are computed; the turns,
// spans and extent stay as they are.

#include "plot/Segment.h"
#include "plot/ViewState.h"

#include <cstdint>
#include <optional>
#include <vector>

struct TZoomAndPan
{
    double zoomFactor;
    std::int32_t panX;
    std::int32_t panY;
};

// The share of the panel's width or height left free on each side of the fitted plot.
constexpr double kFitMargin = 0.05;

// Half a depth range that holds every segment and the axes gizmo however the view is turned,
// and never less than the extent: the farthest point from the origin, with the margin.
double HoldingDepthRange(std::int32_t extent, const TSegmentList& segments);

// An empty list fits the axes gizmo. None while the panel has no size (or the view cannot be
// scaled), and when no coordinate is finite; the zoom factor never falls below its minimum.
std::optional<TZoomAndPan> FitZoomAndPan(const TViewState& state, int width, int height,
                                         const TSegmentList& segments);
