#include "gcode/GCodeEngine.h"
#include "gcode/RunAhead.h"
#include "tests/gcode/RowDescription.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace {

class TGCodeEngineTest : public ::testing::Test
{
protected:
    // The set columns of the current row as "Name=value" pairs, in column order; the Line
    // number only when asked for.
    static std::string Describe(const TLineTable& table, bool withLine)
    {
        return DescribeRow(table, withLine);
    }

    // Every committed row, walked from the first.
    std::vector<std::string> Rows(bool withLine = false)
    {
        TLineTable& table = *Engine.Table();
        std::vector<std::string> rows;
        for (table.MoveFirst(); !table.AtEnd(); table.MoveNext())
            rows.push_back(Describe(table, withLine));
        return rows;
    }

    // Runs the lines and returns the failure's message, or "" when the run succeeds.
    std::string RunFailure(std::vector<std::string> lines)
    {
        try {
            Engine.Run(std::move(lines));
        } catch (const EZorvitError& e) {
            return e.what();
        }
        return "";
    }

    TGCodeEngine Engine;
};

// --- One line, one row ------------------------------------------------------------------------

struct TLineCase
{
    std::string Line;
    std::string Row;  // empty: the line leaves no row
};

class TGCodeEngineLineTest : public TGCodeEngineTest,
                             public ::testing::WithParamInterface<TLineCase>
{};

TEST_P(TGCodeEngineLineTest, TranscribesTheWordsOfTheLine)
{
    Engine.Run({GetParam().Line});
    const std::vector<std::string> rows = Rows();
    if (GetParam().Row.empty())
        EXPECT_TRUE(rows.empty()) << rows.front();
    else
        EXPECT_EQ(rows, std::vector<std::string>{GetParam().Row});
}

INSTANTIATE_TEST_SUITE_P(
    Words, TGCodeEngineLineTest,
    ::testing::Values(
        TLineCase{"G0 X1 Y2", "GMotion=0 AxisX=1 AxisY=2"},
        TLineCase{"X 1.220489 Y 0.700108", "AxisX=1.220489 AxisY=0.700108"},
        TLineCase{"G17 G3 X 2.652558 Y 3.187273 Z -0.350000 R 1.245539",
                  "GMotion=3 GPlane=17 Radius=1.245539 AxisX=2.652558 AxisY=3.187273 AxisZ=-0.35"},
        TLineCase{"G90 G20 G49", "GDistance=90 GUnits=20"},
        TLineCase{"G91 G21 G18 G42", "GPlane=18 GDistance=91 GUnits=21 GCutterComp=42"},
        TLineCase{"M3 S8000 T3 M6 M8",
                  "MToolSelect=6 MSpindleRotation=3 MCoolant=8 SpindleSpeed=8000 ToolChange=3"},
        TLineCase{"M30 G4 P2 H12", "ToolLengthOffset=12 MStop=30 Dwell=2"},
        TLineCase{"N120 G2 X12.3456 Y-7.8912 I0.5 J-0.5 K0 F1200",
                  "Feedrate=1200 GMotion=2 ArcOffsetX=0.5 "
                  "ArcOffsetY=-0.5 ArcOffsetZ=0 LineNumber=120 AxisX=12.3456 AxisY=-7.8912"},
        TLineCase{"g1 G0 x2 X1E2 (end)", "GMotion=0 AxisX=100"},  // lower case; the last word wins
        TLineCase{"GX1 S32767 F-1", "Feedrate=-1 GMotion=1 SpindleSpeed=32767"},
        TLineCase{"N4294967297", "LineNumber=1"},  // the low 32 bits
        TLineCase{"A1 B2 C3 D4 E5 L6 O7 Q8 U9 V10 W11", ""},
        TLineCase{"G256 M256 G-1 M-1 G5 M10 G4294967296", ""},
        TLineCase{"12 3.5 % ; = (only a comment)", ""}));

// --- One line, one failure --------------------------------------------------------------------

struct TFailureCase
{
    std::string Line;
    std::string Message;
};

class TGCodeEngineFailureTest : public TGCodeEngineTest,
                                public ::testing::WithParamInterface<TFailureCase>
{};

TEST_P(TGCodeEngineFailureTest, FailsWithTheMessage)
{
    EXPECT_EQ(RunFailure({"G0 X0", GetParam().Line}), GetParam().Message);
}

INSTANTIATE_TEST_SUITE_P(
    Words, TGCodeEngineFailureTest,
    ::testing::Values(TFailureCase{"G1.0", "Number expected on line 2"},
                      TFailureCase{"F100.5", "Number expected on line 2"},
                      TFailureCase{"M3.", "Number expected on line 2"},
                      TFailureCase{"N1E3", "Number expected on line 2"},
                      TFailureCase{"X", "Number expected on line 2"},
                      TFailureCase{"X (1)", "Number expected on line 2"},
                      TFailureCase{"X Y1", "Number expected on line 2"},
                      TFailureCase{"X.5", "Number expected on line 2"},
                      TFailureCase{"G0 X1 ; rapid", "Number expected on line 2"},
                      TFailureCase{"X1-2", "'1-2' is not a valid floating point value"},
                      TFailureCase{"Y3.4.5", "'3.4.5' is not a valid floating point value"},
                      TFailureCase{"N-", "'-' is not a valid integer value"},
                      TFailureCase{"G99999999999999999999",
                                   "'99999999999999999999' is not a valid integer value"},
                      TFailureCase{"S40000", "40000 is not a valid value for field 'SpindleSpeed'. "
                                             "The allowed range is -32768 to 32767"},
                      TFailureCase{std::string(TGCodeParser::kBufferSize, ' '),
                                   "Line too long on line 2"},
                      TFailureCase{"X1\nY", "Number expected on line 3"}));

// --- Programs -------------------------------------------------------------------------------

TEST_F(TGCodeEngineTest, OnlyLinesThatSetAValueHaveRowsNumberedWithoutGaps)
{
    Engine.Run({"%", "(pocket)", "", "G0 X1", "  ", "M5 (stop)", "A1", "Y2 ; end", "%"});
    EXPECT_EQ(Engine.Table()->GetFloat("AxisX"), 1.0);  // the run ends on the first row
    EXPECT_EQ(Rows(true),
              (std::vector<std::string>{"Line=1 GMotion=0 AxisX=1", "Line=2 MSpindleRotation=5",
                                        "Line=3 AxisY=2"}));
    EXPECT_FALSE(Engine.Table()->HasPendingRow());
    Engine.Run({});
    EXPECT_TRUE(Rows().empty());
}

TEST_F(TGCodeEngineTest, LineFeedInsideALineCommitsARow)
{
    Engine.Run({"G0 X1\nG1 Y2"});
    EXPECT_EQ(Rows(), (std::vector<std::string>{"GMotion=0 AxisX=1", "GMotion=1 AxisY=2"}));
}

TEST_F(TGCodeEngineTest, FailureKeepsEarlierRowsAndTheFailingLinesValuesPending)
{
    EXPECT_EQ(RunFailure({"G0 X1", "G1 X2", "G1 X3 Y", "G1 X4", "G1 X5"}),
              "Number expected on line 3");
    TLineTable& table = *Engine.Table();
    EXPECT_EQ(table.RowCount(), 2u);
    ASSERT_TRUE(table.HasPendingRow());
    EXPECT_EQ(Describe(table, false), "GMotion=1 AxisX=3");
    table.DiscardRow();
    EXPECT_EQ(Rows(), (std::vector<std::string>{"GMotion=0 AxisX=1", "GMotion=1 AxisX=2"}));

    EXPECT_NE(RunFailure({"M3 S40000 X1"}), "");
    ASSERT_TRUE(table.HasPendingRow());
    EXPECT_EQ(Describe(table, false), "MSpindleRotation=3");
}

TEST_F(TGCodeEngineTest, RepeatedRunsRefillTheSameTableAndNumberOn)
{
    const std::shared_ptr<TLineTable> table = Engine.Table();
    const std::vector<std::string> program = {"G0 X1", "G1 Y2", "G1 Z3"};
    Engine.Run(program);
    Engine.Run(program);
    EXPECT_EQ(Engine.Table(), table);
    EXPECT_EQ(Rows(true),
              (std::vector<std::string>{"Line=4 GMotion=0 AxisX=1", "Line=5 GMotion=1 AxisY=2",
                                        "Line=6 GMotion=1 AxisZ=3"}));
    // Emptying settles a failed run's half-filled row, which takes number 8.
    RunFailure({"X7", "G1 X2 Y"});
    Engine.Run({"X9"});
    EXPECT_EQ(Rows(true), std::vector<std::string>{"Line=9 AxisX=9"});
}

// --- Long programs, read in two parts at once -----------------------------------------------

enum class TReadAs { Lines, Text, TextWhileWritten };

struct TLongProgramCase
{
    const char* Name;
    bool Lenient;
    // Lines that fail a strict reading; a lenient one skips their words.
    std::vector<std::size_t> BadLines;
    TReadAs ReadAs;
    const char* Break;  // between the lines of a text
};

// Long enough to be split both as lines and as a text.
constexpr std::size_t kLongLines = TGCodeEngine::kSplitLines * 2 + 3;

class TGCodeEngineLongTest : public ::testing::TestWithParam<TLongProgramCase>
{
protected:
    struct TResult
    {
        std::vector<std::string> Rows;
        std::vector<std::uint32_t> RowLines;
        std::string Failure;
        std::optional<std::size_t> FailedLine;
        std::string Pending;
        std::size_t SkippedWords = 0;
        std::vector<std::int32_t> SkippedPlaces;
    };

    static std::vector<std::string> Program(std::size_t lineCount,
                                            const std::vector<std::size_t>& badLines)
    {
        std::vector<std::string> lines(lineCount);
        for (std::size_t i = 0; i < lineCount; ++i) {
            const std::string n = std::to_string(i);
            switch (i % 5) {
            case 0:
                lines[i] = "G1 X" + n + " Y-" + std::to_string(i % 100) + ".25";
                break;
            case 1:
                lines[i] = "(pass " + n + ")";
                break;
            case 2:
                lines[i] = "F" + std::to_string(i % 1000) + " Z0." + n;
                break;
            case 3:
                lines[i] = "";
                break;
            default:
                lines[i] = "M3 S" + std::to_string(i % 30000);
                break;
            }
        }
        for (const std::size_t bad : badLines)
            lines[bad] = "G1 X7 Y#1";
        return lines;
    }

    // Reads the lines with one engine and collects what a caller sees.
    static TResult Read(TGCodeEngine& engine, std::vector<std::string> lines,
                        std::size_t firstLine = 0, TReadAs readAs = TReadAs::Lines,
                        const char* lineBreak = "")
    {
        TResult result;
        std::string text;
        for (const std::string& line : lines)
            text += (text.empty() ? "" : lineBreak) + line;
        try {
            switch (readAs) {
            case TReadAs::Lines:
                engine.Run(std::move(lines));
                break;
            case TReadAs::Text:
                engine.RunText(text);
                break;
            case TReadAs::TextWhileWritten: {
                // An eighth is published in parts that cut lines and breaks anywhere; the rest
                // is long enough to be shared with the thread at the end.
                constexpr std::size_t kPartBytes = 33331;
                TRunAhead ahead(engine, text.size());
                for (std::size_t end = 0; end < text.size() / 8; end += kPartBytes)
                    ahead.Publish(std::string_view(text).substr(0, end));
                ahead.Finish(text);
                break;
            }
            }
        } catch (const EZorvitError& e) {
            result.Failure = e.what();
        }
        TLineTable& table = *engine.Table();
        if (table.HasPendingRow()) {
            result.Pending = DescribeRow(table, false);
            table.DiscardRow();
        }
        std::size_t row = 0;
        for (table.MoveFirst(); !table.AtEnd(); table.MoveNext(), ++row) {
            EXPECT_EQ(table.GetInteger("Line"), static_cast<std::int32_t>(row + 1));
            result.Rows.push_back(DescribeRow(table, false));
        }
        const TSourceLines& rowLines = *engine.RowSourceLines();
        for (std::size_t row = 0; row < rowLines.Size(); ++row)
            result.RowLines.push_back(
                static_cast<std::uint32_t>(*rowLines.LineOf(row) + firstLine));
        if (engine.FailedLine())
            result.FailedLine = *engine.FailedLine() + firstLine;
        result.SkippedWords = engine.Skipped().Words();
        for (const TSkippedPlace& place : engine.Skipped().Places())
            result.SkippedPlaces.push_back(place.Line + static_cast<std::int32_t>(firstLine));
        return result;
    }
};

TEST_P(TGCodeEngineLongTest, ReadsLikeTheSameLinesInShortRuns)
{
    const TLongProgramCase& test = GetParam();
    const std::size_t lineCount = kLongLines;
    const std::vector<std::string> program = Program(lineCount, test.BadLines);
    TGCodeEngine whole;
    whole.SetLenient(test.Lenient);
    const TResult actual = Read(whole, program, 0, test.ReadAs, test.Break);
    EXPECT_EQ(whole.LineCount(), lineCount);

    // The same lines in runs too short to be split, up to the first failure.
    TResult expected;
    const std::size_t runLines = TGCodeEngine::kSplitLines / 3;
    for (std::size_t first = 0; first < lineCount && expected.Failure.empty(); first += runLines) {
        TGCodeEngine part;
        part.SetLenient(test.Lenient);
        const auto begin = program.begin() + static_cast<std::ptrdiff_t>(first);
        const TResult run = Read(
            part,
            {begin, begin + static_cast<std::ptrdiff_t>(std::min(runLines, lineCount - first))},
            first);
        expected.Rows.insert(expected.Rows.end(), run.Rows.begin(), run.Rows.end());
        expected.RowLines.insert(expected.RowLines.end(), run.RowLines.begin(), run.RowLines.end());
        expected.FailedLine = run.FailedLine;
        expected.Failure = run.Failure;
        expected.Pending = run.Pending;
        expected.SkippedWords += run.SkippedWords;
        for (const std::int32_t place : run.SkippedPlaces)
            if (expected.SkippedPlaces.size() < TSkipReport::kPlaceCount)
                expected.SkippedPlaces.push_back(place);
    }
    // Messages name the line of the whole text.
    if (expected.FailedLine)
        expected.Failure = "Number expected on line " + std::to_string(*expected.FailedLine + 1);

    EXPECT_EQ(actual.Rows.size(), expected.Rows.size());
    EXPECT_TRUE(actual.Rows == expected.Rows);
    EXPECT_TRUE(actual.RowLines == expected.RowLines);
    EXPECT_EQ(actual.Failure, expected.Failure);
    EXPECT_EQ(actual.FailedLine, expected.FailedLine);
    EXPECT_EQ(actual.Pending, expected.Pending);
    EXPECT_EQ(actual.SkippedWords, expected.SkippedWords);
    EXPECT_EQ(actual.SkippedPlaces, expected.SkippedPlaces);
}

constexpr std::size_t kLate = kLongLines * 3 / 4;
constexpr std::size_t kEarly = 1000;
using enum TReadAs;

INSTANTIATE_TEST_SUITE_P(
    Halves, TGCodeEngineLongTest,
    ::testing::Values(
        TLongProgramCase{"Clean", false, {}, Lines, ""},
        TLongProgramCase{"FailsInTheLaterHalf", false, {kLate}, Lines, ""},
        TLongProgramCase{"TheEarlierFailureWins", false, {kEarly, kLate}, Lines, ""},
        TLongProgramCase{"LenientSkipsInBothHalves", true, {kEarly, kLate, kLate + 10}, Lines, ""},
        TLongProgramCase{"TextWithLineFeeds", false, {}, Text, "\n"},
        TLongProgramCase{"TextFailsInTheLaterHalf", false, {kLate}, Text, "\r\n"},
        TLongProgramCase{"TextSkipsInBothHalves", true, {kEarly, kLate}, Text, "\r"},
        TLongProgramCase{"WhileWritten", false, {}, TextWhileWritten, "\r\n"},
        TLongProgramCase{"WhileWrittenFailsLate", false, {kLate}, TextWhileWritten, "\n"},
        TLongProgramCase{"WhileWrittenFailsEarly", false, {kEarly, kLate}, TextWhileWritten, "\n"},
        TLongProgramCase{"WhileWrittenSkips", true, {kEarly, kLate}, TextWhileWritten, "\r"}),
    [](const auto& info) { return std::string(info.param.Name); });

}  // namespace

namespace {

// Lines longer than the parts the text is published in (too long for the tokenizer: a lenient
// reading passes over them), and a part that ends between the CR and the LF of a break: the
// thread waits for whole lines and reads CR LF as one break.
TEST(TRunAheadTest, LinesLongerThanThePartsAndBreaksCutInTwo)
{
    const std::string text = "G1 X1 (" + std::string(100000, 'a') + ")\r\nG1 X2\r\nG1 Y2 (" +
                             std::string(50000, 'b') + ")\r\n\r\nG1 X3\r\n(end)";
    TGCodeEngine expected;
    expected.SetLenient(true);
    expected.RunText(text);
    const std::size_t cutInBreak = text.find("\r\n\r\n") + 1;
    // The thread sees some of the parts: several rounds, so that it waits at the cut in some.
    for (int round = 0; round < 20; ++round) {
        TGCodeEngine engine;
        engine.SetLenient(true);
        {
            TRunAhead ahead(engine, text.size());
            for (std::size_t end = 0; end < cutInBreak; end += 6997)
                ahead.Publish(std::string_view(text).substr(0, end));
            for (const std::size_t end : {cutInBreak, cutInBreak + 2}) {
                ahead.Publish(std::string_view(text).substr(0, end));
                for (int wait = 0; wait < round * 100; ++wait)
                    std::this_thread::yield();
            }
            ahead.Finish(text);
        }
        EXPECT_EQ(engine.LineCount(), 6u);
        EXPECT_EQ(engine.Skipped().Lines(), 2u);
        ASSERT_EQ(engine.Table()->RowCount(), 2u);
        for (std::size_t row = 0; row < 2; ++row)
            EXPECT_EQ(engine.RowSourceLines()->LineOf(row), expected.RowSourceLines()->LineOf(row));
    }
}

}  // namespace
