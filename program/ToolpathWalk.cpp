#include "program/ToolpathWalk.h"

#include "gcode/GCodeErrors.h"

TToolpathWalk::TToolpathWalk(const TLineTable& table)
    : FTable(table), FAxisX(table.ColumnIndex("AxisX")), FMotion(table.ColumnIndex("GMotion")),
      FAxes(TLineTable::ColumnBit(FAxisX) | TLineTable::ColumnBit(FAxisX + 1) |
            TLineTable::ColumnBit(FAxisX + 2))
{
    if (table.ColumnIndex("AxisY") != FAxisX + 1 || table.ColumnIndex("AxisZ") != FAxisX + 2)
        throw ETableError("The axis columns are not adjacent");
}
