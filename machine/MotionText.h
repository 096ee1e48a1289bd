#pragma once
// The motion list as text, one motion per line: "LINE KIND X Y Z" in millimetres of machine
// coordinates with 4 decimals, LINE 1-based and KIND rapid, feed or arc; an arc adds
// " C CX CY CZ PLANE DIR TURNS" (PLANE XY, ZX or YZ, DIR cw or ccw). Golden files of expected
// motions are written in this form.

#include <string>

#include "machine/Motion.h"

std::string FormatMotions(const TMotionList& motions);
