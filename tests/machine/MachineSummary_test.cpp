#include "machine/MachineSummary.h"

#include <gtest/gtest.h>

#include <numbers>
#include <string>
#include <vector>

#include "gcode/LineList.h"
#include "machine/MachineReader.h"
#include "program/SummaryText.h"

namespace {

TProgramSummary Summarize(const std::vector<std::string>& program)
{
    const TLineList lines(program);
    TMachineReader reader;
    reader.Run(lines);
    return SummarizeMachine(reader.TakeResult());
}

TEST(TMachineSummaryTest, ArcsCountTheirTrueLengthAndFeedModesTheirTimes)
{
    const TProgramSummary summary = Summarize({
        "G0 X10",                  // 10 at the rapid rate
        "G2 I-10 F100",            // a full turn of radius 10 at 100 per minute
        "G93 G3 X-10 R10 F2",      // half a turn in half a minute
        "G95 S200 G1 X-20 F0.05",  // 10 at 0.05 per revolution, 200 per minute: 10 per minute
        "G94 G4 P30",              // half a minute
        "G41 G1 X0 F100",
    });
    const double turn = 2 * std::numbers::pi * 10;
    EXPECT_TRUE(summary.Machine);
    EXPECT_EQ(summary.Motion[0].Segments, 1u);
    EXPECT_NEAR(summary.Motion[2].Length, turn, 1e-9);
    EXPECT_NEAR(summary.Motion[3].Length, turn / 2, 1e-9);
    EXPECT_NEAR(summary.Motion[1].Length, 30, 1e-9);
    EXPECT_NEAR(summary.EstimatedMinutes(),
                10 / summary.RapidRate + turn / 100 + 0.5 + 1 + 0.5 + 0.2, 1e-6);
    EXPECT_EQ(summary.NotShown, (std::vector<std::string>{"cutter compensation, line 6"}));
    EXPECT_FLOAT_EQ(summary.Minimum.y, -10);
    EXPECT_FLOAT_EQ(summary.Maximum.y, 10);
}

TEST(TMachineSummaryTest, TextUsesTheProgramsUnitsAndNamesTheReading)
{
    const std::string text =
        FormatSummary(Summarize({"G20 G90", "G0 X1", "G1 Y2 F10", "T3 M6", "G4 P6"}));
    EXPECT_NE(text.find("reading: machine\n"), std::string::npos);
    EXPECT_NE(text.find("length G0: 1.0000\n"), std::string::npos);
    EXPECT_NE(text.find("length G1: 2.0000\n"), std::string::npos);
    EXPECT_NE(text.find("max Y: 2\n"), std::string::npos);
    EXPECT_NE(text.find("units: G20\n"), std::string::npos);
    EXPECT_NE(text.find("tools: T3\n"), std::string::npos);
    // 1 inch at 5000 inches a minute, 2 inches at 10 a minute, a dwell of 0.1 minute.
    EXPECT_NE(text.find("estimated minutes: 0.3002\n"), std::string::npos);
}

}  // namespace
