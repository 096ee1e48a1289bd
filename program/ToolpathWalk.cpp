#include "ToolpathWalk.h"

TToolpathWalk::TToolpathWalk(const TLineTable& table)
    : FTable(table),
      FAxisX(table.ColumnIndex("AxisX")),
      FAxisY(table.ColumnIndex("AxisY")),
      FAxisZ(table.ColumnIndex("AxisZ")),
      FMotion(table.ColumnIndex("GMotion"))
{
}
