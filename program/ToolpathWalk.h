#pragma once
// TToolpathWalk: the plot's reading of a line table. Each row with a coordinate is one straight
// segment from the previous point to the row's point, starting at the origin; a coordinate the
// row lacks is the previous point's, and the motion mode carries over from row to row. Rows
// without a coordinate are not read at all, their GMotion included. Arcs stay straight and no
// units or distance modes are applied.
//
// The plot and the program summary both walk a table through it, so their figures agree.

#include <cstdint>

#include "common/Point.h"
#include "gcode/LineTable.h"

class TToolpathWalk
{
public:
    explicit TToolpathWalk(const TLineTable& table);

    // Reads the table's current row; true when it is a segment, which From, To and MotionMode
    // then describe.
    bool ReadRow() { return ReadRow(FTable.SetColumns()); }
    // The same, for a reader that has already asked the row for its set columns.
    bool ReadRow(std::uint32_t set)
    {
        if ((set & FAxes) == 0)
            return false;
        FFrom = FTo;
        double point[kAxes] = {FFrom.x, FFrom.y, FFrom.z};  // a missing coordinate stays
        FTable.GetFloats(FAxisX, kAxes, point);
        FTo = {static_cast<float>(point[0]), static_cast<float>(point[1]),
               static_cast<float>(point[2])};
        if ((set & TLineTable::ColumnBit(FMotion)) != 0)
            FMotionMode = FTable.GetInteger(FMotion);
        return true;
    }

    // Goes on from a point and motion mode an earlier walk of the same table reached.
    void Resume(const TPoint3f& to, std::int32_t motionMode)
    {
        FTo = to;
        FMotionMode = motionMode;
    }

    const TPoint3f& From() const { return FFrom; }
    const TPoint3f& To() const { return FTo; }
    std::int32_t MotionMode() const { return FMotionMode; }

private:
    static constexpr int kAxes = 3;  // AxisX, AxisY and AxisZ are adjacent columns

    const TLineTable& FTable;
    int FAxisX;
    int FMotion;
    std::uint32_t FAxes;  // the bits of the three axis columns
    TPoint3f FFrom{0, 0, 0};
    TPoint3f FTo{0, 0, 0};
    std::int32_t FMotionMode = 0;
};
