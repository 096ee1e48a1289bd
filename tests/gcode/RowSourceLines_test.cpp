// The source line of every committed row, and the line a failed run stopped at.
#include "gcode/GCodeEngine.h"

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace {

using TLines = std::vector<std::uint32_t>;

TLines Listed(const TSourceLines& lines)
{
    TLines listed;
    for (std::size_t row = 0; row < lines.Size(); ++row)
        listed.push_back(*lines.LineOf(row));
    return listed;
}

class TRowSourceLinesTest : public ::testing::Test
{
protected:
    bool Fails(std::vector<std::string> lines)
    {
        try {
            Engine.Run(std::move(lines));
        } catch (const EZorvitError&) {
            return true;
        }
        return false;
    }

    TGCodeEngine Engine;
};

TEST_F(TRowSourceLinesTest, EachRowNamesTheLineThatCommittedIt)
{
    // The comment begins a row that stays untouched; the next line fills it, so it is that
    // line's row. A line feed inside a line commits a row of that line.
    EXPECT_FALSE(Fails({"%", "(comment)", "G0 X1", "", "X2 Y3", "G1", "X4\nX5"}));
    EXPECT_EQ(Listed(*Engine.RowSourceLines()), (TLines{2, 4, 5, 6, 6}));
    EXPECT_EQ(Engine.RowSourceLines()->Size(), Engine.Table()->RowCount());
    EXPECT_EQ(Engine.FailedLine(), std::nullopt);
}

TEST_F(TRowSourceLinesTest, FailureNamesItsLineAndThePendingRowGetsItsEntry)
{
    EXPECT_TRUE(Fails({"X1", "(c)", "Y2", "Y1 S40000", "X4"}));
    EXPECT_EQ(Engine.FailedLine(), 3u);
    Engine.Table()->MoveFirst();  // commits the failing line's Y1, as the plot's rebuild does
    EXPECT_EQ(Engine.Table()->RowCount(), 3u);
    EXPECT_EQ(Listed(*Engine.RowSourceLines()), (TLines{0, 2, 3}));

    // Nothing stored on the failing line: no entry for it. A conversion error, whose message
    // names no line, has its line all the same.
    EXPECT_TRUE(Fails({"X1", "F99999999999999999999"}));
    EXPECT_EQ(Engine.FailedLine(), 1u);
    EXPECT_EQ(Listed(*Engine.RowSourceLines()), (TLines{0}));

    EXPECT_FALSE(Fails({"X1"}));
    EXPECT_EQ(Engine.FailedLine(), std::nullopt);
    EXPECT_EQ(Listed(*Engine.RowSourceLines()), (TLines{0}));
}

TEST_F(TRowSourceLinesTest, LinesOutliveTheEngineLikeTheTable)
{
    std::shared_ptr<const TSourceLines> lines;
    {
        TGCodeEngine engine;
        engine.Run({"X1", "Y1"});
        lines = engine.RowSourceLines();
    }
    EXPECT_EQ(Listed(*lines), (TLines{0, 1}));
}

}  // namespace
