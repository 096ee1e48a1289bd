#pragma once
// TTableStateIndex: the state after any line of the transcription (the plot's straight-segment
// reading of the line table): the point reached and the motion mode as the walk has them, and
// the last value each modal column was given. It keeps the state and the table's place every
// stride rows and reads forward from the nearest one, so a lookup reads at most stride rows.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <tuple>
#include <vector>

#include "common/Point.h"
#include "common/SourceLines.h"
#include "gcode/LineTable.h"

class TGCodeEngine;

struct TTableState
{
    static constexpr std::int32_t kNone = -1;  // the column was never given a value

    std::size_t Line = 0;  // 0-based
    TPoint3f Position{0, 0, 0};
    std::int32_t MotionMode = 0;
    std::int32_t Feed = kNone;
    std::int32_t Spindle = kNone;
    std::int32_t Tool = kNone;
    std::int32_t Plane = kNone;
    std::int32_t Distance = kNone;
    std::int32_t FeedMode = kNone;
    std::int32_t Units = kNone;
    std::int32_t Coordinates = kNone;

    bool operator==(const TTableState& other) const
    {
        const auto modal = [](const TTableState& state) {
            return std::tie(state.Line, state.MotionMode, state.Feed, state.Spindle, state.Tool,
                            state.Plane, state.Distance, state.FeedMode, state.Units,
                            state.Coordinates);
        };
        return SamePoint(Position, other.Position) && modal(*this) == modal(other);
    }
};

class TTableStateIndex
{
public:
    static constexpr std::size_t kDefaultStride = 4096;

    // Walks the engine's table once; the index shares the table and its row lines.
    explicit TTableStateIndex(const TGCodeEngine& engine, std::size_t stride = kDefaultStride);

    // The state after the line: after every row of that line and the lines before it.
    TTableState At(std::size_t line) const;

private:
    struct TSnapshot
    {
        TTableState State;  // before the row
        TLineTable::TBookmark Place;
    };

    // Reads rows on from the table's current row, count of them, into the state.
    void ReadRows(TTableState& state, std::size_t count) const;

    std::shared_ptr<TLineTable> FTable;
    std::shared_ptr<const TSourceLines> FRowLines;
    std::size_t FStride;
    std::vector<TSnapshot> FSnapshots;  // before rows 0, stride, 2 stride, ...
    std::size_t FRows = 0;
    int FFeed, FSpindle, FTool, FPlane, FDistance, FFeedMode, FUnits, FCoordinates;
};
