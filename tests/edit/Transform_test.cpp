// Transforming a program's text: what each coordinate means in its modes, the words that must
// be added or swapped, the refusals, and round trips on the real programs of the corpus.

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "edit/BlockScan.h"
#include "edit/EditRefusal.h"
#include "edit/NumberStyle.h"
#include "edit/Transform.h"
#include "gcode/LineList.h"
#include "machine/MachineReader.h"
#include "tests/edit/CorpusFiles.h"

namespace {

using TLines = std::vector<std::string>;

struct TTransformCase
{
    const char* Name;
    TLines Input;
    TPlaneTransform Transform;
    TLines Expected;
    TLineRange Range = {};
};

class TTransformCaseTest : public ::testing::TestWithParam<TTransformCase>
{};

TEST_P(TTransformCaseTest, RewritesTheCoordinates)
{
    const TTransformCase& c = GetParam();
    EXPECT_EQ(TransformProgram(c.Input, c.Transform, c.Range), c.Expected);
}

const TPlaneTransform kMirrorX = TPlaneTransform::Mirror(true, false);

INSTANTIATE_TEST_SUITE_P(
    Cases, TTransformCaseTest,
    ::testing::Values(TTransformCase{"TurningAnIncrementalMoveAddsTheOtherAxis",
                                     {"G91 G1 X2.5", "Y-1.25"},
                                     TPlaneTransform::Rotation(90, 0, 0),
                                     {"G91 G1 X0 Y2.5", "X1.25 Y0"}},
                      TTransformCase{"TurningAnAbsoluteMoveTakesTheOtherAxisFromThePosition",
                                     {"G0 X1.000 Y2.000", "G1 X3.000"},
                                     TPlaneTransform::Rotation(90, 0, 0),
                                     {"G0 X-2.000 Y1.000", "G1 X-2.000 Y3.000"}},
                      TTransformCase{"IncrementalCentreOffsetsTurnAsVectors",
                                     {"G0 X1 Y0", "G3 X0 Y1 I-1"},
                                     TPlaneTransform::Rotation(90, 0, 0),
                                     {"G0 X0 Y1", "G3 X-1 Y0 I0 J-1"}},
                      TTransformCase{"MirrorInXSwapsArcsAndCutterSides",
                                     {"g41 g2 x1 y0 i.5 j0", "x2 y0 i.5 j0", "G42.1 D2"},
                                     kMirrorX,
                                     {"g42 g3 x-1 y0 i-.5 j0", "x-2 y0 i-.5 j0", "G41.1 D2"}},
                      TTransformCase{"MirrorInBothKeepsTheTurningSense",
                                     {"G02 X1 Y1 I1 J0"},
                                     TPlaneTransform::Mirror(true, true),
                                     {"G02 X-1 Y-1 I-1 J0"}},
                      TTransformCase{"MirrorInXOfAnArcInTheYzPlaneKeepsItsSense",
                                     {"G19 G2 Y1 Z1 J1 K0 X3"},
                                     kMirrorX,
                                     {"G19 G2 Y1 Z1 J1 K0 X-3"}},
                      TTransformCase{"MirrorInXOfAnArcInTheZxPlaneSwapsIt",
                                     {"G18 G2 X1 Z1 I1 K0"},
                                     kMirrorX,
                                     {"G18 G3 X-1 Z1 I-1 K0"}},
                      TTransformCase{"AbsoluteCentresMoveWithThePath",
                                     {"G90.1 G2 X20 Y10 I15 J10"},
                                     TPlaneTransform::Translation(1, 2, 0),
                                     {"G90.1 G2 X21 Y12 I16 J12"}},
                      TTransformCase{"IncrementalMovesAndCentresDoNotMove",
                                     {"G91 G2 X2 Y0 I1 J0 Z-1"},
                                     TPlaneTransform::Translation(1, 2, 3),
                                     {"G91 G2 X2 Y0 I1 J0 Z-1"}},
                      TTransformCase{"ShiftsAreInTheUnitsOfTheFirstUnitsWord",
                                     {"G21 G0 X0", "G20 G0 X0"},
                                     TPlaneTransform::Translation(25.4, 0, 0),
                                     {"G21 G0 X25.4", "G20 G0 X1"}},
                      TTransformCase{
                          "ScaleLeavesFeedsAndScalesLengths",
                          {"G1 X1.5 Y2 F100", "G2 X3 Y4 R1.25", "G83 X1 Y1 Z-2 R1 Q0.5 F50"},
                          TPlaneTransform::Scaling(2),
                          {"G1 X3 Y4 F100", "G2 X6 Y8 R2.50", "G83 X2 Y2 Z-4 R2 Q1 F50"}},
                      TTransformCase{"NumbersKeepTheirWayOfBeingWritten",
                                     {"G0 X10. Y-.5 Z+2.0000", "G0 X-0.0 Y0"},
                                     TPlaneTransform::Translation(1, 0.25, 1),
                                     {"G0 X11. Y-.25 Z+3.0000", "G0 X1.0 Y0.25"}},
                      TTransformCase{"SetPositionIsAPointAndMachineMovesStay",
                                     {"G92 X0 Y0", "G53 G0 X100 Y50", "G28 X1 Y1"},
                                     TPlaneTransform::Translation(5, 5, 0),
                                     {"G92 X5 Y5", "G53 G0 X100 Y50", "G28 X6 Y6"}},
                      TTransformCase{"ASelectionThatStartsInAMirroredArcModeGetsItsOwnWord",
                                     {"G2 X1 Y0 I.5 J0", "X2 Y0 I.5 J0", "G1 X0"},
                                     kMirrorX,
                                     {"G2 X1 Y0 I.5 J0", "G3 X-2 Y0 I-.5 J0", "G1 X0"},
                                     TLineRange{1, 1}},
                      TTransformCase{"CommentsAndBlankLinesStay",
                                     {"(X1 Y1)", "", "G0 X1 ; X2", "%"},
                                     kMirrorX,
                                     {"(X1 Y1)", "", "G0 X-1 ; X2", "%"}}),
    [](const auto& info) { return std::string(info.param.Name); });

struct TRefusalCase
{
    const char* Name;
    TLines Input;
    TPlaneTransform Transform;
    std::vector<std::size_t> RefusedLines;
    TLineRange Range = {};
};

class TTransformRefusalTest : public ::testing::TestWithParam<TRefusalCase>
{};

TEST_P(TTransformRefusalTest, NamesEveryLineItCannotTransform)
{
    const TRefusalCase& c = GetParam();
    try {
        TransformProgram(c.Input, c.Transform, c.Range);
        FAIL() << "not refused";
    } catch (const EEditRefused& refusal) {
        std::vector<std::size_t> lines;
        for (const TRefusedLine& line : refusal.Lines()) {
            lines.push_back(line.Line);
            EXPECT_FALSE(line.Reason.empty());
        }
        EXPECT_EQ(lines, c.RefusedLines) << refusal.what();
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TTransformRefusalTest,
    ::testing::Values(
        TRefusalCase{"Parameters", {"G0 X#1 Y2", "G1 X[1+2]", "#1=2", "G1 Z#2"}, kMirrorX, {0, 1}},
        TRefusalCase{
            "ExpressionRadiusWhenScaling", {"G2 X1 Y1 R[#1]"}, TPlaneTransform::Scaling(2), {0}},
        TRefusalCase{"PolarCoordinates", {"G0 @1 ^30"}, TPlaneTransform::Translation(1, 0, 0), {0}},
        TRefusalCase{"TurningArcsOutOfTheXyPlane",
                     {"G18 G2 X1 Z1 I1"},
                     TPlaneTransform::Rotation(30, 0, 0),
                     {0}},
        TRefusalCase{"TurningIncrementalCannedCycles",
                     {"G91 G81 X1 Y1 Z-1 R1", "G90 G81 X1 Y1 Z-1 R1"},
                     TPlaneTransform::Rotation(30, 0, 0),
                     {0}},
        TRefusalCase{"TurningAfterAnUnknownPosition",
                     {"G28", "G1 X1", "G1 X1 Y1", "G1 X2"},
                     TPlaneTransform::Rotation(45, 0, 0),
                     {1}},
        TRefusalCase{
            "ShiftingDiameters", {"G7 G0 X10"}, TPlaneTransform::Translation(1, 0, 0), {0}},
        TRefusalCase{"AnArcModeGoingOnAfterTheSelection",
                     {"G2 X1 Y0 I.5 J0", "X2 Y0 I.5 J0", "G0 X0"},
                     kMirrorX,
                     {1},
                     TLineRange{0, 0}},
        TRefusalCase{"AbsoluteCentreWithoutBothWords", {"G90.1 G2 X2 Y0 I1"}, kMirrorX, {0}},
        TRefusalCase{"UnreadableText", {"G1 X1 & Y2"}, kMirrorX, {0}}),
    [](const auto& info) { return std::string(info.param.Name); });

// Every number of the original against the same word of the round trip, within one unit of its
// last decimal; words the round trip adds are the axes that turning needs on a line.
void ExpectSameWithinLastDecimal(const TLines& original, const TLines& back,
                                 const std::string& name)
{
    ASSERT_EQ(original.size(), back.size()) << name;
    for (std::size_t i = 0; i < original.size(); ++i) {
        if (original[i] == back[i])
            continue;
        const TScannedBlock a = ScanBlock(original[i]);
        const TScannedBlock b = ScanBlock(back[i]);
        for (const TBlockItem& word : a.Items) {
            if (word.Kind != TItemKind::Word)
                continue;
            const TBlockItem* const match = b.Find(word.Letter);
            ASSERT_NE(match, nullptr) << name << ":" << i + 1 << ": " << back[i];
            if (!word.Numeric)
                continue;
            const int decimals = StyleOf(ValueText(original[i], word)).Decimals;
            EXPECT_LE(std::fabs(match->Value - word.Value), std::pow(10.0, -decimals) * 1.000001)
                << name << ":" << i + 1 << ": " << original[i] << " came back as " << back[i];
        }
    }
}

// The line with the two things its numbers' text cannot always carry through a round trip
// written one way: the sign of a "-0", and the leading zero of a number below 1 in a file that
// writes such numbers both ways ("Y.5" and "Y0.125").
std::string WithoutAmbiguity(const std::string& line)
{
    std::string result;
    std::size_t pos = 0;
    for (const TBlockItem& word : ScanBlock(line).Items) {
        if (word.Kind != TItemKind::Word || !word.Numeric)
            continue;
        std::string number(ValueText(line, word));
        if (word.Value == 0 && number.front() == '-')
            number.erase(0, 1);
        const std::size_t digits = number.front() == '-' ? 1 : 0;
        if (number.compare(digits, 2, "0.") == 0)
            number.erase(digits, 1);
        result += line.substr(pos, word.ValueBegin - pos) + number;
        pos = word.End;
    }
    return result + line.substr(pos);
}

void ExpectSameText(const TLines& original, const TLines& back, const std::string& name)
{
    ASSERT_EQ(original.size(), back.size()) << name;
    for (std::size_t i = 0; i < original.size(); ++i) {
        if (original[i] != back[i]) {
            EXPECT_EQ(WithoutAmbiguity(back[i]), WithoutAmbiguity(original[i]))
                << name << ":" << i + 1;
        }
    }
}

struct TRoundTrip
{
    const char* Name;
    TPlaneTransform Forward;
    TPlaneTransform Inverse;
    bool Exact;  // the text comes back; else each number within one unit of its last decimal
};

class TTransformCorpusTest : public ::testing::TestWithParam<TRoundTrip>
{};

TEST_P(TTransformCorpusTest, TransformThenItsInverseGivesTheProgramBack)
{
    const TRoundTrip& trip = GetParam();
    const std::vector<TCorpusProgram> corpus = CorpusPrograms();
    if (corpus.empty())
        GTEST_SKIP() << "no corpus at " << ZORVIT_CORPUS_DIR;
    int accepted = 0;
    for (const TCorpusProgram& program : corpus) {
        TLines there;
        try {
            there = TransformProgram(program.Lines, trip.Forward);
        } catch (const EEditRefused&) {
            continue;
        }
        ++accepted;
        const TLines back = TransformProgram(there, trip.Inverse);
        if (trip.Exact)
            ExpectSameText(program.Lines, back, program.Name);
        else
            ExpectSameWithinLastDecimal(program.Lines, back, program.Name);
    }
    // Those without parameters, expressions or polar coordinates, and for turns, with all
    // their arcs in the XY plane.
    EXPECT_GE(accepted, 7);
}

INSTANTIATE_TEST_SUITE_P(
    Corpus, TTransformCorpusTest,
    ::testing::Values(
        // A shift that needs no decimals, so that no number needs more than it had.
        TRoundTrip{"Translation", TPlaneTransform::Translation(12, -3, 1),
                   TPlaneTransform::Translation(-12, 3, -1), true},
        TRoundTrip{"MirrorX", kMirrorX, kMirrorX, true},
        TRoundTrip{"MirrorY", TPlaneTransform::Mirror(false, true),
                   TPlaneTransform::Mirror(false, true), true},
        TRoundTrip{"MirrorXY", TPlaneTransform::Mirror(true, true),
                   TPlaneTransform::Mirror(true, true), true},
        TRoundTrip{"QuarterTurn", TPlaneTransform::Rotation(90, 3, 4),
                   TPlaneTransform::Rotation(-90, 3, 4), false},
        TRoundTrip{"Rotation", TPlaneTransform::Rotation(30, 5, -5),
                   TPlaneTransform::Rotation(-30, 5, -5), false},
        TRoundTrip{"Scale", TPlaneTransform::Scaling(2.5), TPlaneTransform::Scaling(0.4), false}),
    [](const auto& info) { return std::string(info.param.Name); });

}  // namespace

namespace {

TMotionList MachineMotions(const TLines& program)
{
    const TLineList lines(program);
    TMachineReader reader(TLengthUnits::Millimetres);
    reader.Run(lines);
    return reader.TakeResult().Motions;
}

// What a mirror means to the machine: every move of the mirrored program ends at the mirror of
// the original's end, and arcs turn about the mirrored centre the other way.
TEST(TTransformMachineTest, AMirroredProgramMovesTheMachineInTheMirror)
{
    const std::vector<TCorpusProgram> corpus = CorpusPrograms();
    if (corpus.empty())
        GTEST_SKIP() << "no corpus at " << ZORVIT_CORPUS_DIR;
    constexpr double kTolerance = 1e-3;
    const struct
    {
        bool X, Y;
    } mirrors[] = {{true, false}, {false, true}, {true, true}};
    int compared = 0;
    for (const TCorpusProgram& program : corpus) {
        for (const auto& mirror : mirrors) {
            TLines mirrored;
            try {
                mirrored =
                    TransformProgram(program.Lines, TPlaneTransform::Mirror(mirror.X, mirror.Y));
            } catch (const EEditRefused&) {
                continue;
            }
            TMotionList before;
            try {
                before = MachineMotions(program.Lines);
            } catch (const EMachineError&) {
                continue;  // a program the machine path refuses has no motions to compare
            }
            const TMotionList after = MachineMotions(mirrored);
            ASSERT_EQ(before.Motions.size(), after.Motions.size()) << program.Name;
            const TVector3 sign{mirror.X ? -1.0 : 1.0, mirror.Y ? -1.0 : 1.0, 1.0};
            const bool turnsSwap = mirror.X != mirror.Y;
            for (std::size_t i = 0; i < before.Motions.size(); ++i) {
                const TMotion& a = before.Motions[i];
                const TMotion& b = after.Motions[i];
                for (int axis = 0; axis < 3; ++axis)
                    ASSERT_NEAR(b.End[axis], sign[axis] * a.End[axis], kTolerance)
                        << program.Name << " motion " << i << " of line " << a.Line + 1;
                ASSERT_EQ(a.Arc < 0, b.Arc < 0) << program.Name << " line " << a.Line + 1;
                if (a.Arc < 0)
                    continue;
                const TMotionArc& arcA = before.Arcs[a.Arc];
                const TMotionArc& arcB = after.Arcs[b.Arc];
                for (int axis = 0; axis < 3; ++axis)
                    ASSERT_NEAR(arcB.Centre[axis], sign[axis] * arcA.Centre[axis], kTolerance)
                        << program.Name << " arc of line " << a.Line + 1;
                if (arcA.Plane == TArcPlane::XY) {
                    EXPECT_EQ(arcB.Clockwise, arcA.Clockwise != turnsSwap)
                        << program.Name << " arc of line " << a.Line + 1;
                }
            }
            ++compared;
        }
    }
    EXPECT_GE(compared, 9);
}

}  // namespace
