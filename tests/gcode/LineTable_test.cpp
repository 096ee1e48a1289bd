#include "gcode/LineTable.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <bit>
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
    EXPECT_TRUE(Table.IsNull(Line));  // the getters read the pending row
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
                const std::int32_t value =
                    type == TFieldType::SmallInt ? static_cast<std::int16_t>(raw) : raw;
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
            ASSERT_EQ(Table.GetFloat(c), written[r][c].value_or(0))
                << "row " << r << " column " << c;
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
    const std::uint32_t expected = TLineTable::ColumnBit(AxisX) | TLineTable::ColumnBit(axisZ) |
                                   TLineTable::ColumnBit(SpindleSpeed);
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

namespace {

// Reals that fit a short decimal form are stored in half the room; every value must still read
// back as the very double that was stored, and the values after them must stay in place.
TEST_F(TLineTableTest, RealsReadBackBitForBitWhateverTheirForm)
{
    const std::vector<std::vector<double>> rows = {
        {12.3456, -7.5, 0.25},              // four decimals: the compact form
        {0.1 + 0.2, 1.0, 2.0},              // not a short decimal: doubles
        {-0.0, 3.0, 4.0},                   // the sign of zero is kept
        {214748.3647, -214748.3648, 1e-7},  // the limits of the compact form
        {214748.3648, 0.5, 0.5},            // one past them
        {123.0000001, 1.5, 2.5},            // too many decimals
        {std::numeric_limits<double>::infinity(), 1.0, 1.0},
        {5e9, 1.0, 1.0},
    };
    const int axisZ = Table.ColumnIndex("AxisZ");
    const int feedrate = Table.ColumnIndex("Feedrate");
    for (std::size_t r = 0; r < rows.size(); ++r) {
        Table.AppendRow();
        Table.SetFloat(AxisX, rows[r][0]);
        Table.SetFloat(AxisY, rows[r][1]);
        Table.SetFloat(axisZ, rows[r][2]);
        Table.SetInteger(feedrate, static_cast<std::int32_t>(r + 100));
        Table.SetInteger(SpindleSpeed, static_cast<std::int32_t>(r));
        Table.CommitRow();
    }
    const auto bits = [](double value) { return std::bit_cast<std::uint64_t>(value); };
    Table.MoveFirst();
    for (std::size_t r = 0; r < rows.size(); ++r, Table.MoveNext()) {
        ASSERT_FALSE(Table.AtEnd());
        EXPECT_EQ(bits(Table.GetFloat(AxisX)), bits(rows[r][0])) << "row " << r;
        EXPECT_EQ(bits(Table.GetFloat(AxisY)), bits(rows[r][1])) << "row " << r;
        EXPECT_EQ(bits(Table.GetFloat(axisZ)), bits(rows[r][2])) << "row " << r;
        EXPECT_EQ(Table.GetInteger(feedrate), static_cast<std::int32_t>(r + 100)) << "row " << r;
        EXPECT_EQ(Table.GetInteger(SpindleSpeed), static_cast<std::int32_t>(r)) << "row " << r;
        EXPECT_TRUE(Table.IsNull("Radius"));
    }
    EXPECT_TRUE(Table.AtEnd());
}

// Rows of coordinates in the compact form against the same rows forced into doubles (a tiny
// offset that no short decimal gives): the mask's entry and reals, 1 + 4n bytes instead of 1 + 8n.
TEST_F(TLineTableTest, CompactRealsHalveTheRoomOfCoordinateRows)
{
    struct TCase
    {
        const char* what;
        std::vector<double> reals;  // X, Y, Z of the row; the row number is added to X
    };
    const std::vector<TCase> cases = {
        {"one real", {0.0125}},
        {"every real with four decimals", {1.2345, -50.1234, -0.2764}},
        {"fewer decimals first", {0.25, -50.0, -0.2764}},
        {"fewer decimals last", {0.2764, -50.0, 0.5}},
        {"an integer first", {3.0, 0.5, -0.0625}},
    };
    const int axisZ = Table.ColumnIndex("AxisZ");
    const int axes[] = {AxisX, AxisY, axisZ};
    constexpr int kRows = 100000;
    for (const TCase& c : cases) {
        TLineTable compact;
        TLineTable doubles;
        for (int i = 0; i < kRows; ++i)
            for (TLineTable* table : {&compact, &doubles}) {
                table->AppendRow();
                for (std::size_t a = 0; a < c.reals.size(); ++a) {
                    const double real = c.reals[a] + (a == 0 ? i : 0);
                    table->SetFloat(axes[a], table == &doubles ? real + 1e-9 : real);
                }
                table->CommitRow();
            }
        const double rowBytes = 1.0 + 8.0 * static_cast<double>(c.reals.size());
        const double compactBytes = 1.0 + 4.0 * static_cast<double>(c.reals.size());
        EXPECT_LT(static_cast<double>(compact.AllocatedBytes()) * rowBytes,
                  static_cast<double>(doubles.AllocatedBytes()) * compactBytes * 1.05)
            << c.what;
        compact.MoveFirst();
        EXPECT_EQ(compact.GetFloat(axisZ), c.reals.size() > 2 ? c.reals[2] : 0.0) << c.what;
    }
}

// A row whose scaled reals all fit in 24 bits stores each in 3 bytes; one that does not, or that
// is no short decimal at all, keeps a wider form for every real of the row. Each case's rows
// take the room of their form on their own, and read back bit for bit through every reader
// when mixed with the others' in the same blocks.
TEST_F(TLineTableTest, NarrowRealsTakeThreeBytesAndReadBackBitForBit)
{
    struct TCase
    {
        const char* what;
        std::array<std::optional<double>, 3> reals;  // X, Y, Z; none for a null column
        std::size_t realBytes;                       // the room each real of the row takes
    };
    const std::optional<double> null;
    const std::vector<TCase> cases = {
        {"coordinates of CAM output", {55.0, -3.3, -6.0305}, 3},
        {"the largest 24-bit integer", {838.8607, 1.0, 2.0}, 3},
        {"the smallest 24-bit integer", {1.0, -838.8608, 2.0}, 3},
        {"one past the largest", {838.8608, 1.0, 2.0}, 4},
        {"one past the smallest, after fewer decimals", {1.0, 2.0, -838.8609}, 4},
        {"whole numbers at the edges", {8388607.0, -8388608.0, 0.0}, 3},
        {"seven decimals", {0.8388607, -0.0000001, 0.5}, 3},
        {"a null column between", {-1.25, null, 700.0001}, 3},
        {"one real", {null, null, -0.0001}, 3},
        {"negative zero", {-0.0, 1.0, 2.0}, 8},
        {"no short decimal", {0.1 + 0.2, 1.0, 2.0}, 8},
    };
    const int axisZ = Table.ColumnIndex("AxisZ");
    const int feedrate = Table.ColumnIndex("Feedrate");
    const int axes[] = {AxisX, AxisY, axisZ};
    const auto write = [&](TLineTable& table, const TCase& c, int row) {
        table.AppendRow();
        for (std::size_t a = 0; a < c.reals.size(); ++a)
            if (c.reals[a])
                table.SetFloat(axes[a], *c.reals[a]);
        table.SetInteger(feedrate, row);
        table.CommitRow();
    };

    constexpr int kAloneRows = 200000;
    for (const TCase& c : cases) {
        TLineTable alone;
        for (int row = 0; row < kAloneRows; ++row)
            write(alone, c, row);
        const auto reals = static_cast<std::size_t>(std::count_if(
            c.reals.begin(), c.reals.end(), [](const auto& real) { return real.has_value(); }));
        const double rowBytes =
            1.0 + static_cast<double>(reals * c.realBytes + sizeof(std::int32_t));
        const double bytesPerRow = static_cast<double>(alone.AllocatedBytes()) / kAloneRows;
        EXPECT_GE(bytesPerRow, rowBytes) << c.what;
        EXPECT_LT(bytesPerRow, rowBytes + 0.5) << c.what;
    }

    constexpr int kRounds = 2000;
    for (int round = 0; round < kRounds; ++round)
        for (std::size_t i = 0; i < cases.size(); ++i)
            write(Table, cases[i], static_cast<int>(round * cases.size() + i));
    const auto bits = [](double value) { return std::bit_cast<std::uint64_t>(value); };
    const auto expectRow = [&](std::size_t row) {
        const TCase& c = cases[row % cases.size()];
        SCOPED_TRACE(testing::Message() << c.what << ", row " << row);
        constexpr double kUntouched = 7.0;
        double values[3] = {kUntouched, kUntouched, kUntouched};
        Table.GetFloats(AxisX, 3, values);
        for (std::size_t a = 0; a < c.reals.size(); ++a) {
            EXPECT_EQ(Table.IsNull(axes[a]), !c.reals[a]);
            EXPECT_EQ(bits(Table.GetFloat(axes[a])), bits(c.reals[a].value_or(0.0)));
            EXPECT_EQ(bits(values[a]), bits(c.reals[a].value_or(kUntouched)));
        }
        EXPECT_EQ(Table.GetInteger(feedrate), static_cast<std::int32_t>(row));
    };
    std::vector<TLineTable::TBookmark> marks;
    Table.MoveFirst();
    for (std::size_t row = 0; row < Table.RowCount(); ++row, Table.MoveNext()) {
        ASSERT_FALSE(Table.AtEnd());
        expectRow(row);
        marks.push_back(Table.Bookmark());
    }
    EXPECT_TRUE(Table.AtEnd());
    constexpr std::size_t kMarkStep = 97;
    for (std::size_t row = marks.size(); row-- > 0;)
        if (row % kMarkStep == 0 || row + 1 == marks.size()) {
            Table.MoveTo(marks[row]);
            expectRow(row);
        }
}

// A block lists the masks of its rows; rows with more different masks than one block can list
// go on in new blocks and read back whole.
TEST_F(TLineTableTest, RowsOfManyDifferentMasksReadBack)
{
    const std::vector<int> columns = {AxisX,
                                      AxisY,
                                      Table.ColumnIndex("AxisZ"),
                                      Table.ColumnIndex("Radius"),
                                      Table.ColumnIndex("Feedrate"),
                                      Table.ColumnIndex("LineNumber"),
                                      Table.ColumnIndex("Dwell"),
                                      SpindleSpeed,
                                      Table.ColumnIndex("GMotion"),
                                      Table.ColumnIndex("MCoolant")};
    constexpr int kRows = 3000;
    const auto value = [](int row, std::size_t c) { return static_cast<int>(row * 3 + c) % 1000; };
    for (int row = 0; row < kRows; ++row) {
        Table.AppendRow();
        const int bits = (row * 7919) % 1024;  // every set of the ten columns, shuffled
        for (std::size_t c = 0; c < columns.size(); ++c)
            if ((bits >> c & 1) != 0) {
                if (Table.ColumnType(columns[c]) == TFieldType::Float)
                    Table.SetFloat(columns[c], value(row, c) + 0.5);
                else
                    Table.SetInteger(columns[c], value(row, c));
            }
        Table.SetInteger(Table.ColumnIndex("ToolChange"), row);  // no row stays empty
        Table.CommitRow();
    }
    ASSERT_EQ(Table.RowCount(), static_cast<std::size_t>(kRows));
    Table.MoveFirst();
    for (int row = 0; row < kRows; ++row, Table.MoveNext()) {
        const int bits = (row * 7919) % 1024;
        for (std::size_t c = 0; c < columns.size(); ++c) {
            const bool set = (bits >> c & 1) != 0;
            ASSERT_EQ(Table.IsNull(columns[c]), !set) << "row " << row << ", column " << c;
            const double expected =
                !set ? 0.0
                     : value(row, c) +
                           (Table.ColumnType(columns[c]) == TFieldType::Float ? 0.5 : 0.0);
            ASSERT_EQ(Table.GetFloat(columns[c]), expected) << "row " << row << ", column " << c;
        }
        ASSERT_EQ(Table.GetInteger("ToolChange"), row);
    }
    EXPECT_TRUE(Table.AtEnd());
}

}  // namespace
