// The program summary's figures where the plot's reading decides them: rows without a
// coordinate, modal feeds, motion modes without a colour, and a program with nothing to plot.

#include "gcode/GCodeEngine.h"
#include "gcode/LineTable.h"
#include "program/ProgramSummary.h"
#include "program/SummaryText.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace {

class TProgramSummaryTest : public ::testing::Test
{
protected:
    TProgramSummary Summarize(std::vector<std::string> lines)
    {
        Engine.Run(std::move(lines));
        return SummarizeRun(Engine);
    }

    TGCodeEngine Engine;
};

TEST_F(TProgramSummaryTest, FollowsThePlotsReadingOfRowsWithoutCoordinates)
{
    // G1 on a line of its own changes no colour in the plot, so X10 is a rapid; F is modal
    // from its own line on and times the G1 move after it.
    const TProgramSummary summary = Summarize({"G1 F100", "X10", "G1 Y10", "G1 F50", "X0 Y0 Z0"});
    EXPECT_EQ(summary.Motion[0].Segments, 1u);
    EXPECT_DOUBLE_EQ(summary.Motion[0].Length, 10);
    EXPECT_EQ(summary.Motion[1].Segments, 2u);
    EXPECT_DOUBLE_EQ(summary.Motion[1].Length, 10 + std::sqrt(200.0));
    EXPECT_DOUBLE_EQ(summary.FeedMinutes, 10.0 / 100 + std::sqrt(200.0) / 50);
    EXPECT_DOUBLE_EQ(summary.EstimatedMinutes(), 10.0 / 5000 + summary.FeedMinutes);
    EXPECT_EQ(summary.FeedMinimum, 50);
    EXPECT_EQ(summary.FeedMaximum, 100);
}

TEST_F(TProgramSummaryTest, FeedMovesBeforeAnyFeedAreUntimed)
{
    const TProgramSummary summary = Summarize({"G1 X3", "Y4 F0", "G2 X0 Y0 F10"});
    EXPECT_DOUBLE_EQ(summary.UntimedLength, 3 + 4);
    EXPECT_DOUBLE_EQ(summary.FeedMinutes, 5.0 / 10);
}

TEST_F(TProgramSummaryTest, OtherMotionModesAreCountedApart)
{
    TLineTable table;
    table.AppendRow();
    table.SetInteger("GMotion", 7);
    table.SetFloat("AxisZ", -2);
    const TProgramSummary summary = SummarizeTable(table);
    EXPECT_EQ(summary.Rows, 1u) << "the pending row is settled and counted";
    EXPECT_EQ(summary.Motion[TProgramSummary::kOtherMotion].Segments, 1u);
    EXPECT_DOUBLE_EQ(summary.Motion[TProgramSummary::kOtherMotion].Length, 2);
    EXPECT_DOUBLE_EQ(summary.UntimedLength, 2);
    EXPECT_EQ(summary.Minimum.z, -2.0f);
    EXPECT_EQ(summary.Maximum.z, 0.0f) << "the path starts at the origin";
}

TEST_F(TProgramSummaryTest, AProgramWithNothingToPlotSaysNone)
{
    const std::string text = FormatSummary(Summarize({"%", "(nothing)", "M30"}));
    EXPECT_NE(text.find("rows: 1\nsegments G0: 0\n"), std::string::npos) << text;
    EXPECT_NE(text.find("min X: none\nmax X: none\n"), std::string::npos) << text;
    EXPECT_NE(text.find("units: none\ndistance modes: none\ntools: none\nfeed min: none\n"),
              std::string::npos)
        << text;
    EXPECT_EQ(text.find("skipped"), std::string::npos) << "strict reading skips nothing";
}

}  // namespace
