// Lenient reading, rule by rule: what each kind of line leaves in the table and what is counted
// as skipped; and that programs strict reading reads give the same rows in both readings.

#include "common/FileBytes.h"
#include "gcode/GCodeEngine.h"
#include "gcode/LineList.h"
#include "tests/gcode/RowDescription.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Every committed row, rows separated by " | ".
std::string DescribeRows(TLineTable& table)
{
    std::string rows;
    for (table.MoveFirst(); !table.AtEnd(); table.MoveNext())
        rows += (rows.empty() ? "" : " | ") + DescribeRow(table, false);
    return rows;
}

struct TLenientCase
{
    std::string Line;
    std::string Rows;  // what lenient reading stores
    std::size_t SkippedWords = 0;
    std::size_t SkippedLines = 0;
};

void PrintTo(const TLenientCase& c, std::ostream* out)
{
    *out << c.Line;
}

class TLenientReadingTest : public ::testing::TestWithParam<TLenientCase>
{
protected:
    TLenientReadingTest() { Engine.SetLenient(true); }

    std::string Run(std::vector<std::string> lines)
    {
        Engine.Run(std::move(lines));
        return DescribeRows(*Engine.Table());
    }

    TGCodeEngine Engine;
};

TEST_P(TLenientReadingTest, StoresWhatTheLineSaysAndCountsWhatItSkips)
{
    const TLenientCase& c = GetParam();
    EXPECT_EQ(Run({c.Line}), c.Rows);
    EXPECT_EQ(Engine.Skipped().Words(), c.SkippedWords);
    EXPECT_EQ(Engine.Skipped().Lines(), c.SkippedLines);
}

// ";" comments, also next to parenthesised ones.
INSTANTIATE_TEST_SUITE_P(
    SemicolonComments, TLenientReadingTest,
    ::testing::Values(TLenientCase{"G0 X1 ; rapid", "GMotion=0 AxisX=1"},
                      TLenientCase{"; G0 X1", ""}, TLenientCase{"X1 ; (Y2) Z3", "AxisX=1"},
                      TLenientCase{"(a ; b) X1", "AxisX=1"}, TLenientCase{"(a) ; X1", ""},
                      TLenientCase{"X1 (open ; Y2", "AxisX=1"}, TLenientCase{"X1;Y2", "AxisX=1"}));

// A leading "." and reals after integer words: rounded, halves to even; G and M whole only.
INSTANTIATE_TEST_SUITE_P(
    Numbers, TLenientReadingTest,
    ::testing::Values(TLenientCase{"X.5 R.25 Y-.5", "Radius=0.25 AxisX=0.5 AxisY=-0.5"},
                      TLenientCase{"F100. S300.0", "Feedrate=100 SpindleSpeed=300"},
                      TLenientCase{"F2.5 P3.5 N-2.5 T.6",
                                   "Feedrate=2 LineNumber=-2 Dwell=4 ToolChange=1"},
                      TLenientCase{"F1E3", "Feedrate=1000"},
                      TLenientCase{"G1.0 M3.0", "GMotion=1 MSpindleRotation=3"},
                      TLenientCase{"G64.1 G38.2 M100.5 X1", "AxisX=1"},
                      TLenientCase{"G64P.1", "Dwell=0"},
                      TLenientCase{"H2.5", "ToolLengthOffset=2.5"}));

// Values that are not plain numbers: the word and what belongs to it are skipped and counted.
INSTANTIATE_TEST_SUITE_P(
    Expressions, TLenientReadingTest,
    ::testing::Values(
        TLenientCase{"X#1 Y2", "AxisY=2", 1}, TLenientCase{"X#<_name> Y2", "AxisY=2", 1},
        TLenientCase{"X[#1+2] Y[3 * 4] Z4", "AxisZ=4", 2},
        TLenientCase{"g1 x[100*cos[#1]] y[100*sin[#1]] c#1 f300", "Feedrate=300 GMotion=1", 3},
        TLenientCase{"X sin[30] Y1", "AxisY=1", 1}, TLenientCase{"X atan[1]/[2] Y1", "AxisY=1", 1},
        TLenientCase{"X-[1] Y-#2 Z1", "AxisZ=1", 2}, TLenientCase{"G X1", "AxisX=1", 1},
        TLenientCase{"X", "", 1}, TLenientCase{"X1-2 Y1", "AxisY=1", 1},
        TLenientCase{"S40000 M3", "MSpindleRotation=3", 1}, TLenientCase{"F1e30 X1", "AxisX=1", 1},
        TLenientCase{"G0 #1=2 X3", "GMotion=0 AxisX=3", 1},
        TLenientCase{"A5 B[1] X1", "AxisX=1", 1}));

// Lines skipped whole, and stray bytes passed over.
INSTANTIATE_TEST_SUITE_P(Lines, TLenientReadingTest,
                         ::testing::Values(TLenientCase{"o100 sub", "", 0, 1},
                                           TLenientCase{"  O110 if [#2 gt 0]", "", 0, 1},
                                           TLenientCase{"#1 = 2", "", 0, 1},
                                           TLenientCase{"#<depth>=[#1/2] G0 X1", "", 0, 1},
                                           TLenientCase{"G1 X1 * Y2 = / ] , Z3",
                                                        "GMotion=1 AxisX=1 AxisY=2 AxisZ=3"},
                                           TLenientCase{"X1 " + std::string(4092, ' '), "AxisX=1"},
                                           TLenientCase{"X1 " + std::string(4093, ' '), "", 0, 1}));

TEST_F(TLenientReadingTest, KeepsTheFirstFivePlacesWithLineAndText)
{
    Run({"G0 X1", "X#1", "o100 sub", "Y[2] ; later", "#5=1", "Z#2 F1", "X#3", "X#4"});
    const TSkipReport& skipped = Engine.Skipped();
    EXPECT_EQ(skipped.Words(), 5u);
    EXPECT_EQ(skipped.Lines(), 2u);
    ASSERT_EQ(skipped.Places().size(), TSkipReport::kPlaceCount);
    const std::vector<std::pair<std::int32_t, std::string>> expected = {
        {2, "X#1"}, {3, "o100 sub"}, {4, "Y[2]"}, {5, "#5=1"}, {6, "Z#2"}};
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(skipped.Places()[i].Line, expected[i].first);
        EXPECT_EQ(skipped.Places()[i].Text, expected[i].second);
    }
}

TEST_F(TLenientReadingTest, ShortensLongPlacesAndStartsEachRunAfresh)
{
    Run({"X[" + std::string(200, '1') + "]"});
    ASSERT_EQ(Engine.Skipped().Places().size(), 1u);
    EXPECT_EQ(Engine.Skipped().Places()[0].Text,
              "X[" + std::string(TSkipReport::kTextLimit - 2, '1') + "...");
    Run({"G0 X1"});
    EXPECT_TRUE(Engine.Skipped().Empty());
    EXPECT_TRUE(Engine.Skipped().Places().empty());
}

TEST_F(TLenientReadingTest, NeverStopsAtMalformedInput)
{
    const std::vector<std::string> lines = {"X",
                                            "G",
                                            "F-",
                                            "X+",
                                            "[[[",
                                            "]]]",
                                            "X[[[1",
                                            "#",
                                            "#<",
                                            "X#<",
                                            "(",
                                            ";",
                                            ".",
                                            "X.",
                                            "G1.5.5",
                                            "N" + std::string(30, '9'),
                                            "S1e400",
                                            "T-1e400",
                                            std::string("X1\0Y2", 5),
                                            "\xff\xfe G1 X2"};
    EXPECT_NO_THROW(Engine.Run(lines));
    EXPECT_EQ(Engine.LineCount(), lines.size());
}

TEST_F(TLenientReadingTest, SwitchingBackRestoresStrictReading)
{
    Engine.SetLenient(false);
    EXPECT_THROW(Engine.Run({"G0 X1 ; rapid"}), EParserError);
    EXPECT_THROW(Engine.Run({"F100."}), EParserError);
    EXPECT_FALSE(Engine.Lenient());
}

// Programs that strict reading reads: both readings give the same table and lenient skips nothing.
class TStrictVersusLenientTest : public ::testing::TestWithParam<std::vector<std::string>>
{};

TEST_P(TStrictVersusLenientTest, BothReadingsGiveTheSameRows)
{
    TGCodeEngine strict;
    TGCodeEngine lenient;
    lenient.SetLenient(true);
    ASSERT_NO_THROW(strict.Run(GetParam()));
    lenient.Run(GetParam());
    EXPECT_EQ(DescribeRows(*lenient.Table()), DescribeRows(*strict.Table()));
    EXPECT_EQ(lenient.Table()->RowCount(), strict.Table()->RowCount());
    EXPECT_TRUE(lenient.Skipped().Empty());
}

std::vector<std::string> FileLines(const std::string& path)
{
    const TLineList lines(ReadFileBytes(path));
    return lines.ToStrings();
}

INSTANTIATE_TEST_SUITE_P(
    Programs, TStrictVersusLenientTest,
    ::testing::Values(
        std::vector<std::string>{"%", "(program)", "G90 G20 G49", "G0 X1 Y2",
                                 "X 1.220489 Y 0.700108"},
        std::vector<std::string>{"G17 G3 X 2.652558 Y 3.187273 Z -0.350000 R 1.245539", "M3 S8000",
                                 "G4 P2"},
        std::vector<std::string>{"g01 x-1.5 (a (b) c) y+2", "N4294967297 G256 M256", "", "   ",
                                 "M30"},
        std::vector<std::string>{"G1X2.5Y-0.5E7Q1", "(unclosed", "G0 G1 G2", "X1E-3", "A.5"},
        FileLines(std::string(ZORVIT_SOURCE_DIR) + "/examples/pocket.ngc"),
        FileLines(std::string(ZORVIT_TEST_DATA) + "/gcode-mixed.ngc")));

}  // namespace
