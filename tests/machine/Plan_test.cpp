#include "machine/Plan.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <string>
#include <vector>

#include "gcode/LineList.h"
#include "machine/MachineReader.h"

namespace {

TMachineReading Read(const std::vector<std::string>& program)
{
    const TLineList lines(program);
    TMachineReader reader;
    reader.Run(lines);
    return reader.TakeResult();
}

double Distance(const TPoint3f& a, double x, double y)
{
    return std::hypot(a.x - x, a.y - y);
}

struct TCircleCase
{
    double Radius;
    double ExpectedChordError;  // max(0.001 mm, 1e-5 of the extent)
};

class TPlanCircleTest : public testing::TestWithParam<TCircleCase>
{};

TEST_P(TPlanCircleTest, FullCircleStaysWithinTheChordErrorWithEightSegmentsPerTurnAtLeast)
{
    const double radius = GetParam().Radius;
    const std::string r = std::to_string(radius);
    // Many straight moves first, so the arc's segments stay under the average limit.
    std::vector<std::string> program(100, "G1 X0 Y0 F100");
    program.push_back("G1 X" + r);
    program.push_back("G3 I-" + r);
    const TPathPlan plan = TPathPlanner::Plan(Read(program).Motions, TLengthUnits::Millimetres);
    EXPECT_FALSE(plan.ChordErrorRaised);
    EXPECT_NEAR(plan.ChordError, GetParam().ExpectedChordError, 1e-12);
    std::size_t arcPoints = 0;
    for (std::size_t i = 1; i < plan.Points.size(); ++i) {
        const TPlanPoint& point = plan.Points[i];
        if (point.Mode != 3)
            continue;
        ++arcPoints;
        EXPECT_EQ(point.Line, 101u);
        EXPECT_NEAR(Distance(point.Point, 0, 0), radius, radius * 1e-6);
        // The middle of each chord is no further from the arc than the chord error.
        const TPoint3f& before = plan.Points[i - 1].Point;
        const double middle =
            std::hypot((before.x + point.Point.x) / 2, (before.y + point.Point.y) / 2);
        EXPECT_LE(radius - middle, plan.ChordError * 1.001 + radius * 1e-6);
    }
    EXPECT_GE(arcPoints, static_cast<std::size_t>(TPathPlanner::kMinimumSegmentsPerTurn));
    EXPECT_EQ(plan.Points.back().Point.x, static_cast<float>(radius));
}

INSTANTIATE_TEST_SUITE_P(Radii, TPlanCircleTest,
                         testing::Values(TCircleCase{0.0005, 0.001}, TCircleCase{5, 0.001},
                                         TCircleCase{400, 1e-5 * 800 * std::numbers::sqrt2}));

TEST(TPathPlannerTest, RaisesTheChordErrorOnlyWhenArcsWouldPassTheSegmentLimit)
{
    // One circle keeps the fine chord: a short program is never made coarse.
    const TPathPlan one =
        TPathPlanner::Plan(Read({"G0 X100", "G3 I-100 F100"}).Motions, TLengthUnits::Millimetres);
    EXPECT_FALSE(one.ChordErrorRaised);
    EXPECT_NEAR(one.ChordError, 1e-5 * 200 * std::numbers::sqrt2, 1e-9);  // of the diagonal

    // A thousand circles of about 500 chords each pass the limit: the chord error is raised.
    std::vector<std::string> program(1000, "G3 I-100 F100");
    program.insert(program.begin(), "G0 X100");
    const TMachineReading reading = Read(program);
    const TPathPlan plan = TPathPlanner::Plan(reading.Motions, TLengthUnits::Millimetres);
    EXPECT_TRUE(plan.ChordErrorRaised);
    EXPECT_GT(plan.ChordError, 0.002);
    EXPECT_LE(static_cast<double>(plan.Points.size() - 1),
              TPathPlanner::SegmentLimit(reading.Motions.Motions.size()));
    EXPECT_GE(plan.Points.size() - 2,
              1000 * static_cast<std::size_t>(TPathPlanner::kMinimumSegmentsPerTurn));
}

TEST(TPathPlannerTest, ArcsOfVeryManyTurnsStayWithinTheSegmentBudget)
{
    std::vector<std::string> program(1000, "G3 X10 Y0 I-5 P100000 F100");
    program.insert(program.begin(), "G0 X10");
    const TMachineReading reading = Read(program);
    const TPathPlan plan = TPathPlanner::Plan(reading.Motions, TLengthUnits::Millimetres);
    const double motions = static_cast<double>(reading.Motions.Motions.size());
    EXPECT_LE(static_cast<double>(plan.Points.size()),
              TPathPlanner::SegmentLimit(static_cast<std::size_t>(motions)) *
                      TPathPlanner::kMaximumSegmentsPerMotion +
                  1);
    EXPECT_EQ(plan.Points.back().Point.x, 10);
}

TEST(TPathPlannerTest, DrawsInTheProgramsUnitsWithTheMotionColours)
{
    const TMachineReading reading =
        Read({"G20 G0 X1 Y1", "G1 X2 F10", "G2 X3 Y1 R0.5", "G3 X2 Y1 R0.5", "G81 X5 R0.1 Z-0.1"});
    ASSERT_EQ(reading.Facts.Units, TLengthUnits::Inches);
    const TPathPlan plan = TPathPlanner::Plan(reading.Motions, reading.Facts.Units);
    EXPECT_EQ(plan.Points[1].Point.x, 1);
    EXPECT_EQ(plan.Points[1].Mode, 0);
    EXPECT_EQ(plan.Points[2].Point.x, 2);
    EXPECT_EQ(plan.Points[2].Mode, 1);
    std::vector<int> modes;
    for (std::size_t i = 1; i < plan.Points.size(); ++i) {
        if (modes.empty() || modes.back() != plan.Points[i].Mode)
            modes.push_back(plan.Points[i].Mode);
    }
    // The drill cycle's moves take the rapid and feed colours.
    EXPECT_EQ(modes, (std::vector<int>{0, 1, 2, 3, 0, 1, 0}));
    EXPECT_FLOAT_EQ(plan.Points.back().Point.x, 5);
    EXPECT_FLOAT_EQ(plan.Points.back().Point.z, 0.1f);
}

TEST(TPathPlannerTest, EachMotionEndsItsRunOfSegmentsAtItsOwnEnd)
{
    const TMachineReading reading = Read(
        {"G0 X1 Y1", "G1 X2 F10", "G2 X3 Y1 R0.5", "G2 X3 Y1 I1 P3", "G81 X5 R0.1 Z-0.1", "G1 X5"});
    const TPathPlan plan = TPathPlanner::Plan(reading.Motions, reading.Facts.Units);
    const std::vector<TMotion>& motions = reading.Motions.Motions;
    ASSERT_EQ(plan.MotionEnds.size(), motions.size());
    EXPECT_EQ(plan.MotionEnds.back(), plan.Points.size() - 1);
    std::uint32_t first = 0;
    for (std::size_t i = 0; i < motions.size(); ++i) {
        const std::uint32_t end = plan.MotionEnds[i];
        // Straight moves make one segment, arcs more, and every point of the run is the motion's.
        EXPECT_EQ(end - first == 1, motions[i].Arc < 0) << i;
        for (std::uint32_t point = first + 1; point <= end; ++point)
            EXPECT_EQ(plan.Points[point].Line, motions[i].Line) << i;
        const TPoint3f last = PlotPoint(motions[i].End, 1);
        EXPECT_EQ(plan.Points[end].Point.x, last.x) << i;
        EXPECT_EQ(plan.Points[end].Point.y, last.y) << i;
        first = end;
    }
}

}  // namespace
