#include "machine/ArcGeometry.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

constexpr double kFullTurn = 2 * std::numbers::pi;
// Ends closer than this, in the plane, make a whole turn: LinuxCNC compares them as equal.
constexpr double kSameEndMillimetres = 1e-9;

}  // namespace

TArcSweep MeasureArc(const TVector3& start, const TVector3& end, const TMotionArc& arc)
{
    const TPlaneAxes axes = PlaneAxes(arc.Plane);
    const double startFirst = start[axes.First] - arc.Centre[axes.First];
    const double startSecond = start[axes.Second] - arc.Centre[axes.Second];
    const double endFirst = end[axes.First] - arc.Centre[axes.First];
    const double endSecond = end[axes.Second] - arc.Centre[axes.Second];

    TArcSweep sweep;
    sweep.StartRadius = std::hypot(startFirst, startSecond);
    sweep.EndRadius = std::hypot(endFirst, endSecond);
    sweep.StartAngle = std::atan2(startSecond, startFirst);
    sweep.Rise = end[axes.Normal] - start[axes.Normal];
    double part = std::atan2(endSecond, endFirst) - sweep.StartAngle;
    if (arc.Clockwise)
        part = -part;
    part = std::fmod(part + 2 * kFullTurn, kFullTurn);
    const bool endsMeet = std::hypot(end[axes.First] - start[axes.First],
                                     end[axes.Second] - start[axes.Second]) < kSameEndMillimetres;
    if (endsMeet || part == 0)
        part = kFullTurn;
    const double total = part + kFullTurn * (arc.Turns - 1);
    sweep.Sweep = arc.Clockwise ? -total : total;
    return sweep;
}

double ArcLength(const TArcSweep& sweep)
{
    const double planar = std::fabs(sweep.Sweep) * (sweep.StartRadius + sweep.EndRadius) / 2;
    return std::hypot(planar, sweep.Rise);
}

TVector3 PointOnArc(const TArcSweep& sweep, const TMotionArc& arc, double fraction)
{
    const TPlaneAxes axes = PlaneAxes(arc.Plane);
    const double angle = sweep.StartAngle + sweep.Sweep * fraction;
    const double radius = sweep.StartRadius + (sweep.EndRadius - sweep.StartRadius) * fraction;
    TVector3 point = arc.Centre;
    point[axes.First] += radius * std::cos(angle);
    point[axes.Second] += radius * std::sin(angle);
    point[axes.Normal] += sweep.Rise * fraction;
    return point;
}

void WidenByArc(const TArcSweep& sweep, const TMotionArc& arc, TVector3& minimum, TVector3& maximum)
{
    constexpr int kQuarters = 4;
    constexpr double kQuarterTurn = kFullTurn / kQuarters;
    const double low = std::min(sweep.StartAngle, sweep.StartAngle + sweep.Sweep);
    const double high = std::max(sweep.StartAngle, sweep.StartAngle + sweep.Sweep);
    // Each quarter-turn angle the arc passes puts one of its points furthest along an axis.
    for (double quarter = std::ceil(low / kQuarterTurn); quarter * kQuarterTurn <= high;
         ++quarter) {
        const double fraction = (quarter * kQuarterTurn - sweep.StartAngle) / sweep.Sweep;
        const TVector3 point = PointOnArc(sweep, arc, fraction);
        for (int axis = 0; axis < 3; ++axis) {
            minimum[axis] = std::min(minimum[axis], point[axis]);
            maximum[axis] = std::max(maximum[axis], point[axis]);
        }
        if (quarter - std::ceil(low / kQuarterTurn) >= kQuarters)
            break;  // every direction is met once a turn is passed
    }
}
