#include "machine/Plan.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

#include "machine/ArcGeometry.h"

namespace {

constexpr double kChordErrorStep = 4;  // a chord error 4 times larger halves the segments
constexpr double kFullTurn = 2 * std::numbers::pi;

// The segments that draw an arc within the chord error: the chord of an angle a on radius r
// strays r (1 - cos(a/2)) from the arc.
std::size_t ArcSegments(const TArcSweep& sweep, double chordError, double share = 1)
{
    const double radius = std::max(sweep.StartRadius, sweep.EndRadius);
    const double angle = std::fabs(sweep.Sweep);
    double perTurn = kFullTurn / TPathPlanner::kMinimumSegmentsPerTurn;
    if (radius > chordError)
        perTurn = std::min(perTurn, 2 * std::acos(1 - chordError / radius));
    return static_cast<std::size_t>(std::max(1.0, std::ceil(angle / perTurn * share)));
}

std::uint8_t Mode(const TMotion& motion, const TMotionList& motions)
{
    if (motion.Kind == TMotionKind::Arc)
        return motions.Arcs[static_cast<std::size_t>(motion.Arc)].Clockwise ? 2 : 3;
    return motion.Kind == TMotionKind::Rapid ? 0 : 1;
}

}  // namespace

TPoint3f PlotPoint(const TVector3& point, double scale)
{
    // Coordinates beyond a float's range, which only a mistaken program reaches, stay at its end.
    const auto single = [scale](double value) {
        constexpr double kLargest = std::numeric_limits<float>::max();
        return static_cast<float>(std::clamp(value * scale, -kLargest, kLargest));
    };
    return {single(point[0]), single(point[1]), single(point[2])};
}

double TPathPlanner::SegmentLimit(std::size_t motions)
{
    return std::max(kMaximumSegmentsPerMotion * static_cast<double>(motions),
                    kSegmentsAlwaysAllowed);
}

TPathPlan TPathPlanner::Plan(const TMotionList& motions, TLengthUnits units)
{
    TPathPlan plan;
    const double scale = FromMillimetres(units);

    // The extent of the path sets the chord error: a finer one would not show.
    TVector3 minimum = motions.Start;
    TVector3 maximum = motions.Start;
    std::vector<TArcSweep> sweeps;
    sweeps.reserve(motions.Arcs.size());
    TVector3 from = motions.Start;
    for (const TMotion& motion : motions.Motions) {
        if (motion.Kind == TMotionKind::Arc) {
            const TMotionArc& arc = motions.Arcs[static_cast<std::size_t>(motion.Arc)];
            sweeps.push_back(MeasureArc(from, motion.End, arc));
            WidenByArc(sweeps.back(), arc, minimum, maximum);
        }
        for (int axis = 0; axis < 3; ++axis) {
            minimum[axis] = std::min(minimum[axis], motion.End[axis]);
            maximum[axis] = std::max(maximum[axis], motion.End[axis]);
        }
        from = motion.End;
    }
    const double extent =
        std::hypot(maximum[0] - minimum[0], maximum[1] - minimum[1], maximum[2] - minimum[2]);
    double chordError = std::max(kMinimumChordErrorMm, kChordErrorPerExtent * extent);
    const std::size_t straight = motions.Motions.size() - sweeps.size();
    const double limit = SegmentLimit(motions.Motions.size());
    const auto countSegments = [&](double error, double share) {
        std::size_t count = straight;
        for (const TArcSweep& sweep : sweeps)
            count += ArcSegments(sweep, error, share);
        return count;
    };
    std::size_t segments = countSegments(chordError, 1);
    // Past a chord error as large as the path, only the segments per turn are left to cut.
    while (static_cast<double>(segments) > limit && chordError < extent) {
        chordError *= kChordErrorStep;
        plan.ChordErrorRaised = true;
        segments = countSegments(chordError, 1);
    }
    // Arcs of very many turns get fewer than their segments per turn, so that no program makes
    // more segments than the memory holds.
    double share = 1;
    if (static_cast<double>(segments) > limit * kMaximumSegmentsPerMotion) {
        share = limit / static_cast<double>(segments);
        segments = countSegments(chordError, share);
    }
    plan.ChordError = chordError * scale;

    plan.Points.reserve(segments + 1);
    plan.MotionEnds.reserve(motions.Motions.size());
    plan.Points.push_back({PlotPoint(motions.Start, scale), 0, 0, 0});
    std::size_t arcIndex = 0;
    for (const TMotion& motion : motions.Motions) {
        const std::uint8_t mode = Mode(motion, motions);
        if (motion.Kind == TMotionKind::Arc) {
            const TArcSweep& sweep = sweeps[arcIndex++];
            const TMotionArc& arc = motions.Arcs[static_cast<std::size_t>(motion.Arc)];
            const std::size_t count = ArcSegments(sweep, chordError, share);
            for (std::size_t i = 1; i < count; ++i) {
                const double fraction = static_cast<double>(i) / static_cast<double>(count);
                plan.Points.push_back({PlotPoint(PointOnArc(sweep, arc, fraction), scale),
                                       motion.Line, motion.CallLine, mode});
            }
        }
        // The last point of an arc is its end exactly, not the end of the last chord computed.
        plan.Points.push_back({PlotPoint(motion.End, scale), motion.Line, motion.CallLine, mode});
        plan.MotionEnds.push_back(static_cast<std::uint32_t>(plan.Points.size() - 1));
    }
    return plan;
}
