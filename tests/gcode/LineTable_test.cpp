#include "LineTable.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <vector>

namespace {

class TLineTableTest : public ::testing::Test
{
protected:
    int Column(std::string_view name) const { return Table.ColumnIndex(name); }

    // Appends and commits a row that sets AxisX.
    void CommitRowWithX(double x)
    {
        Table.AppendRow();
        Table.SetFloat(AxisX, x);
        Table.CommitRow();
    }

    TLineTable Table;
    const int Line = Column("Line");
    const int AxisX = Column("AxisX");
    const int AxisY = Column("AxisY");
    const int SpindleSpeed = Column("SpindleSpeed");
};

TEST_F(TLineTableTest, ColumnsComeInTableOrderWithTheirTypes)
{
    const std::vector<std::pair<std::string_view, TFieldType>> expected = {
        {"Line", TFieldType::AutoInc},           {"ToolRadiusComp", TFieldType::Boolean},
        {"Feedrate", TFieldType::Integer},       {"GMotion", TFieldType::SmallInt},
        {"GPlane", TFieldType::SmallInt},        {"GDistance", TFieldType::SmallInt},
        {"GFeedMode", TFieldType::SmallInt},     {"GUnits", TFieldType::SmallInt},
        {"GCutterComp", TFieldType::SmallInt},   {"GToolOffset", TFieldType::SmallInt},
        {"GCoord", TFieldType::SmallInt},        {"ToolLengthOffset", TFieldType::Float},
        {"ArcOffsetX", TFieldType::Float},       {"ArcOffsetY", TFieldType::Float},
        {"ArcOffsetZ", TFieldType::Float},       {"MStop", TFieldType::SmallInt},
        {"MToolSelect", TFieldType::SmallInt},   {"MSpindleRotation", TFieldType::SmallInt},
        {"MCoolant", TFieldType::SmallInt},      {"LineNumber", TFieldType::Integer},
        {"Dwell", TFieldType::Integer},          {"Radius", TFieldType::Float},
        {"SpindleSpeed", TFieldType::SmallInt},  {"ToolChange", TFieldType::Integer},
        {"AxisX", TFieldType::Float},            {"AxisY", TFieldType::Float},
        {"AxisZ", TFieldType::Float}};
    ASSERT_EQ(Table.ColumnCount(), static_cast<int>(expected.size()));
    for (int c = 0; c < Table.ColumnCount(); ++c) {
        EXPECT_EQ(Table.ColumnName(c), expected[c].first);
        EXPECT_EQ(Table.ColumnType(c), expected[c].second) << expected[c].first;
        EXPECT_EQ(Table.ColumnIndex(expected[c].first), c);
    }
}

TEST_F(TLineTableTest, ColumnLookupIgnoresCaseAndRejectsUnknownNames)
{
    EXPECT_EQ(Table.ColumnIndex("axisx"), AxisX);
    EXPECT_EQ(Table.ColumnIndex("AXISY"), AxisY);
    try {
        Table.ColumnIndex("AxisW");
        ADD_FAILURE() << "no error";
    } catch (const ETableError& e) {
        EXPECT_STREQ(e.what(), "Field 'AxisW' not found");
    }
    EXPECT_THROW(Table.IsNull(-1), ETableError);
    EXPECT_THROW(Table.GetFloat(Table.ColumnCount()), ETableError);
}

TEST_F(TLineTableTest, NewTableIsEmpty)
{
    Table.MoveFirst();
    EXPECT_TRUE(Table.AtEnd());
    EXPECT_EQ(Table.RowCount(), 0u);
    EXPECT_FALSE(Table.HasPendingRow());
    EXPECT_TRUE(Table.IsNull(AxisX));
    EXPECT_EQ(Table.GetFloat(AxisX), 0.0);
}

TEST_F(TLineTableTest, UntouchedPendingRowIsDroppedWithoutUsingANumber)
{
    Table.AppendRow();
    EXPECT_TRUE(Table.HasPendingRow());
    EXPECT_FALSE(Table.RowModified());
    Table.MoveFirst();
    EXPECT_TRUE(Table.AtEnd());
    EXPECT_FALSE(Table.HasPendingRow());
    CommitRowWithX(1);
    EXPECT_EQ(Table.GetInteger(Line), 1);
}

TEST_F(TLineTableTest, ModifiedPendingRowIsCommittedByMoveFirst)
{
    Table.AppendRow();
    Table.SetFloat(AxisX, 1.5);
    EXPECT_TRUE(Table.RowModified());
    Table.MoveFirst();
    EXPECT_FALSE(Table.HasPendingRow());
    ASSERT_FALSE(Table.AtEnd());
    EXPECT_EQ(Table.GetInteger(Line), 1);
    EXPECT_EQ(Table.GetFloat(AxisX), 1.5);
    EXPECT_TRUE(Table.IsNull(AxisY));
    EXPECT_EQ(Table.GetFloat(AxisY), 0.0);
}

TEST_F(TLineTableTest, AppendRowSettlesThePendingRow)
{
    Table.AppendRow();
    Table.AppendRow();
    Table.SetFloat(AxisX, 2);
    Table.AppendRow();  // commits the modified row
    Table.DiscardRow();
    EXPECT_EQ(Table.RowCount(), 1u);
    Table.MoveFirst();
    EXPECT_EQ(Table.GetInteger(Line), 1);
    EXPECT_EQ(Table.GetFloat(AxisX), 2.0);
}

TEST_F(TLineTableTest, DiscardedRowKeepsTheCounter)
{
    Table.AppendRow();
    Table.SetFloat(AxisX, 9);
    Table.DiscardRow();
    EXPECT_FALSE(Table.HasPendingRow());
    CommitRowWithX(1);
    EXPECT_EQ(Table.GetInteger(Line), 1);
    EXPECT_EQ(Table.RowCount(), 1u);
}

TEST_F(TLineTableTest, CommittedRowBecomesCurrent)
{
    CommitRowWithX(1);
    CommitRowWithX(2);
    EXPECT_FALSE(Table.AtEnd());
    EXPECT_EQ(Table.GetInteger(Line), 2);
    EXPECT_EQ(Table.GetFloat(AxisX), 2.0);
}

TEST_F(TLineTableTest, GettersReadThePendingRowWhileOneIsBegun)
{
    CommitRowWithX(1);
    Table.AppendRow();
    EXPECT_TRUE(Table.IsNull(AxisX));
    EXPECT_TRUE(Table.IsNull(Line));  // numbered only on commit
    Table.SetInteger(SpindleSpeed, 1200);
    EXPECT_EQ(Table.GetInteger(SpindleSpeed), 1200);
    Table.DiscardRow();
    EXPECT_EQ(Table.GetFloat(AxisX), 1.0);
}

TEST_F(TLineTableTest, EmptyingKeepsTheNumberingGoing)
{
    for (int i = 0; i < 3; ++i)
        CommitRowWithX(i);
    Table.EmptyTable();
    EXPECT_EQ(Table.RowCount(), 0u);
    Table.MoveFirst();
    EXPECT_TRUE(Table.AtEnd());
    CommitRowWithX(7);
    Table.MoveFirst();
    EXPECT_EQ(Table.GetInteger(Line), 4);
}

TEST_F(TLineTableTest, EmptyingCommitsAModifiedPendingRowFirst)
{
    Table.AppendRow();
    Table.SetFloat(AxisX, 1);
    Table.EmptyTable();
    EXPECT_FALSE(Table.HasPendingRow());
    CommitRowWithX(2);
    EXPECT_EQ(Table.GetInteger(Line), 2);
}

TEST_F(TLineTableTest, SmallIntColumnsCheckTheirRange)
{
    Table.AppendRow();
    Table.SetInteger(SpindleSpeed, 32767);
    EXPECT_EQ(Table.GetInteger(SpindleSpeed), 32767);
    Table.SetInteger(SpindleSpeed, -32768);
    EXPECT_EQ(Table.GetInteger(SpindleSpeed), -32768);
    try {
        Table.SetInteger(SpindleSpeed, 40000);
        ADD_FAILURE() << "no error";
    } catch (const ERangeError& e) {
        EXPECT_STREQ(e.what(), "40000 is not a valid value for field 'SpindleSpeed'. "
                               "The allowed range is -32768 to 32767");
    }
    EXPECT_THROW(Table.SetInteger(SpindleSpeed, 32768), ERangeError);
    EXPECT_THROW(Table.SetInteger(SpindleSpeed, -32769), ERangeError);
    EXPECT_THROW(Table.SetInteger(Column("GMotion"), 2147483647), ERangeError);
    EXPECT_EQ(Table.GetInteger(SpindleSpeed), -32768);  // the failures changed nothing
    EXPECT_TRUE(Table.IsNull(Column("GMotion")));
}

TEST_F(TLineTableTest, RangeErrorOnAFreshColumnLeavesItNull)
{
    Table.AppendRow();
    Table.SetFloat(AxisX, 3);
    EXPECT_THROW(Table.SetInteger(SpindleSpeed, 32768), ERangeError);
    EXPECT_TRUE(Table.IsNull(SpindleSpeed));
    Table.CommitRow();
    EXPECT_TRUE(Table.IsNull(SpindleSpeed));
    EXPECT_EQ(Table.GetFloat(AxisX), 3.0);
}

TEST_F(TLineTableTest, IntegerColumnsTakeEvery32BitValue)
{
    const int feedrate = Column("Feedrate");
    for (const std::int32_t value : {std::numeric_limits<std::int32_t>::min(), -1, 0,
                                     std::numeric_limits<std::int32_t>::max()}) {
        Table.AppendRow();
        Table.SetInteger(feedrate, value);
        Table.CommitRow();
        EXPECT_EQ(Table.GetInteger(feedrate), value);
        EXPECT_EQ(Table.GetFloat(feedrate), static_cast<double>(value));
    }
}

TEST_F(TLineTableTest, WritesOfTheWrongKindAreRejected)
{
    EXPECT_THROW(Table.SetFloat(AxisX, 1), ETableError);  // no pending row
    Table.AppendRow();
    EXPECT_THROW(Table.SetInteger(Line, 5), ETableError);
    EXPECT_THROW(Table.SetInteger(Column("ToolRadiusComp"), 1), ETableError);
    EXPECT_THROW(Table.SetInteger(AxisX, 1), ETableError);
    EXPECT_THROW(Table.SetFloat(SpindleSpeed, 1), ETableError);
    EXPECT_THROW(Table.GetInteger(AxisX), ETableError);
    EXPECT_FALSE(Table.RowModified());
}

TEST_F(TLineTableTest, MovingPastTheLastRowSetsAtEndAndStays)
{
    CommitRowWithX(1);
    CommitRowWithX(2);
    Table.MoveFirst();
    Table.MoveNext();
    EXPECT_FALSE(Table.AtEnd());
    Table.MoveNext();
    EXPECT_TRUE(Table.AtEnd());
    Table.MoveNext();
    EXPECT_TRUE(Table.AtEnd());
    Table.MoveFirst();
    EXPECT_EQ(Table.GetFloat(AxisX), 1.0);
}

// Rows with every mix of set columns come back exactly, across the storage's block boundaries.
TEST_F(TLineTableTest, WalkReturnsEveryRowOnceWithItsOwnValues)
{
    constexpr int kRows = 20000;
    std::vector<std::vector<std::optional<double>>> written(kRows);
    std::uint32_t state = 2463534242u;
    const auto next = [&state] {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return state;
    };
    for (int r = 0; r < kRows; ++r) {
        Table.AppendRow();
        written[r].resize(Table.ColumnCount());
        const std::uint32_t mask = next();
        for (int c = 0; c < Table.ColumnCount(); ++c) {
            const TFieldType type = Table.ColumnType(c);
            if ((mask >> c) % 2 == 0 || type == TFieldType::AutoInc || type == TFieldType::Boolean)
                continue;
            const auto raw = static_cast<std::int32_t>(next());
            if (type == TFieldType::Float) {
                const double value = raw / 7.0;
                Table.SetFloat(c, value);
                written[r][c] = value;
            } else {
                const std::int32_t value = type == TFieldType::SmallInt ? static_cast<std::int16_t>(raw) : raw;
                Table.SetInteger(c, value);
                written[r][c] = value;
            }
        }
        Table.CommitRow();  // also rows with every column null
    }
    ASSERT_EQ(Table.RowCount(), static_cast<std::size_t>(kRows));

    int r = 0;
    for (Table.MoveFirst(); !Table.AtEnd(); Table.MoveNext(), ++r) {
        ASSERT_LT(r, kRows);
        ASSERT_EQ(Table.GetInteger(Line), r + 1);
        for (int c = 1; c < Table.ColumnCount(); ++c) {
            ASSERT_EQ(Table.IsNull(c), !written[r][c].has_value()) << "row " << r << " column " << c;
            if (written[r][c]) {
                ASSERT_EQ(Table.GetFloat(c), *written[r][c]) << "row " << r << " column " << c;
            }
        }
    }
    EXPECT_EQ(r, kRows);
}

}  // namespace
