#pragma once
// TLineTable: the interpreted G-code lines, one row per source line that sets a value, with 27
// typed nullable columns. Rows are appended through one pending row and read front to back
// through a cursor.
//
// Rows are packed: a one-byte entry in their block's list of null masks followed by the values of
// the set columns only (reals, then 32-bit, then 16-bit integers, each group in column order),
// in large blocks; a program's rows have few different masks, and a block keeps up to 256. A
// value's place in its row follows from the mask alone, so reading a column stays O(1). A row whose
// reals all have an exact form m / 10^d with a 32-bit m and d below 8 (typical coordinates)
// stores them as those m, with d in the mask's spare bits, in 3 bytes each when every m fits in
// 24 bits and 4 otherwise; the others store doubles. The `Line` auto-number takes no room:
// committed rows are numbered consecutively, so a row's number is the first row's number plus
// its position.

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

#include "gcode/GCodeErrors.h"

enum class TFieldType : std::uint8_t { AutoInc, Boolean, SmallInt, Integer, Float };

class TLineTable
{
public:
    static constexpr int kColumnCount = 27;

    // Creates the empty table with the line table's columns; numbering starts at 1.
    TLineTable();

    int ColumnCount() const { return kColumnCount; }
    // Column lookup ignores ASCII case; an unknown name raises ETableError.
    int ColumnIndex(std::string_view name) const;
    std::string_view ColumnName(int column) const;
    TFieldType ColumnType(int column) const;

    // Writing. Settling a pending row commits it when modified and drops it otherwise.
    void EmptyTable();  // settles the pending row, then removes every row; numbering goes on
    void AppendRow();   // settles the pending row, then begins a new one with every column null
    void CommitRow();   // numbers the pending row, appends it and makes it the current row
    void DiscardRow();  // drops the pending row
    // Moves the rows of a table written after this one to its end, numbered on from its rows,
    // and takes over that table's pending row; this one's pending row is settled first.
    void AppendTable(TLineTable&& later);
    bool HasPendingRow() const { return FPending; }
    bool RowModified() const { return FPendingMask != 0; }
    // 16-bit columns raise ERangeError for values they cannot hold and then change nothing.
    void SetInteger(int column, std::int32_t value);
    void SetFloat(int column, double value);
    void SetInteger(std::string_view column, std::int32_t value)
    {
        SetInteger(ColumnIndex(column), value);
    }
    void SetFloat(std::string_view column, double value) { SetFloat(ColumnIndex(column), value); }

    // Reading. While a row is pending, the getters read it; otherwise the current row.
    void MoveFirst();  // settles the pending row, then goes to the first row
    void MoveNext();   // moving on from the last row sets AtEnd
    bool AtEnd() const { return FAtEnd; }
    // A place of the cursor, to come back to without reading the rows before it again.
    class TBookmark
    {
        friend class TLineTable;
        std::size_t FBlock = 0;
        std::size_t FOffset = 0;
        std::size_t FIndex = 0;
    };
    // The current row's place; valid while no row is appended or removed.
    TBookmark Bookmark() const { return MakeBookmark(FCurrent, FCurrentIndex); }
    void MoveTo(const TBookmark& mark);
    std::size_t RowCount() const { return FRowCount; }
    bool IsNull(int column) const;
    // The columns that hold a value, bit c for column c (the Line column is not among them):
    // one call where a reader tests many columns of a row.
    std::uint32_t SetColumns() const;
    static constexpr std::uint32_t ColumnBit(int column) { return std::uint32_t{1} << column; }
    std::int32_t GetInteger(int column) const;  // 0 when null
    double GetFloat(int column) const;          // 0 when null; integer columns widen exactly
    // The real columns first to first + count - 1 of the row at once, into values[0 .. count-1];
    // a null column leaves its entry as it was. Any other column raises ETableError.
    void GetFloats(int first, int count, double* values) const;
    bool IsNull(std::string_view column) const { return IsNull(ColumnIndex(column)); }
    std::int32_t GetInteger(std::string_view column) const
    {
        return GetInteger(ColumnIndex(column));
    }
    double GetFloat(std::string_view column) const { return GetFloat(ColumnIndex(column)); }

    // Memory held for the committed rows, in bytes.
    std::size_t AllocatedBytes() const;

private:
    using TMask = std::uint32_t;

    struct TBlock
    {
        std::unique_ptr<std::byte[]> Data;
        std::size_t Used = 0;
        std::vector<TMask> Masks;  // a row's first byte picks its mask here
    };

    struct TPosition
    {
        std::size_t Block = 0;
        std::size_t Offset = 0;
    };

    int CheckedColumn(int column) const
    {
        if (column < 0 || column >= kColumnCount)
            ColumnRangeError(column);
        return column;
    }
    [[noreturn]] static void ColumnRangeError(int column);
    [[noreturn]] void AccessError(int column, std::string_view asType) const;
    static TBookmark MakeBookmark(TPosition position, std::size_t index)
    {
        TBookmark mark;
        mark.FBlock = position.Block;
        mark.FOffset = position.Offset;
        mark.FIndex = index;
        return mark;
    }
    bool HasCurrentRow() const;
    TMask CurrentMask() const;
    const std::byte* CurrentRow() const
    {
        return FBlocks[FCurrent.Block].Data.get() + FCurrent.Offset;
    }
    // The place of the mask in the last block's list, added when new; none when the list is full.
    std::optional<std::uint8_t> MaskEntry(TMask mask);
    void SettlePendingRow();
    void StartPendingRow();

    // Pending row: one slot per column, packed on commit.
    bool FPending = false;
    TMask FPendingMask = 0;
    std::array<double, kColumnCount> FPendingFloat{};
    std::array<std::int32_t, kColumnCount> FPendingInteger{};

    std::vector<TBlock> FBlocks;
    std::size_t FRowCount = 0;
    std::int32_t FFirstLine = 1;  // `Line` of the first committed row
    std::int32_t FNextLine = 1;   // the auto-number counter

    bool FAtEnd = true;
    TPosition FCurrent;             // start of the current row, valid while RowCount() > 0
    std::size_t FCurrentIndex = 0;  // position of the current row among the committed rows
};
