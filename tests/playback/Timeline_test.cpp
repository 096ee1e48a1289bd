// The timeline: its times agree with Program Info's estimate in both readings, the tool's
// position follows lines and arcs, and steps go block by block.

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <iterator>
#include <string>

#include "gcode/GCodeEngine.h"
#include "gcode/LineList.h"
#include "machine/MachineReader.h"
#include "machine/MachineSummary.h"
#include "playback/Timeline.h"
#include "program/ProgramSummary.h"

namespace {

std::string ReadFile(const std::string& name)
{
    std::ifstream file(std::string(ZORVIT_TEST_DATA) + "/" + name, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

TMachineReading ReadMachine(const std::string& text)
{
    TMachineReader reader;
    try {
        reader.Run(TLineList(text));
    } catch (const EMachineError&) {}
    return reader.TakeResult();
}

TEST(Timeline, TotalIsProgramInfosEstimateInBothReadings)
{
    for (const char* name : {"machine/corpus/cncjs-helical-thread-milling.gcode",
                             "machine/corpus/cncjs-t2laser.nc", "machine/corpus/ugs-ruler.gcode",
                             "machine/feed-modes.ngc", "machine/inch.ngc", "summary.ngc"}) {
        const std::string text = ReadFile(name);
        const TMachineReading reading = ReadMachine(text);
        const TProgramSummary machine = SummarizeMachine(reading);
        const double millimetresPerUnit = 1 / FromMillimetres(reading.Facts.Units);
        const TTimeline machineTimeline(reading.Motions, machine.RapidRate * millimetresPerUnit);
        const double machineSeconds = machine.EstimatedMinutes() * 60;
        EXPECT_NEAR(machineTimeline.TotalSeconds(), machineSeconds, 1e-9 * machineSeconds + 1e-9)
            << name;

        TGCodeEngine engine;
        engine.SetLenient(true);
        engine.Run(TLineList(text));
        const TProgramSummary transcription = SummarizeRun(engine);
        const TMotionList segments = TranscriptionMotions(engine);
        const TTimeline timeline(segments, transcription.RapidRate);
        const double seconds = transcription.EstimatedMinutes() * 60;
        EXPECT_NEAR(timeline.TotalSeconds(), seconds, 1e-6 * seconds + 1e-9) << name;
        std::size_t drawn = 0;
        for (const TMotionFigures& figures : transcription.Motion)
            drawn += figures.Segments;
        EXPECT_EQ(timeline.MoveCount(), drawn) << name;
    }
}

// A rapid of 10 mm at 5000 mm/min, a feed of 10 mm at 600 and a quarter turn of radius 10,
// then a drilling cycle of several moves on one line (lines are counted from 0).
const char* const kProgram = "G21 G17 G90\n"
                             "G0 X10\n"
                             "G1 Y10 F600\n"
                             "G2 X20 Y0 I0 J-10\n"
                             "G81 X30 Y0 Z-1 R1\n"
                             "G80\n";
constexpr double kRapid = 0.12;
constexpr double kFeed = 1.0;
const double kArc = 10 * M_PI / 2 / 600 * 60;

class TTimelineProgram : public testing::Test
{
protected:
    TMachineReading FReading = ReadMachine(kProgram);
    TTimeline FTimeline{FReading.Motions, 5000};
};

TEST_F(TTimelineProgram, PositionAtATimeFollowsLinesAndArcs)
{
    const struct
    {
        double Seconds;
        TVector3 Position;
        std::uint32_t Line;
    } kCases[] = {
        {-1, {0, 0, 0}, 1},
        {kRapid / 2, {5, 0, 0}, 1},
        {kRapid + kFeed / 4, {10, 2.5, 0}, 2},
        {kRapid + kFeed + kArc / 2, {10 + 10 * M_SQRT1_2, 10 * M_SQRT1_2, 0}, 3},
        {kRapid + kFeed + kArc, {20, 0, 0}, 3},
        {1e9, {30, 0, 1}, 4},
    };
    for (const auto& c : kCases) {
        const TVector3 point = FTimeline.PositionAt(c.Seconds);
        for (int axis = 0; axis < 3; ++axis)
            EXPECT_NEAR(point[axis], c.Position[axis], 1e-9) << c.Seconds;
        EXPECT_EQ(FTimeline.LineAt(c.Seconds), c.Line) << c.Seconds;
    }
}

TEST_F(TTimelineProgram, StepsGoOneBlockAtATime)
{
    const double afterArc = kRapid + kFeed + kArc;
    const double end = FTimeline.TotalSeconds();
    ASSERT_GT(FTimeline.MoveCount(), 5u);  // the cycle's moves all belong to line 5
    const struct
    {
        double From;
        double Next;
        double Previous;
    } kCases[] = {
        {0, kRapid, 0},
        {kRapid / 2, kRapid, 0},
        {kRapid, kRapid + kFeed, 0},
        {kRapid + 0.5, kRapid + kFeed, kRapid},
        {afterArc, end, kRapid + kFeed},
        {end, end, afterArc},
    };
    for (const auto& c : kCases) {
        EXPECT_NEAR(FTimeline.NextBlock(c.From), c.Next, 1e-12) << c.From;
        EXPECT_NEAR(FTimeline.PreviousBlock(c.From), c.Previous, 1e-12) << c.From;
    }
    EXPECT_NEAR(FTimeline.EndOfLine(2), kRapid + kFeed, 1e-12);
    EXPECT_EQ(FTimeline.EndOfLine(4), end);
    EXPECT_EQ(FTimeline.EndOfLine(0), -1);
}

// Feeds of 1 s with dwells: one on a line of its own, one before the move of its block, a
// drilling cycle's at the hole's bottom and one after the last move.
TEST(Timeline, TheToolWaitsAtEachDwell)
{
    const TMachineReading reading = ReadMachine("G21 G90 G17 F600\n"
                                                "G1 X10\n"
                                                "G4 P2\n"
                                                "G4 P0.5 G1 X20\n"
                                                "G82 X20 Y0 Z-10 R0 P3\n"
                                                "G80\n"
                                                "G4 P0\n"
                                                "G4 P1.5\n");
    const TTimeline timeline(reading.Motions, 6000);
    // 1 + 2 + 0.5 + 1, the cycle: its feed down 1 s, its dwell 3 s, its rapid up 0.1 s; 1.5.
    constexpr double kCycleStart = 4.5;
    constexpr double kTotal = kCycleStart + 1 + 3 + 0.1 + 1.5;
    EXPECT_NEAR(timeline.TotalSeconds(), kTotal, 1e-9);
    const struct
    {
        double Seconds;
        TVector3 Position;
        std::uint32_t Line;
    } kCases[] = {
        {0.5, {5, 0, 0}, 1},
        {2, {10, 0, 0}, 2},
        {3, {10, 0, 0}, 2},
        {3.25, {10, 0, 0}, 3},
        {4, {15, 0, 0}, 3},
        {kCycleStart + 0.5, {20, 0, -5}, 4},
        {kCycleStart + 2.5, {20, 0, -10}, 4},
        {kTotal - 1, {20, 0, 0}, 7},
        {kTotal, {20, 0, 0}, 7},
    };
    for (const auto& c : kCases) {
        const TVector3 point = timeline.PositionAt(c.Seconds);
        for (int axis = 0; axis < 3; ++axis)
            EXPECT_NEAR(point[axis], c.Position[axis], 1e-9) << c.Seconds;
        EXPECT_EQ(timeline.LineAt(c.Seconds), c.Line) << c.Seconds;
    }
    const struct
    {
        double From;
        double Next;
        double Previous;
    } kSteps[] = {
        {1, 3, 0},
        {2, 3, 1},
        {3, 4.5, 1},
        {kCycleStart, kCycleStart + 4.1, 3},
        {kCycleStart + 4.05, kCycleStart + 4.1, kCycleStart},
        {kTotal - 1, kTotal, kCycleStart + 4.1},
    };
    for (const auto& c : kSteps) {
        EXPECT_NEAR(timeline.NextBlock(c.From), c.Next, 1e-9) << c.From;
        EXPECT_NEAR(timeline.PreviousBlock(c.From), c.Previous, 1e-9) << c.From;
    }
    EXPECT_NEAR(timeline.EndOfLine(2), 3, 1e-9);
    EXPECT_NEAR(timeline.EndOfLine(7), kTotal, 1e-9);
    EXPECT_EQ(timeline.EndOfLine(6), -1) << "a dwell of no time is not on the timeline";
}

// What the plot draws as passed: the moves before the tool's, and the share of its own.
TEST(Timeline, TheMoveAtATimeIsTheNextOneWhileTheToolDwells)
{
    const TMachineReading reading = ReadMachine("G21 G90 F600\nG1 X10\nG4 P2\nG1 X20\nG4 P1\n");
    const TTimeline timeline(reading.Motions, 6000);
    const struct
    {
        double Seconds;
        std::size_t Move;
        double Fraction;
    } kCases[] = {{0, 0, 0},     {0.5, 0, 0.5}, {1, 0, 1},   {2, 1, 0},
                  {3.5, 1, 0.5}, {4, 1, 1},     {4.5, 1, 1}, {9, 1, 1}};
    for (const auto& c : kCases) {
        const auto at = timeline.MoveAt(c.Seconds);
        ASSERT_TRUE(at.has_value()) << c.Seconds;
        EXPECT_EQ(at->Move, c.Move) << c.Seconds;
        EXPECT_NEAR(at->Fraction, c.Fraction, 1e-9) << c.Seconds;
    }
    const TMotionList none;
    EXPECT_FALSE(TTimeline(none, 5000).MoveAt(0).has_value());
}

TEST(Timeline, AnEmptyProgramHasNoTime)
{
    const TMotionList none;
    const TTimeline timeline(none, 5000);
    EXPECT_EQ(timeline.TotalSeconds(), 0);
    EXPECT_EQ(timeline.LineAt(1), std::nullopt);
    EXPECT_EQ(timeline.PositionAt(1), (TVector3{0, 0, 0}));
    EXPECT_EQ(timeline.NextBlock(0), 0);
}

}  // namespace
