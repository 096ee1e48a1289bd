#include "playback/TableStateIndex.h"

#include <algorithm>
#include <limits>

#include "gcode/GCodeEngine.h"
#include "program/ToolpathWalk.h"

TTableStateIndex::TTableStateIndex(const TGCodeEngine& engine, std::size_t stride)
    : FTable(engine.Table()), FRowLines(engine.RowSourceLines()), FStride(stride),
      FFeed(FTable->ColumnIndex("Feedrate")), FSpindle(FTable->ColumnIndex("SpindleSpeed")),
      FTool(FTable->ColumnIndex("ToolChange")), FPlane(FTable->ColumnIndex("GPlane")),
      FDistance(FTable->ColumnIndex("GDistance")), FFeedMode(FTable->ColumnIndex("GFeedMode")),
      FUnits(FTable->ColumnIndex("GUnits")), FCoordinates(FTable->ColumnIndex("GCoord"))
{
    FTable->MoveFirst();  // commits a failed run's pending row, as the plot reads it
    FRows = std::min(FTable->RowCount(), FRowLines->Size());
    TTableState state;
    for (std::size_t row = 0; row < FRows; row += FStride) {
        FSnapshots.push_back({state, FTable->Bookmark()});
        ReadRows(state, std::min(FStride, FRows - row));
    }
}

void TTableStateIndex::ReadRows(TTableState& state, std::size_t count) const
{
    TLineTable& table = *FTable;
    TToolpathWalk walk(table);
    walk.Resume(state.Position, state.MotionMode);
    const std::pair<int, std::int32_t TTableState::*> kModal[] = {
        {FFeed, &TTableState::Feed},         {FSpindle, &TTableState::Spindle},
        {FTool, &TTableState::Tool},         {FPlane, &TTableState::Plane},
        {FDistance, &TTableState::Distance}, {FFeedMode, &TTableState::FeedMode},
        {FUnits, &TTableState::Units},       {FCoordinates, &TTableState::Coordinates}};
    std::uint32_t modalBits = 0;
    for (const auto& [column, field] : kModal)
        modalBits |= TLineTable::ColumnBit(column);
    for (std::size_t i = 0; i < count; ++i, table.MoveNext()) {
        const std::uint32_t set = table.SetColumns();
        if ((set & modalBits) != 0) {
            for (const auto& [column, field] : kModal) {
                if ((set & TLineTable::ColumnBit(column)) != 0)
                    state.*field = table.GetInteger(column);
            }
        }
        walk.ReadRow(set);
    }
    state.Position = walk.To();
    state.MotionMode = walk.MotionMode();
}

TTableState TTableStateIndex::At(std::size_t line) const
{
    // The rows of the line and before it: row lines ascend, so they end where the line's end.
    const TIndexRange ofLine = FRowLines->IndicesOf(static_cast<std::uint32_t>(
        std::min<std::size_t>(line, std::numeric_limits<std::uint32_t>::max())));
    const std::size_t rows = std::min(ofLine.first + ofLine.count, FRows);
    TTableState state;
    if (rows > 0) {
        const TSnapshot& snapshot = FSnapshots[(rows - 1) / FStride];
        state = snapshot.State;
        FTable->MoveTo(snapshot.Place);
        ReadRows(state, rows - (rows - 1) / FStride * FStride);
    }
    state.Line = line;
    return state;
}
