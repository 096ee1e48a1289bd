#include "machine/Block.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "machine/MachineError.h"
#include "machine/Parameters.h"

namespace {

struct TBlockCase
{
    const char* Line;
    TBlockKind Kind;
    const char* Text;   // normalised
    const char* Words;  // letters of the words read, in order
    std::vector<std::string> Comments;
    bool BlockDelete = false;
};

class TBlockTest : public testing::TestWithParam<TBlockCase>
{};

TEST_P(TBlockTest, NormalisesAndSplitsTheLine)
{
    const TBlockCase& c = GetParam();
    TBlock block;
    ReadBlock(c.Line, block);
    EXPECT_EQ(block.Kind, c.Kind);
    EXPECT_EQ(block.Text, c.Text);
    std::string letters;
    for (const TBlockWord& word : block.Words)
        letters += word.Letter;
    EXPECT_EQ(letters, c.Words);
    EXPECT_EQ(std::vector<std::string>(block.Comments.begin(), block.Comments.end()), c.Comments);
    EXPECT_EQ(block.BlockDelete, c.BlockDelete);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, TBlockTest,
    testing::Values(
        TBlockCase{"", TBlockKind::Empty, "", "", {}},
        TBlockCase{"  (only a comment)  ", TBlockKind::Empty, "", "", {"only a comment"}},
        TBlockCase{"G1 X1. Y.5 Z-.25 F+100", TBlockKind::Words, "g1x1.y.5z-.25f+100", "gxyzf", {}},
        TBlockCase{"x 1 0 . 5\tY-2", TBlockKind::Words, "x10.5y-2", "xy", {}},
        TBlockCase{"N10 G0 (MSG, Hello There) X1 ; rest of Line",
                   TBlockKind::Words,
                   "n10g0x1",
                   "gx",
                   {"MSG, Hello There", " rest of Line"}},
        TBlockCase{"/N20 M3 S1000", TBlockKind::Words, "/n20m3s1000", "ms", {}, true},
        TBlockCase{" % ", TBlockKind::ProgramDelimiter, "%", "", {}},
        TBlockCase{"G0 @5 ^90", TBlockKind::Words, "g0@5^90", "g@^", {}},
        TBlockCase{"N5 O100 SUB", TBlockKind::OWord, "n5o100sub", "", {}},
        TBlockCase{
            "#1=2 #<Depth> = -3 G1 X1", TBlockKind::Words, "#1=2#<depth>=-3g1x1", "gx", {}}));

TEST(TBlockReadTest, KeepsAssignmentsWithTheirTargetsAndValues)
{
    TBlock block;
    ReadBlock("#12 = 3.5 #<_Feed>=600", block);
    ASSERT_EQ(block.Assignments.size(), 2u);
    const TParameters parameters;
    EXPECT_TRUE(block.Assignments[0].Name.empty());
    EXPECT_EQ(block.Assignments[0].Index.Evaluate(parameters), 12);
    EXPECT_EQ(block.Assignments[0].Value.Evaluate(parameters), 3.5);
    EXPECT_EQ(block.Assignments[1].Name, "_feed");
    EXPECT_EQ(block.Assignments[1].Value.Evaluate(parameters), 600);
}

TEST(TBlockReadTest, ReusedBlockKeepsNothingOfTheLineBefore)
{
    TBlock block;
    ReadBlock("/G1 X1 (one) #1=2", block);
    ReadBlock("G0 Y2", block);
    EXPECT_EQ(block.Text, "g0y2");
    EXPECT_EQ(block.Words.size(), 2u);
    EXPECT_TRUE(block.Comments.empty());
    EXPECT_TRUE(block.Assignments.empty());
    EXPECT_FALSE(block.BlockDelete);
}

struct TBadLineCase
{
    const char* Line;
    const char* Message;
};

class TBadBlockTest : public testing::TestWithParam<TBadLineCase>
{};

TEST_P(TBadBlockTest, ErrorNamesTheProblem)
{
    TBlock block;
    try {
        ReadBlock(GetParam().Line, block);
        FAIL() << "no error for " << GetParam().Line;
    } catch (const EMachineError& error) {
        EXPECT_EQ(std::string(error.what()), GetParam().Message);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Lines, TBadBlockTest,
    testing::Values(TBadLineCase{"G1 (open X1", "Unclosed comment found"},
                    TBadLineCase{"G1 (a (b) c) X1", "Nested comment found"},
                    TBadLineCase{"G1 X1 *2", "Bad character '*' used"},
                    TBadLineCase{"G1 X", "Value missing after the letter 'x'"},
                    TBadLineCase{"G1 N10 X1", "N word found other than at the start of the line"},
                    TBadLineCase{"#1 2", "Equal sign missing in parameter setting"}));

}  // namespace
