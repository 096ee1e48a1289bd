#pragma once
// The plan: the motion list as drawable polyline points in the program's own units, arcs cut
// into chords. Each point ends a segment from the point before it and keeps its source line and
// its colour: G0 to G3 for rapids, feeds, clockwise and counter-clockwise arcs (cycle moves
// take the rapid and feed colours).

#include <cstdint>
#include <vector>

#include "common/Point.h"
#include "machine/Machine.h"
#include "machine/Motion.h"

struct TPlanPoint
{
    TPoint3f Point;
    std::uint32_t Line = 0;
    std::uint32_t CallLine = 0;  // the outermost call that led to Line, or Line itself
    std::uint8_t Mode = 0;       // 0 to 3 as G0 to G3
};

struct TPathPlan
{
    // Points[0] is where the path starts; it ends no segment.
    std::vector<TPlanPoint> Points;
    // The segments motions 0 to i made together, for each motion i: an arc makes several.
    std::vector<std::uint32_t> MotionEnds;
    double ChordError = 0;  // in the program's units, as used
    bool ChordErrorRaised = false;
};

// A point of the motion list (millimetres) as the plot holds it, in the units scale gives.
TPoint3f PlotPoint(const TVector3& point, double scale);

class TPathPlanner
{
public:
    static constexpr double kMinimumChordErrorMm = 0.001;
    static constexpr double kChordErrorPerExtent = 1e-5;
    static constexpr int kMinimumSegmentsPerTurn = 8;
    // Above this many segments per motion on average the chord error is raised, except within
    // the segments any program may have: a short program's arcs keep their fine chords.
    static constexpr double kMaximumSegmentsPerMotion = 8;
    static constexpr double kSegmentsAlwaysAllowed = 65536;
    // The segments a plan of that many motions may have before its chord error is raised.
    static double SegmentLimit(std::size_t motions);

    // The plan of motions in units (the program's); the chord error is at most
    // max(0.001 mm, 1e-5 of the path's extent), raised until the average holds.
    static TPathPlan Plan(const TMotionList& motions, TLengthUnits units);
};
