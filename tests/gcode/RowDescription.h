#pragma once
// The set columns of a line table's current row as "Name=value" pairs in column order, for
// tests that compare rows as text; the Line number only when asked for.

#include "gcode/LineTable.h"

#include <charconv>
#include <iterator>
#include <string>

inline std::string DescribeRow(const TLineTable& table, bool withLine)
{
    std::string row;
    for (int c = withLine ? 0 : 1; c < table.ColumnCount(); ++c) {
        if (table.IsNull(c))
            continue;
        char value[32];
        const auto end =
            table.ColumnType(c) == TFieldType::Float
                ? std::to_chars(std::begin(value), std::end(value), table.GetFloat(c)).ptr
                : std::to_chars(std::begin(value), std::end(value), table.GetInteger(c)).ptr;
        row += (row.empty() ? "" : " ") + std::string(table.ColumnName(c)) + "=" +
               std::string(value, end);
    }
    return row;
}
