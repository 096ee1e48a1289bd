#include "LineTable.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <optional>
#include <vector>

namespace {

class TLineTableTest : public ::testing::Test
{
protected:
    void CommitRowWithX(double x)
    {
        Table.AppendRow();
        Table.SetFloat(AxisX, x);
        Table.CommitRow();
    }

    TLineTable Table;
    const int Line = Table.ColumnIndex("Line");
    const int AxisX = Table.ColumnIndex("AxisX");
    const int AxisY = Table.ColumnIndex("AxisY");
    const int SpindleSpeed = Table.ColumnIndex("SpindleSpeed");
};

TEST_F(TLineTableTest, ColumnLookupIgnoresCaseAndRejectsUnknownNames)
{
    EXPECT_EQ(Table.ColumnIndex("axisx"), AxisX);
    EXPECT_EQ(Table.ColumnName(Table.ColumnIndex("GMOTION")), "GMotion");
    EXPECT_THROW(Table.ColumnIndex("AxisW"), ETableError);
    EXPECT_THROW(Table.IsNull(-1), ETableError);
    EXPECT_THROW(Table.GetFloat(Table.ColumnCount()), ETableError);
}

TEST_F(TLineTableTest, PendingRowIsCommittedOnlyOnceModified)
{
    Table.MoveFirst();
    EXPECT_TRUE(Table.AtEnd());
    Table.AppendRow();
    EXPECT_TRUE(Table.HasPendingRow());
    EXPECT_FALSE(Table.RowModified());
    Table.MoveFirst();  // drops the untouched row
    EXPECT_FALSE(Table.HasPendingRow());
    EXPECT_TRUE(Table.AtEnd());

    Table.AppendRow();
    Table.SetFloat(AxisX, 9);
    Table.DiscardRow();  // numbers nothing
    Table.AppendRow();
    Table.SetFloat(AxisX, 1.5);
    EXPECT_TRUE(Table.RowModified());
    EXPECT_TRUE(Table.IsNull(Line));       // the getters read the pending row
    EXPECT_EQ(Table.GetFloat(AxisX), 1.5);
    Table.AppendRow();  // commits the modified row
    Table.MoveFirst();  // drops the new, untouched one
    ASSERT_EQ(Table.RowCount(), 1u);
    EXPECT_EQ(Table.GetInteger(Line), 1);
    EXPECT_EQ(Table.GetFloat(AxisX), 1.5);
    EXPECT_TRUE(Table.IsNull(AxisY));
    EXPECT_EQ(Table.GetFloat(AxisY), 0.0);
}

TEST_F(TLineTableTest, CommittedRowsAreNumberedOnAcrossEmptying)
{
    CommitRowWithX(1);
    CommitRowWithX(2);
    EXPECT_EQ(Table.GetInteger(Line), 2);  // a committed row becomes current
    EXPECT_EQ(Table.GetFloat(AxisX), 2.0);
    CommitRowWithX(3);
    Table.AppendRow();
    Table.SetFloat(AxisY, 4);
    Table.EmptyTable();  // commits the pending row before removing every row
    EXPECT_EQ(Table.RowCount(), 0u);
    CommitRowWithX(7);
    Table.MoveFirst();
    EXPECT_EQ(Table.GetInteger(Line), 5);
}

TEST_F(TLineTableTest, SmallIntColumnsRejectValuesOutOfRangeAndKeepTheirValue)
{
    const int motion = Table.ColumnIndex("GMotion");
    Table.AppendRow();
    Table.SetFloat(AxisX, 3);
    Table.SetInteger(SpindleSpeed, -32768);
    Table.SetInteger(SpindleSpeed, 32767);
    try {
        Table.SetInteger(SpindleSpeed, 40000);
        ADD_FAILURE() << "no error";
    } catch (const ERangeError& e) {
        EXPECT_STREQ(e.what(), "40000 is not a valid value for field 'SpindleSpeed'. "
                               "The allowed range is -32768 to 32767");
    }
    EXPECT_THROW(Table.SetInteger(SpindleSpeed, -32769), ERangeError);
    EXPECT_THROW(Table.SetInteger(motion, 2147483647), ERangeError);
    Table.CommitRow();
    EXPECT_EQ(Table.GetInteger(SpindleSpeed), 32767);
    EXPECT_TRUE(Table.IsNull(motion));
    EXPECT_EQ(Table.GetFloat(AxisX), 3.0);
}

TEST_F(TLineTableTest, WritesOfTheWrongKindAreRejected)
{
    EXPECT_THROW(Table.SetFloat(AxisX, 1), ETableError);  // no pending row
    Table.AppendRow();
    for (const char* column : {"Line", "ToolRadiusComp", "AxisX"})
        EXPECT_THROW(Table.SetInteger(Table.ColumnIndex(column), 1), ETableError) << column;
    EXPECT_THROW(Table.SetFloat(SpindleSpeed, 1), ETableError);
    EXPECT_THROW(Table.GetInteger(AxisX), ETableError);
    EXPECT_FALSE(Table.RowModified());
}

// Rows with every mix of set columns and extreme values come back exactly, across the
// storage's block boundaries.
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
    for (auto& row : written) {
        Table.AppendRow();
        row.resize(Table.ColumnCount());
        const std::uint32_t mask = next();
        for (int c = 0; c < Table.ColumnCount(); ++c) {
            const TFieldType type = Table.ColumnType(c);
            if ((mask >> c) % 2 == 0 || type == TFieldType::AutoInc || type == TFieldType::Boolean)
                continue;
            const auto raw = static_cast<std::int32_t>(next());
            if (type == TFieldType::Float) {
                Table.SetFloat(c, raw / 7.0);
                row[c] = raw / 7.0;
            } else {
                const std::int32_t value = type == TFieldType::SmallInt ? static_cast<std::int16_t>(raw) : raw;
                Table.SetInteger(c, value);
                row[c] = value;
            }
        }
        Table.CommitRow();  // also rows with every column null
    }
    int r = 0;
    for (Table.MoveFirst(); !Table.AtEnd(); Table.MoveNext(), ++r) {
        ASSERT_LT(r, kRows);
        ASSERT_EQ(Table.GetInteger(Line), r + 1);
        for (int c = 1; c < Table.ColumnCount(); ++c) {
            ASSERT_EQ(Table.IsNull(c), !written[r][c]) << "row " << r << " column " << c;
            ASSERT_EQ(Table.GetFloat(c), written[r][c].value_or(0)) << "row " << r << " column " << c;
        }
    }
    EXPECT_EQ(r, kRows);
    Table.MoveNext();
    EXPECT_TRUE(Table.AtEnd());
}

}  // namespace

// --- Readers that test many columns of a row at once ------------------------------------------

namespace {

TEST_F(TLineTableTest, SetColumnsAndGetFloatsReadThePendingAndTheCommittedRow)
{
    const int axisZ = Table.ColumnIndex("AxisZ");
    Table.AppendRow();
    Table.SetFloat(AxisX, 1.5);
    Table.SetFloat(axisZ, -2);
    Table.SetInteger(SpindleSpeed, 100);
    const std::uint32_t expected =
        TLineTable::ColumnBit(AxisX) | TLineTable::ColumnBit(axisZ) | TLineTable::ColumnBit(SpindleSpeed);
    for (int pass = 0; pass < 2; ++pass) {
        SCOPED_TRACE(pass == 0 ? "pending" : "committed");
        EXPECT_EQ(Table.SetColumns(), expected);
        double values[3] = {7, 8, 9};
        Table.GetFloats(AxisX, 3, values);
        EXPECT_EQ(values[0], 1.5);
        EXPECT_EQ(values[1], 8) << "a null column leaves its entry";
        EXPECT_EQ(values[2], -2);
        Table.MoveFirst();
    }
    double values[2] = {};
    EXPECT_THROW(Table.GetFloats(SpindleSpeed, 2, values), ETableError);

    TLineTable empty;
    empty.MoveFirst();
    EXPECT_EQ(empty.SetColumns(), 0u);
}

}  // namespace
