#pragma once
// The shape of an arc move: its radii at both ends, its start angle and the angle it sweeps,
// shared by the machine (lengths and times) and the planner (the segments that draw it).

#include "machine/Motion.h"

struct TArcSweep
{
    double StartRadius = 0;
    double EndRadius = 0;
    double StartAngle = 0;  // radians, from the plane's first axis
    double Sweep = 0;       // radians, positive counter-clockwise
    double Rise = 0;        // along the plane's normal, from start to end
};

// The arc from start to end about arc.Centre: a part turn, or a whole turn where the ends meet,
// plus a whole turn for each turn past the first. A radius that changes from one end to the
// other makes a spiral.
TArcSweep MeasureArc(const TVector3& start, const TVector3& end, const TMotionArc& arc);

double ArcLength(const TArcSweep& sweep);

// The point at a fraction of the sweep from the start (0 to 1).
TVector3 PointOnArc(const TArcSweep& sweep, const TMotionArc& arc, double fraction);

// Widens the box from minimum to maximum by the points of the arc furthest along each axis of
// its plane (its ends are left to the caller).
void WidenByArc(const TArcSweep& sweep, const TMotionArc& arc, TVector3& minimum,
                TVector3& maximum);
