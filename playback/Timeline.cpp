#include "playback/Timeline.h"

#include <algorithm>
#include <cmath>

#include "common/SourceLines.h"
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
    auto dwell = motions.Dwells.begin();
    // The dwells made before the move, or after every move; one of no time is no place.
    const auto addDwells = [&](std::size_t move) {
        for (; dwell != motions.Dwells.end() && dwell->Before == move; ++dwell) {
            if (dwell->Seconds > 0) {
                time += dwell->Seconds;
                FDwells.push_back({time, move, dwell->Line});
            }
        }
    };
    for (std::size_t move = 0; move < motions.Motions.size(); ++move) {
        addDwells(move);
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
    addDwells(motions.Motions.size());
}

std::size_t TTimeline::DwellsBefore(std::size_t place) const
{
    std::size_t low = 0;
    std::size_t high = FDwells.size();
    while (low < high) {
        const std::size_t middle = low + (high - low) / 2;
        if (FDwells[middle].Before + middle < place)
            low = middle + 1;
        else
            high = middle;
    }
    return low;
}

std::size_t TTimeline::PlaceAt(double seconds) const
{
    if (PlaceCount() == 0)
        return kNone;
    std::size_t place = PlaceCount() - 1;
    const std::size_t move = static_cast<std::size_t>(
        std::lower_bound(FEnds.begin(), FEnds.end(), seconds) - FEnds.begin());
    if (move < FEnds.size()) {
        // The move's place counts the dwells made before it.
        const auto dwells =
            std::partition_point(FDwells.begin(), FDwells.end(),
                                 [move](const TTimedDwell& dwell) { return dwell.Before <= move; });
        place = move + static_cast<std::size_t>(dwells - FDwells.begin());
    }
    const auto dwell =
        std::partition_point(FDwells.begin(), FDwells.end(),
                             [seconds](const TTimedDwell& dwell) { return dwell.End < seconds; });
    if (dwell != FDwells.end())
        place = std::min(place, dwell->Before + static_cast<std::size_t>(dwell - FDwells.begin()));
    return place;
}

double TTimeline::PlaceEnd(std::size_t place) const
{
    const std::size_t dwells = DwellsBefore(place);
    return IsDwell(place, dwells) ? FDwells[dwells].End : FEnds[place - dwells];
}

std::uint32_t TTimeline::PlaceLine(std::size_t place) const
{
    const std::size_t dwells = DwellsBefore(place);
    return IsDwell(place, dwells) ? FDwells[dwells].Line : FMotions.Motions[place - dwells].Line;
}

std::optional<std::uint32_t> TTimeline::LineAt(double seconds) const
{
    const std::size_t place = PlaceAt(seconds);
    if (place == kNone)
        return std::nullopt;
    return PlaceLine(place);
}

double TTimeline::MoveFraction(std::size_t place, std::size_t move, double seconds) const
{
    const double start = PlaceStart(place);
    const double span = FEnds[move] - start;
    return span > 0 ? std::clamp((seconds - start) / span, 0.0, 1.0) : 1.0;
}

std::optional<TTimeline::TMoveAt> TTimeline::MoveAt(double seconds) const
{
    const std::size_t place = PlaceAt(seconds);
    if (place == kNone || FEnds.empty())
        return std::nullopt;
    const std::size_t dwells = DwellsBefore(place);
    if (IsDwell(place, dwells)) {
        // Waiting where the moves before the dwell ended.
        const std::size_t before = FDwells[dwells].Before;
        return before < FEnds.size() ? TMoveAt{before, 0} : TMoveAt{before - 1, 1};
    }
    const std::size_t move = place - dwells;
    return TMoveAt{move, MoveFraction(place, move, seconds)};
}

TVector3 TTimeline::PositionAt(double seconds) const
{
    const std::size_t place = PlaceAt(seconds);
    if (place == kNone)
        return FMotions.Start;
    const std::size_t dwells = DwellsBefore(place);
    if (IsDwell(place, dwells))
        return From(FDwells[dwells].Before);
    const std::size_t move = place - dwells;
    const TMotion& motion = FMotions.Motions[move];
    const double fraction = MoveFraction(place, move, seconds);
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
    double end = -1;
    for (std::size_t move = FEnds.size(); move-- > 0;) {
        if (FMotions.Motions[move].Line == line) {
            end = FEnds[move];
            break;
        }
    }
    for (const TTimedDwell& dwell : FDwells) {
        if (dwell.Line == line)
            end = std::max(end, dwell.End);
    }
    return end;
}

std::size_t TTimeline::BlockEnd(std::size_t place) const
{
    const std::uint32_t line = PlaceLine(place);
    while (place + 1 < PlaceCount() && PlaceLine(place + 1) == line)
        ++place;
    return place;
}

double TTimeline::NextBlock(double seconds) const
{
    std::size_t place = PlaceAt(seconds);
    if (place == kNone)
        return 0;
    place = BlockEnd(place);
    if (PlaceEnd(place) <= seconds && place + 1 < PlaceCount())
        place = BlockEnd(place + 1);
    return PlaceEnd(place);
}

double TTimeline::PreviousBlock(double seconds) const
{
    std::size_t place = PlaceAt(seconds);
    if (place == kNone)
        return 0;
    // A time at a block's end belongs to that block: the step goes to where it started.
    const std::uint32_t line = PlaceLine(place);
    while (place > 0 && PlaceLine(place - 1) == line)
        --place;
    return PlaceStart(place);
}

TMotionList TranscriptionMotions(const TGCodeEngine& engine)
{
    TLineTable& table = *engine.Table();
    const TSourceLines& rowLines = *engine.RowSourceLines();
    const int feedColumn = table.ColumnIndex("Feedrate");
    TToolpathWalk walk(table);
    TMotionList motions;
    std::int32_t feed = 0;
    std::size_t row = 0;
    for (table.MoveFirst(); !table.AtEnd() && row < rowLines.Size(); table.MoveNext(), ++row) {
        const std::uint32_t set = table.SetColumns();
        if ((set & TLineTable::ColumnBit(feedColumn)) != 0)
            feed = table.GetInteger(feedColumn);
        if (!walk.ReadRow(set))
            continue;
        TMotion motion;
        const TPoint3f& to = walk.To();
        motion.End = {to.x, to.y, to.z};
        motion.Line = motion.CallLine = *rowLines.LineOf(row);
        const bool rapid = walk.MotionMode() == 0;
        motion.Kind = rapid ? TMotionKind::Rapid : TMotionKind::Feed;
        motion.Rate = rapid || feed <= 0 ? 0 : feed;
        motions.Motions.push_back(motion);
    }
    return motions;
}
