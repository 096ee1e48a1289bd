#include "machine/LabelIndex.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "machine/MachineError.h"

namespace {

// Builds the index of a program given as normalised lines; lines without an O-word are passed
// over.
TLabelIndex Index(const std::string& program)
{
    TLabelIndex index;
    std::istringstream lines(program);
    std::string line;
    for (int number = 1; std::getline(lines, line); ++number) {
        if (line.starts_with("o"))
            index.Add(number, ParseOWord(line));
    }
    return index;
}

std::string ErrorOf(const std::string& program)
{
    try {
        Index(program);
    } catch (const EMachineError& error) {
        return error.what();
    }
    return "";
}

TEST(TLabelIndexTest, IfChainKnowsItsBranchesAndEnd)
{
    const TLabelIndex index = Index("o1if[#1]\ng0x1\no1elseif[#2]\no1else\ng0x3\no1endif\n");
    const int block = index.BlockAt(1);
    ASSERT_NE(block, TLabelIndex::kNone);
    EXPECT_EQ(index.Block(block).Kind, TOWordKind::If);
    EXPECT_EQ(index.Block(block).Branches, (std::vector<int>{3, 4}));
    EXPECT_EQ(index.Block(block).End, 6);
    for (int line : {3, 4, 6})
        EXPECT_EQ(index.BlockAt(line), block) << line;
    EXPECT_EQ(index.BlockAt(2), TLabelIndex::kNone);
}

TEST(TLabelIndexTest, LoopsPairTheirEndsAndBreaks)
{
    const TLabelIndex index = Index("o1do\no2while[1]\no2break\no1continue\no2endwhile\n"
                                    "o1while[#1]\no3repeat[2]\no3endrepeat\n");
    const TOBlock& doLoop = index.Block(index.BlockAt(1));
    EXPECT_EQ(doLoop.Kind, TOWordKind::Do);
    EXPECT_EQ(doLoop.End, 6);  // the while that closes a do
    const TOBlock& whileLoop = index.Block(index.BlockAt(2));
    EXPECT_EQ(whileLoop.Kind, TOWordKind::While);
    EXPECT_EQ(whileLoop.End, 5);
    EXPECT_EQ(index.BlockAt(3), index.BlockAt(2));  // break leaves o2
    EXPECT_EQ(index.BlockAt(4), index.BlockAt(1));  // continue goes on with o1
    EXPECT_EQ(index.Block(index.BlockAt(7)).End, 8);
}

TEST(TLabelIndexTest, SubsAndNumberedProgramsByLabel)
{
    const TLabelIndex index = Index("o<a>sub\no1if[1]\no1endif\no<a>return\no<a>endsub\n"
                                    "o<b>sub\no1if[1]\no1endif\no<b>endsub\n"
                                    "m98p100\nm30\no100\ng0x1\nm99\n");
    const int a = index.Sub("a");
    ASSERT_NE(a, TLabelIndex::kNone);
    EXPECT_EQ(index.Block(a).Start, 1);
    EXPECT_EQ(index.Block(a).End, 5);
    EXPECT_EQ(index.BlockAt(4), a);  // return
    EXPECT_NE(index.Sub("b"), TLabelIndex::kNone);
    EXPECT_EQ(index.Sub("c"), TLabelIndex::kNone);
    const int program = index.Program("100");
    ASSERT_NE(program, TLabelIndex::kNone);
    EXPECT_EQ(index.Block(program).Start, 12);
    EXPECT_TRUE(index.Notices().empty());  // o1 in two subs is no reuse
}

TEST(TLabelIndexTest, LabelReusedInOneScopeIsAcceptedWithANotice)
{
    // as daisy.ngc does inside its o100 sub
    const TLabelIndex index =
        Index("o100sub\no110if[1]\no110endif\no110if[0]\no110else\no110endif\no100endsub\n");
    ASSERT_EQ(index.Notices().size(), 1u);
    EXPECT_EQ(index.Notices()[0].Line, 4);
    EXPECT_EQ(index.Notices()[0].Text, "o110 used again");
    EXPECT_EQ(index.Block(index.BlockAt(5)).Start, 4);  // else belongs to the second if
}

TEST(TLabelIndexTest, RefusesWhatLinuxCncRefuses)
{
    EXPECT_EQ(ErrorOf("o1endsub"), "not in a subroutine definition: 'o1 endsub'");
    EXPECT_EQ(ErrorOf("o1return"), "not in a subroutine definition: 'o1 return'");
    EXPECT_EQ(ErrorOf("o1if[1]\no1endsub"), "not in a subroutine definition: 'o1 endsub'");
    EXPECT_EQ(ErrorOf("o1endwhile"), "undefined O-word label: 'o1 endwhile'");
    EXPECT_EQ(ErrorOf("o1else"), "undefined O-word label: 'o1 else'");
    EXPECT_EQ(ErrorOf("o1break"), "no matching while/do label: 'o1 break'");
    EXPECT_EQ(ErrorOf("o1while[1]\no2break"), "no matching while/do label: 'o2 break'");
    EXPECT_EQ(ErrorOf("o1repeat[2]\no1break"), "no matching while/do label: 'o1 break'");
    EXPECT_EQ(ErrorOf("o<a>if[1]\no<a>endwhile"), "undefined O-word label: 'o<a> endwhile'");
    EXPECT_EQ(ErrorOf("o1sub\no2sub"), "Nested subroutine definition");
    EXPECT_EQ(ErrorOf("o1sub\no1endsub\no1sub"), "redefining sub: o1 already defined");
    EXPECT_EQ(ErrorOf("o1if[1]\no1if[1]"),
              "duplicate O-word label - already defined in line 1: 'o1 if'");
    EXPECT_EQ(ErrorOf("o[#1]sub"), "A computed O-word label is read only in a call");
}

TEST(TLabelIndexTest, InterleavedStructuresMatchByLabelAsLinuxCncDoes)
{
    const TLabelIndex index = Index("o1if[1]\no2if[1]\no1endif\no2endif\n");
    EXPECT_EQ(index.Block(index.BlockAt(1)).End, 3);
    EXPECT_EQ(index.Block(index.BlockAt(2)).End, 4);
}

}  // namespace
