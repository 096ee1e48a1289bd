#include "playback/Timeline.h"

#include <algorithm>
#include <cmath>

#include "gcode/GCodeEngine.h"
#include "machine/ArcGeometry.h"
#include "program/ToolpathWalk.h"

namespace {

constexpr double kSecondsPerMinute = 60;

double Distance(const TVector3& from, const TVector3& to)
{
    return std::hypot(to[0] - from[0], to[1] - from[1], to[2] - from[2]);
}

}  // namespace

TTimeline::TTimeline(const TMotionList& motions, double rapidRate) : FMotions(motions)
{
    FEnds.reserve(motions.Motions.size());
    double time = 0;
    for (std::size_t move = 0; move < motions.Motions.size(); ++move) {
        const TMotion& motion = motions.Motions[move];
        const TVector3 from = From(move);
        const double length =
            motion.Arc >= 0
                ? ArcLength(MeasureArc(from, motion.End,
                                       motions.Arcs[static_cast<std::size_t>(motion.Arc)]))
                : Distance(from, motion.End);
        const double rate = motion.Kind == TMotionKind::Rapid ? rapidRate : motion.Rate;
        if (rate > 0)
            time += length / rate * kSecondsPerMinute;
        FEnds.push_back(time);
    }
}

std::size_t TTimeline::MoveAt(double seconds) const
{
    if (FEnds.empty())
        return kNone;
    const auto found = std::lower_bound(FEnds.begin(), FEnds.end(), seconds);
    return found == FEnds.end() ? FEnds.size() - 1
                                : static_cast<std::size_t>(found - FEnds.begin());
}

double TTimeline::MoveFraction(std::size_t move, double seconds) const
{
    const double start = MoveStart(move);
    const double span = FEnds[move] - start;
    return span > 0 ? std::clamp((seconds - start) / span, 0.0, 1.0) : 1.0;
}

TVector3 TTimeline::PositionAt(double seconds) const
{
    const std::size_t move = MoveAt(seconds);
    if (move == kNone)
        return FMotions.Start;
    const TMotion& motion = FMotions.Motions[move];
    const double fraction = MoveFraction(move, seconds);
    const TVector3 from = From(move);
    if (motion.Arc >= 0) {
        const TMotionArc& arc = FMotions.Arcs[static_cast<std::size_t>(motion.Arc)];
        return fraction >= 1 ? motion.End
                             : PointOnArc(MeasureArc(from, motion.End, arc), arc, fraction);
    }
    TVector3 point;
    for (int axis = 0; axis < 3; ++axis)
        point[axis] = from[axis] + (motion.End[axis] - from[axis]) * fraction;
    return point;
}

double TTimeline::EndOfLine(std::uint32_t line) const
{
    for (std::size_t move = FEnds.size(); move-- > 0;) {
        if (FMotions.Motions[move].Line == line)
            return FEnds[move];
    }
    return -1;
}

std::size_t TTimeline::BlockEnd(std::size_t move) const
{
    const std::uint32_t line = FMotions.Motions[move].Line;
    while (move + 1 < FEnds.size() && FMotions.Motions[move + 1].Line == line)
        ++move;
    return move;
}

double TTimeline::NextBlock(double seconds) const
{
    std::size_t move = MoveAt(seconds);
    if (move == kNone)
        return 0;
    move = BlockEnd(move);
    if (FEnds[move] <= seconds && move + 1 < FEnds.size())
        move = BlockEnd(move + 1);
    return FEnds[move];
}

double TTimeline::PreviousBlock(double seconds) const
{
    std::size_t move = MoveAt(seconds);
    if (move == kNone)
        return 0;
    // A time at a block's end belongs to that block: the step goes to where it started.
    const std::uint32_t line = FMotions.Motions[move].Line;
    while (move > 0 && FMotions.Motions[move - 1].Line == line)
        --move;
    return MoveStart(move);
}

TMotionList TranscriptionMotions(const TGCodeEngine& engine)
{
    TLineTable& table = *engine.Table();
    const std::vector<std::uint32_t>& rowLines = *engine.RowSourceLines();
    const int feedColumn = table.ColumnIndex("Feedrate");
    TToolpathWalk walk(table);
    TMotionList motions;
    std::int32_t feed = 0;
    std::size_t row = 0;
    for (table.MoveFirst(); !table.AtEnd() && row < rowLines.size(); table.MoveNext(), ++row) {
        const std::uint32_t set = table.SetColumns();
        if ((set & TLineTable::ColumnBit(feedColumn)) != 0)
            feed = table.GetInteger(feedColumn);
        if (!walk.ReadRow(set))
            continue;
        TMotion motion;
        const TPoint3f& to = walk.To();
        motion.End = {to.x, to.y, to.z};
        motion.Line = motion.CallLine = rowLines[row];
        const bool rapid = walk.MotionMode() == 0;
        motion.Kind = rapid ? TMotionKind::Rapid : TMotionKind::Feed;
        motion.Rate = rapid || feed <= 0 ? 0 : feed;
        motions.Motions.push_back(motion);
    }
    return motions;
}
