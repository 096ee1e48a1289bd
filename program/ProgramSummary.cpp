#include "program/ProgramSummary.h"

#include <algorithm>
#include <cmath>

#include "gcode/GCodeEngine.h"
#include "gcode/LineTable.h"
#include "program/ToolpathWalk.h"

namespace {

constexpr std::int32_t kRapidMode = 0;

void AddSeen(std::vector<std::int32_t>& seen, std::int32_t value)
{
    const auto place = std::lower_bound(seen.begin(), seen.end(), value);
    if (place == seen.end() || *place != value)
        seen.insert(place, value);
}

double Distance(const TPoint3f& from, const TPoint3f& to)
{
    const double dx = static_cast<double>(to.x) - from.x;
    const double dy = static_cast<double>(to.y) - from.y;
    const double dz = static_cast<double>(to.z) - from.z;
    return std::sqrt(dx * dx + dy * dy + dz * dz);
}

void Widen(TPoint3f& minimum, TPoint3f& maximum, const TPoint3f& point)
{
    minimum = {std::min(minimum.x, point.x), std::min(minimum.y, point.y),
               std::min(minimum.z, point.z)};
    maximum = {std::max(maximum.x, point.x), std::max(maximum.y, point.y),
               std::max(maximum.z, point.z)};
}

}  // namespace

TProgramSummary SummarizeTable(TLineTable& table)
{
    TProgramSummary summary;
    const int feed = table.ColumnIndex("Feedrate");
    const int units = table.ColumnIndex("GUnits");
    const int distance = table.ColumnIndex("GDistance");
    const int tool = table.ColumnIndex("ToolChange");
    TToolpathWalk walk(table);
    std::int32_t modalFeed = 0;
    // Feed moves are timed once per run of one modal F, not once per segment.
    double lengthAtFeed = 0;
    const auto timeFeedMoves = [&] {
        if (modalFeed > 0)
            summary.FeedMinutes += lengthAtFeed / modalFeed;
        else
            summary.UntimedLength += lengthAtFeed;
        lengthAtFeed = 0;
    };
    table.MoveFirst();  // settles a pending row, so it is counted like the plot draws it
    summary.Rows = table.RowCount();
    const std::uint32_t modeColumns = TLineTable::ColumnBit(feed) | TLineTable::ColumnBit(units) |
                                      TLineTable::ColumnBit(distance) | TLineTable::ColumnBit(tool);
    for (; !table.AtEnd(); table.MoveNext()) {
        const std::uint32_t set = table.SetColumns();
        if ((set & modeColumns) != 0) {
            // F is modal from its own line on, whether or not that line moves.
            if ((set & TLineTable::ColumnBit(feed)) != 0) {
                const std::int32_t newFeed = table.GetInteger(feed);
                if (newFeed != modalFeed) {
                    timeFeedMoves();
                    modalFeed = newFeed;
                }
                summary.FeedMinimum =
                    summary.HasFeed ? std::min(summary.FeedMinimum, modalFeed) : modalFeed;
                summary.FeedMaximum =
                    summary.HasFeed ? std::max(summary.FeedMaximum, modalFeed) : modalFeed;
                summary.HasFeed = true;
            }
            if ((set & TLineTable::ColumnBit(units)) != 0)
                AddSeen(summary.Units, table.GetInteger(units));
            if ((set & TLineTable::ColumnBit(distance)) != 0)
                AddSeen(summary.DistanceModes, table.GetInteger(distance));
            if ((set & TLineTable::ColumnBit(tool)) != 0) {
                const std::int32_t number = table.GetInteger(tool);
                if (std::find(summary.Tools.begin(), summary.Tools.end(), number) ==
                    summary.Tools.end())
                    summary.Tools.push_back(number);
            }
        }
        if (!walk.ReadRow(set))
            continue;

        const std::int32_t mode = walk.MotionMode();
        const bool known =
            mode >= 0 && mode < static_cast<std::int32_t>(TProgramSummary::kOtherMotion);
        TMotionFigures& figures =
            summary.Motion[known ? static_cast<std::size_t>(mode) : TProgramSummary::kOtherMotion];
        const double length = Distance(walk.From(), walk.To());
        ++figures.Segments;
        figures.Length += length;
        // Rapids are timed from their total length, at a rate the reader may change.
        if (mode != kRapidMode)
            lengthAtFeed += length;

        if (!summary.HasExtent) {
            summary.Minimum = summary.Maximum = walk.From();  // the origin the path starts at
            summary.HasExtent = true;
        }
        Widen(summary.Minimum, summary.Maximum, walk.To());
    }
    timeFeedMoves();
    return summary;
}

TProgramSummary SummarizeRun(const TGCodeEngine& engine)
{
    TProgramSummary summary = SummarizeTable(*engine.Table());
    summary.SourceLines = engine.LineCount();
    summary.Lenient = engine.Lenient();
    summary.Skipped = engine.Skipped();
    return summary;
}
