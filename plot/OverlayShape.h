#pragma once
// A mark drawn over the plot's picture without being part of the path: a marker, a measure line.
// Overlays are drawn after the segments, so a host that keeps the picture of the segments redraws
// only them when they change.

#include "common/Color.h"
#include "common/Point.h"
#include "plot/GLCommands.h"

#include <vector>

struct TOverlayShape
{
    TGLPrimitive primitive;  // Lines: the vertices pair up; Points: each vertex is a dot
    TColor colour;
    float sizePx;  // the line width or the point size
    std::vector<TPoint3f> vertices;
};
