#pragma once
// One straight piece of tool path. Plain data so that the segment list is one contiguous block.

#include "common/Color.h"
#include "common/Point.h"

struct TSegment
{
    TPoint3f from;
    TPoint3f to;
    TColor colour;  // red in the low byte; the top byte plays no part in drawing
};
