#include "plot/ToolpathBuilder.h"

#include "gcode/LineTable.h"
#include "plot/PlotView.h"
#include "program/ToolpathWalk.h"

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

} // namespace

TToolpathBuilder::TToolpathBuilder(TPlotView& view, const std::array<TColor, 4>& motionColors,
                                   std::function<void()> showLater)
    : view_(view), showLater_(std::move(showLater)), motionColors_(motionColors)
{
}

void TToolpathBuilder::SetLineTable(const std::shared_ptr<TLineTable>& table, TRowLines rowLines)
{
    view_.ClearSegments();
    table_ = table;
    rowLines_ = std::move(rowLines);
    BuildToolpath();
    if (showLater_)
        showLater_();
}

void TToolpathBuilder::Rebuild()
{
    view_.ClearSegments();
    lastMaximum_ = 0;
    BuildToolpath();
}

void TToolpathBuilder::BuildToolpath()
{
    currentPoint_ = {0, 0, 0};
    previousPoint_ = {0, 0, 0};
    double maximum = 0;
    segmentLines_.Reset(0);
    if (!table_)
        return;
    TLineTable& table = *table_;
    TToolpathWalk walk(table);
    table.MoveFirst();  // settles a pending row, so the count below includes it
    const std::size_t rowCount = table.RowCount();
    view_.ReserveSegments(rowCount);
    // Rows and their lines pair up by position; a table without lines leaves the list empty.
    const bool withLines = rowLines_ && rowLines_->size() >= rowCount;
    segmentLines_.Reset(withLines ? rowCount : 0);
    for (std::size_t row = 0; !table.AtEnd(); table.MoveNext(), ++row) {
        if (row % kProgressRows == 0 && OnProgress)
            OnProgress(row, rowCount);
        if (!walk.ReadRow())
            continue;
        previousPoint_ = walk.From();
        currentPoint_ = walk.To();
        const std::int32_t motionMode = walk.MotionMode();
        const bool known = motionMode >= 0 && motionMode < kMotionModeCount;
        const TColor colour = known ? motionColors_[motionMode] : kOtherMotionColor;
        view_.AddSegment(previousPoint_, currentPoint_, colour);
        if (withLines)
            segmentLines_.Add((*rowLines_)[row]);
        if (currentPoint_.x > maximum)
            maximum = currentPoint_.x;
        if (currentPoint_.y > maximum)
            maximum = currentPoint_.y;
    }
    previousPoint_ = currentPoint_;

    segmentLines_.Trim();

    if (maximum != lastMaximum_) {
        lastMaximum_ = maximum;
        view_.SetExtent(ExtentFor(maximum));
    }
}
