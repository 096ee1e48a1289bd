#pragma once
// TToolpathBuilder: turns the interpreter's line table into the plot panel's segments. It keeps
// the last table it plotted, so that the plot can be rebuilt in other colours, and the largest X
// or Y it last handed the panel as the extent.

#include "common/Color.h"
#include "common/Point.h"
#include "plot/SegmentSourceLines.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class TLineTable;
class TPlotView;

class TToolpathBuilder
{
public:
    // motionColors are the colours of G0 to G3; the builder reads them on every build.
    // showLater asks for the repaint that follows a new table (none for a view drawn without a
    // window).
    TToolpathBuilder(TPlotView& view, const std::array<TColor, 4>& motionColors,
                     std::function<void()> showLater = {});

    using TRowLines = std::shared_ptr<const std::vector<std::uint32_t>>;

    // Empties the panel, keeps the table and builds the plot from it. rowLines holds the source
    // line of each row (the interpreter's); without it the segments lead to no line.
    void SetLineTable(const std::shared_ptr<TLineTable>& table, TRowLines rowLines = nullptr);
    // Walks the kept table and adds one segment per row with a coordinate, keeping the panel's
    // extent in step with the largest X or Y.
    void BuildToolpath();
    // Draws the kept table again from an empty panel, after the motion colours changed; the
    // extent is handed to the panel again.
    void Rebuild();

    const std::shared_ptr<TLineTable>& LineTable() const { return FTable; }
    // The source line of each segment of the last build.
    const TSegmentSourceLines& SegmentLines() const { return FSegmentLines; }

    // Told the rows done and the row count at the first row and then every kProgressRows.
    std::function<void(std::size_t done, std::size_t total)> OnProgress;
    static constexpr std::size_t kProgressRows = std::size_t{1} << 16;

private:
    TPlotView& FView;
    std::function<void()> FShowLater;
    const std::array<TColor, 4>& FMotionColors;
    std::shared_ptr<TLineTable> FTable;
    TRowLines FRowLines;
    TSegmentSourceLines FSegmentLines;
    TPoint3f FCurrentPoint{0, 0, 0};
    TPoint3f FPreviousPoint{0, 0, 0};
    double FLastMaximum = 0;
};
