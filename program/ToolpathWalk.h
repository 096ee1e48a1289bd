#pragma once
// TToolpathWalk: the plot's reading of a line table. Each row with a coordinate is one straight
// segment from the previous point to the row's point, starting at the origin; a coordinate the
// row lacks is the previous point's, and the motion mode carries over from row to row. Rows
// without a coordinate are not read at all, their GMotion included. Arcs stay straight and no
// units or distance modes are applied.
//
// The plot and the program summary both walk a table through it, so their figures agree.

#include <cstdint>

#include "LineTable.h"
#include "Point.h"

class TToolpathWalk
{
public:
    explicit TToolpathWalk(const TLineTable& table);

    // Reads the table's current row; true when it is a segment, which From, To and MotionMode
    // then describe.
    bool ReadRow()
    {
        if (FTable.IsNull(FAxisX) && FTable.IsNull(FAxisY) && FTable.IsNull(FAxisZ))
            return false;
        FFrom = FTo;
        FTo = {Coordinate(FAxisX, FFrom.x), Coordinate(FAxisY, FFrom.y), Coordinate(FAxisZ, FFrom.z)};
        if (!FTable.IsNull(FMotion))
            FMotionMode = FTable.GetInteger(FMotion);
        return true;
    }

    const TPoint3f& From() const { return FFrom; }
    const TPoint3f& To() const { return FTo; }
    std::int32_t MotionMode() const { return FMotionMode; }

private:
    float Coordinate(int column, float previous) const
    {
        return FTable.IsNull(column) ? previous : static_cast<float>(FTable.GetFloat(column));
    }

    const TLineTable& FTable;
    int FAxisX;
    int FAxisY;
    int FAxisZ;
    int FMotion;
    TPoint3f FFrom{0, 0, 0};
    TPoint3f FTo{0, 0, 0};
    std::int32_t FMotionMode = 0;
};
