#pragma once
// The plot's reading of a program given as lines, as segments of one colour: for drawing a
// program over the plotted one (a transform's preview, a compared file). It reads leniently, so
// that any program gives what it can.

#include "common/Color.h"
#include "plot/Segment.h"

#include <string>
#include <vector>

std::vector<TSegment> PathSegments(const std::vector<std::string>& lines, TColor colour);
