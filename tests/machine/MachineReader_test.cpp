#include "machine/MachineReader.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <vector>

#include "gcode/LineList.h"
#include "tests/machine/ReadProgram.h"

namespace {

struct TErrorCase
{
    std::vector<std::string> Program;
    std::size_t FailedLine;  // 0-based
    std::size_t MotionsBefore;
    const char* Message;
};

class TMachineErrorTest : public testing::TestWithParam<TErrorCase>
{};

TEST_P(TMachineErrorTest, StopsAtTheLineWithAMessageNamingTheProblem)
{
    const TErrorCase& c = GetParam();
    const TReadResult result = Read(c.Program);
    EXPECT_EQ(result.Error, c.Message);
    EXPECT_EQ(result.Reading.Error, c.Message);
    EXPECT_EQ(result.Reading.FailedLine, c.FailedLine);
    EXPECT_EQ(result.Reading.Motions.Motions.size(), c.MotionsBefore);
}

INSTANTIATE_TEST_SUITE_P(
    Programs, TMachineErrorTest,
    testing::Values(
        TErrorCase{
            {"G0 X10", "G2 X20 I5.1 F100"},
            1,
            1,
            "Radius to end of arc differs from radius to start: r1=5.100000 r2=4.900000 on line 2"},
        TErrorCase{
            {"G0 X10", "G1 X12 F10", "G2 X12 R5"},
            2,
            2,
            "Current point same as end point of arc: an R arc cannot be a full circle on line 3"},
        TErrorCase{{"G2 X20 F100"}, 0, 0, "R, I, J, or K words all missing for arc on line 1"},
        TErrorCase{
            {"G0 X1", "G2 X3 R0.5 F10"}, 1, 1, "Arc radius too small to reach end point on line 2"},
        TErrorCase{{"G2 X20 I10 K1 F100"}, 0, 0, "K word given for arc in XY plane on line 1"},
        TErrorCase{{"G18 G3 X20 J1 F100"}, 0, 0, "J word given for arc in XZ plane on line 1"},
        TErrorCase{{"G0 X1", "G0 G1 X2"},
                   1,
                   1,
                   "Two G codes used from the same modal group: G0 and G1 on line 2"},
        TErrorCase{
            {"M3 M5"}, 0, 0, "Two M codes used from the same modal group: M3 and M5 on line 1"},
        TErrorCase{{"G0 X1 X2"}, 0, 0, "Multiple X words on one line on line 1"},
        TErrorCase{{"G80 X1"}, 0, 0, "Cannot use axis values with G80 on line 1"},
        TErrorCase{
            {"G0 Z5", "G81 X1 Z-1 F100"}, 1, 1, "R clearance plane unspecified in cycle on line 2"},
        TErrorCase{{"G0 Z5", "G83 X1 Z-1 R1 F100"},
                   1,
                   1,
                   "Q word missing or not positive with G83 on line 2"},
        TErrorCase{{"G0 X1", "G1 G92 X0 F10"},
                   1,
                   1,
                   "Cannot use two G codes that both use axis values: G1 and G92 on line 2"},
        TErrorCase{{"G4"}, 0, 0, "Dwell time missing with G4 on line 1"},
        TErrorCase{{"G3 I1 P1.5 F10"},
                   0,
                   0,
                   "P value must be a positive whole number of turns with G2 or G3 on line 1"},
        TErrorCase{
            {"G0 X1", "G1 X#<depth>"}, 1, 1, "Named parameter #<depth> not defined on line 2"},
        TErrorCase{{"O100 sub", "G0 X1"}, 0, 0, "o100 sub without its endsub on line 1"},
        // numbers far past any code or parameter number are refused, not converted
        TErrorCase{
            {"#[100000000000*100000000000]=1"}, 0, 0, "Non integer value for integer on line 1"},
        TErrorCase{{"#1.5=1"}, 0, 0, "Non integer value for integer on line 1"},
        // the machine's tool and position are its own to set
        TErrorCase{{"G0 X1", "#5420=7"}, 1, 1, "Parameter is readonly on line 2"},
        TErrorCase{{"#[5400+13]=1"}, 0, 0, "Parameter is readonly on line 1"},
        TErrorCase{{"G[100000000000*100000000000]"}, 0, 0, "G code out of range on line 1"}));

// Control flow: errors of structure and limits stop at their line with the motions before.
INSTANTIATE_TEST_SUITE_P(
    ControlFlow, TMachineErrorTest,
    testing::Values(
        TErrorCase{{"G0 X1", "(ABORT, depth #1 too deep)", "G0 X2"},
                   1,
                   1,
                   " depth 0.000000 too deep on line 2"},
        TErrorCase{{"(abort,)"}, 0, 0, "Program aborted on line 1"},
        TErrorCase{{"o<deep> sub", "G0 X1", "o<deep> call", "o<deep> endsub", "o<deep> call"},
                   2,
                   100,
                   "Subroutine calls nested more than 100 deep on line 3"},
        TErrorCase{{"G0 X1", "o<nosuch> call"},
                   1,
                   1,
                   "Unknown subroutine o<nosuch>: no o<nosuch> sub in the program and no "
                   "nosuch.ngc beside it on line 2"},
        TErrorCase{{"o1 sub", "G0 X1"}, 0, 0, "o1 sub without its endsub on line 1"},
        TErrorCase{{"o1 while [0]", "G0 X1"}, 0, 0, "o1 while without its endwhile on line 1"},
        TErrorCase{{"o2 if [0]", "G0 X1"}, 0, 0, "o2 if without its endif on line 1"},
        TErrorCase{
            {"G0 X1", "o1 endwhile"}, 1, 1, "undefined O-word label: 'o1 endwhile' on line 2"},
        TErrorCase{{"o1 return"}, 0, 0, "not in a subroutine definition: 'o1 return' on line 1"},
        TErrorCase{{"M98 P200"}, 0, 0, "Unknown numbered program O200 for M98 on line 1"},
        TErrorCase{{"M98"}, 0, 0, "P word missing with M98 on line 1"},
        TErrorCase{{"o1 sub", "M99", "o1 endsub", "o1 call"},
                   1,
                   0,
                   "M99 ends a numbered program, not an O-word sub on line 2"}));

TEST(TMachineReaderTest, NoticesNameWhatIsNotModelledOnceWithItsLines)
{
    const TReadResult result =
        Read({"G0 X0 Y0", "G41 D1 G1 X10 F100", "G1 Y10", "G42 X0", "G40 G1 X5 E0.4", "M104 S200",
              "G29", "G38.2 Z-5", "G1 A90", "G5.2 X1 Y1 P1", "G5.3"});
    EXPECT_EQ(result.Error, "");
    EXPECT_EQ(result.Reading.Notices.Texts(),
              (std::vector<std::string>{
                  "cutter compensation, lines 2-4", "words of other dialects (E), line 5",
                  "codes LinuxCNC does not know (M104, G29), lines 6-7", "probing, line 8",
                  "rotary and UVW axes (A), line 9", "splines, lines 10-11"}));
    // The plot shows the programmed path of each.
    EXPECT_EQ(result.Reading.Motions.Motions.size(), 8u);
}

TEST(TMachineReaderTest, ProgramEndsAtM2OrAtTheSecondPercentLine)
{
    EXPECT_EQ(Read({"G0 X1", "M2", "G0 X2"}).Reading.Motions.Motions.size(), 1u);
    EXPECT_EQ(Read({"%", "G0 X1", "%", "G0 X2"}).Reading.Motions.Motions.size(), 1u);
    // A "%" that did not open the program ends nothing.
    EXPECT_EQ(Read({"G0 X1", "%", "G0 X2"}).Reading.Motions.Motions.size(), 2u);
}

TEST(TMachineReaderTest, UnitsAreTheFirstNamedElseTheDefault)
{
    EXPECT_EQ(Read({"G0 X1"}, TLengthUnits::Inches).Reading.Facts.Units, TLengthUnits::Inches);
    EXPECT_EQ(Read({"G0 X1", "G21", "G20"}, TLengthUnits::Inches).Reading.Facts.Units,
              TLengthUnits::Millimetres);
    // The default units are those of a program that names none: its words are read in them.
    EXPECT_DOUBLE_EQ(Read({"G0 X1"}, TLengthUnits::Inches).Reading.Motions.Motions[0].End[0], 25.4);
}

TEST(TMachineReaderTest, AssignmentsReadEveryValueBeforeSettingAny)
{
    const TReadResult result = Read({"#1=2 #2=3", "G0 X1"});
    EXPECT_EQ(result.Error, "");
    EXPECT_EQ(result.Reading.Motions.Motions.size(), 1u);
}

TEST(TMachineReaderTest, ProgressIsToldAndCancelStopsTheReading)
{
    const std::vector<std::string> program(TMachineReader::kProgressLines * 2 + 10, "G1 X1 F100");
    const TLineList lines(program);
    TMachineReader reader;
    std::vector<std::size_t> done;
    std::atomic<bool> cancel{false};
    reader.OnProgress = [&](std::size_t lineDone, std::size_t total) {
        EXPECT_EQ(total, program.size());
        done.push_back(lineDone);
        if (done.size() == 2)
            cancel = true;
    };
    reader.Cancel = &cancel;
    EXPECT_THROW(reader.Run(lines), EMachineCancelled);
    EXPECT_EQ(done, (std::vector<std::size_t>{0, TMachineReader::kProgressLines}));
    const TMachineReading reading = reader.TakeResult();
    EXPECT_EQ(reading.FailedLine, 2 * TMachineReader::kProgressLines);
    EXPECT_EQ(reading.Motions.Motions.size(), 2 * TMachineReader::kProgressLines);
}

TEST(TMachineReaderTest, MotionLimitStopsARepeatTooLargeForTheMemory)
{
    const TLineList lines(std::vector<std::string>{"G0 Z5", "G81 X1 R1 Z-1 F100 L1000000000"});
    TMachineReader reader;
    reader.MotionLimit = 10;
    EXPECT_THROW(reader.Run(lines), EMachineError);
    const TMachineReading reading = reader.TakeResult();
    EXPECT_EQ(reading.Error, "More than 10 motions on line 2");
    EXPECT_EQ(reading.Motions.Motions.size(), 10u);
}

TEST(TMachineReaderTest, MotionsKeepTheirSourceLinesAndRates)
{
    const TReadResult result = Read({"G21", "G0 X1", "", "G20 G1 X1 F10", "G94 G2 X1 Y0 I-1 P2"});
    const std::vector<TMotion>& motions = result.Reading.Motions.Motions;
    ASSERT_EQ(motions.size(), 3u);
    EXPECT_EQ(motions[0].Line, 1u);
    EXPECT_EQ(motions[0].Rate, 0);
    EXPECT_EQ(motions[1].Line, 3u);
    EXPECT_DOUBLE_EQ(motions[1].Rate, 254);
    EXPECT_EQ(motions[2].Kind, TMotionKind::Arc);
    EXPECT_EQ(result.Reading.Motions.Arcs[0].Turns, 2u);
    EXPECT_TRUE(result.Reading.Motions.Arcs[0].Clockwise);
}

}  // namespace
