#pragma once
// TToolpathBuilder: turns the interpreter's line table, or the machine path's plan, into the plot
// panel's segments. It keeps the last table or plan it plotted, so that the plot can be rebuilt
// in other colours, and the largest X or Y it last handed the panel as the extent.

#include "common/Color.h"
#include "common/Point.h"
#include "common/SourceLines.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class TLineTable;
class TPlotView;
struct TPathPlan;

class TToolpathBuilder
{
public:
    // motionColors are the colours of G0 to G3; the builder reads them on every build.
    // showLater asks for the repaint that follows a new table (none for a view drawn without a
    // window).
    TToolpathBuilder(TPlotView& view, const std::array<TColor, 4>& motionColors,
                     std::function<void()> showLater = {});

    using TRowLines = std::shared_ptr<const TSourceLines>;

    // Empties the panel, keeps the table and builds the plot from it. rowLines holds the source
    // line of each row (the interpreter's); without it the segments lead to no line.
    void SetLineTable(const std::shared_ptr<TLineTable>& table, TRowLines rowLines = nullptr);
    // Empties the panel, keeps the plan and builds the plot from it: every point after the
    // first ends a segment in the colour of its motion mode and leads to its source line.
    void SetPlan(std::shared_ptr<const TPathPlan> plan);
    // Walks the kept table (or plan) and adds one segment per row with a coordinate (per plan
    // point), keeping the panel's extent in step with the largest X or Y.
    void BuildToolpath();
    // Draws the kept table again from an empty panel, after the motion colours changed; the
    // extent is handed to the panel again.
    void Rebuild();

    const std::shared_ptr<TLineTable>& LineTable() const { return FTable; }
    // The source line of each segment of the last build.
    const TSourceLines& SegmentLines() const { return FSegmentLines; }
    // The line of the outermost call that made each segment of a machine path (the segment's
    // own line outside calls); empty for the transcription.
    const TSourceLines& SegmentCallLines() const { return FSegmentCallLines; }

    // Told the rows done and the row count at the first row and then every kProgressRows.
    std::function<void(std::size_t done, std::size_t total)> OnProgress;
    static constexpr std::size_t kProgressRows = std::size_t{1} << 16;

private:
    void BuildFromPlan();
    // Hands the panel the extent for the largest X or Y of the build, when it changed.
    void SetExtentFor(double maximum);

    TPlotView& FView;
    std::function<void()> FShowLater;
    const std::array<TColor, 4>& FMotionColors;
    std::shared_ptr<TLineTable> FTable;
    TRowLines FRowLines;
    std::shared_ptr<const TPathPlan> FPlan;
    TSourceLines FSegmentLines;
    TSourceLines FSegmentCallLines;
    TPoint3f FCurrentPoint{0, 0, 0};
    TPoint3f FPreviousPoint{0, 0, 0};
    double FLastMaximum = 0;
};
