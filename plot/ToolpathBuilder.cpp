#include "plot/ToolpathBuilder.h"

#include "common/HugePages.h"
#include "gcode/LineTable.h"
#include "machine/Plan.h"
#include "plot/PlotView.h"
#include "program/ToolpathWalk.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

namespace {

// Motion modes with a colour of their own: G0 to G3.
constexpr int kMotionModeCount = 4;
constexpr TColor kOtherMotionColor = 0x00FFFFFF;

// Halves go to the even neighbour; the result is clamped to the 32-bit range, so a plot with
// huge coordinates gets the largest extent instead of an overflowed one.
std::int32_t ExtentFor(double maximum)
{
    constexpr double kLargest = std::numeric_limits<std::int32_t>::max();
    double rounded = std::floor(maximum);
    const double fraction = maximum - rounded;
    if (fraction > 0.5 || (fraction == 0.5 && std::fmod(rounded, 2.0) != 0.0))
        rounded += 1.0;
    const double extent = rounded + 1.0;
    if (!(extent < kLargest))
        return std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(extent);
}

}  // namespace

TToolpathBuilder::TToolpathBuilder(TPlotView& view, const std::array<TColor, 4>& motionColors,
                                   std::function<void()> showLater)
    : FView(view), FShowLater(std::move(showLater)), FMotionColors(motionColors)
{}

void TToolpathBuilder::SetLineTable(const std::shared_ptr<TLineTable>& table, TRowLines rowLines)
{
    FView.ClearSegments();
    FTable = table;
    FRowLines = std::move(rowLines);
    FPlan.reset();
    BuildToolpath();
    if (FShowLater)
        FShowLater();
}

void TToolpathBuilder::SetPlan(std::shared_ptr<const TPathPlan> plan)
{
    FView.ClearSegments();
    FTable.reset();
    FRowLines.reset();
    FPlan = std::move(plan);
    BuildToolpath();
    if (FShowLater)
        FShowLater();
}

void TToolpathBuilder::Rebuild()
{
    FView.ClearSegments();
    FLastMaximum = 0;
    BuildToolpath();
}

void TToolpathBuilder::BuildToolpath()
{
    FCurrentPoint = {0, 0, 0};
    FPreviousPoint = {0, 0, 0};
    double maximum = 0;
    FSegmentLines.Reset(0);
    FSegmentCallLines.Reset(0);
    if (FPlan) {
        BuildFromPlan();
        return;
    }
    if (!FTable)
        return;
    TLineTable& table = *FTable;
    TToolpathWalk walk(table);
    table.MoveFirst();  // settles a pending row, so the count below includes it
    const std::size_t rowCount = table.RowCount();
    FView.ReserveSegments(rowCount);
    // Rows and their lines pair up by position; a table without lines leaves the list empty.
    const bool withLines = FRowLines && FRowLines->Size() >= rowCount;
    FSegmentLines.Reset(withLines ? rowCount : 0);
    for (std::size_t row = 0; !table.AtEnd(); table.MoveNext(), ++row) {
        if (row % kProgressRows == 0 && OnProgress)
            OnProgress(row, rowCount);
        if (!walk.ReadRow())
            continue;
        FPreviousPoint = walk.From();
        FCurrentPoint = walk.To();
        const std::int32_t motionMode = walk.MotionMode();
        const bool known = motionMode >= 0 && motionMode < kMotionModeCount;
        const TColor colour = known ? FMotionColors[motionMode] : kOtherMotionColor;
        FView.AddSegment(FPreviousPoint, FCurrentPoint, colour);
        if (withLines)
            FSegmentLines.Add(*FRowLines->LineOf(row));
        if (FCurrentPoint.x > maximum)
            maximum = FCurrentPoint.x;
        if (FCurrentPoint.y > maximum)
            maximum = FCurrentPoint.y;
    }
    FPreviousPoint = FCurrentPoint;

    FSegmentLines.Trim();
    SetExtentFor(maximum);
}

void TToolpathBuilder::BuildFromPlan()
{
    const std::vector<TPlanPoint>& points = FPlan->Points;
    const std::size_t count = points.empty() ? 0 : points.size() - 1;
    FView.ReserveSegments(count);
    FSegmentLines.Reset(count);
    FSegmentCallLines.Reset(count);
    double maximum = 0;
    for (std::size_t i = 1; i < points.size(); ++i) {
        if (i % kProgressRows == 0 && OnProgress)
            OnProgress(i, count);
        const TPlanPoint& point = points[i];
        FPreviousPoint = points[i - 1].Point;
        FCurrentPoint = point.Point;
        FView.AddSegment(FPreviousPoint, FCurrentPoint,
                         FMotionColors[point.Mode % kMotionModeCount]);
        FSegmentLines.Add(point.Line);
        FSegmentCallLines.Add(point.CallLine);
        maximum = std::max({maximum, double{FCurrentPoint.x}, double{FCurrentPoint.y}});
    }
    FPreviousPoint = FCurrentPoint;
    SetExtentFor(maximum);
}

void TToolpathBuilder::SetExtentFor(double maximum)
{
    if (maximum != FLastMaximum) {
        FLastMaximum = maximum;
        FView.SetExtent(ExtentFor(maximum));
    }
}
