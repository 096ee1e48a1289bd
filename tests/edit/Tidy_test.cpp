// Tidying: spacing, case, comments and trailing blanks, each option on its own and together.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "edit/Tidy.h"

namespace {

using TLines = std::vector<std::string>;

struct TTidyCase
{
    const char* Name;
    TLines Input;
    TTidyOptions Options;
    TLines Expected;
    std::vector<std::size_t> SourceLines;
};

class TTidyTest : public ::testing::TestWithParam<TTidyCase>
{};

TEST_P(TTidyTest, TidiesTheText)
{
    const TTidyCase& c = GetParam();
    const TTidyResult result = Tidy(c.Input, c.Options);
    EXPECT_EQ(result.Lines, c.Expected);
    EXPECT_EQ(result.SourceLines, c.SourceLines);
}

const TLines kProgram = {
    "(first) g0x1  y2 ", "  g1   x#1 (cut)\tz-1", "(a note)", "", "/g1x3;end", "#1 = 2"};

INSTANTIATE_TEST_SUITE_P(
    Cases, TTidyTest,
    ::testing::Values(TTidyCase{"OneSpaceUpperCase",
                                kProgram,
                                {TWordSpacing::One, true, TCommentRemoval::Keep, true},
                                {"(first) G0 X1 Y2", "  G1 X#1 (cut) Z-1", "(a note)", "",
                                 "/G1 X3 ;end", "#1 = 2"},
                                {0, 1, 2, 3, 4, 5}},
                      TTidyCase{"NoSpaceKeepsCase",
                                kProgram,
                                {TWordSpacing::None, false, TCommentRemoval::Keep, true},
                                {"(first)g0x1y2", "  g1x#1(cut)z-1", "(a note)", "", "/g1x3;end",
                                 "#1 = 2"},
                                {0, 1, 2, 3, 4, 5}},
                      TTidyCase{"RemovingAllCommentsDropsCommentOnlyLines",
                                kProgram,
                                {TWordSpacing::Keep, false, TCommentRemoval::All, true},
                                {"g0x1  y2", "  g1   x#1\tz-1", "", "/g1x3", "#1 = 2"},
                                {0, 1, 3, 4, 5}},
                      TTidyCase{"CommentsOfTheFirstBlockStay",
                                {"%", "(PART 12) G21", "(x)", "G0 X1 (y)"},
                                {TWordSpacing::Keep, true, TCommentRemoval::AllButFirstBlock, true},
                                {"%", "(PART 12) G21", "G0 X1"},
                                {0, 1, 3}},
                      TTidyCase{"CommentsTheMachineActsOnStay",
                                {"(MSG, change tool)", "( debug, #1 )", "(message)", "(logclose)"},
                                {TWordSpacing::One, true, TCommentRemoval::All, true},
                                {"(MSG, change tool)", "( debug, #1 )", "(logclose)"},
                                {0, 1, 3}},
                      TTidyCase{"TrailingBlanksKeptOnRequest",
                                {"g0 x1 \t"},
                                {TWordSpacing::One, true, TCommentRemoval::Keep, false},
                                {"G0 X1 \t"},
                                {0}},
                      TTidyCase{"UnreadableLinesKeepTheirText",
                                {"G1 X1 & y2  "},
                                {TWordSpacing::None, true, TCommentRemoval::All, true},
                                {"G1 X1 & y2"},
                                {0}},
                      TTidyCase{"ControlLinesAreUpperCasedWhole",
                                {"o100 if [#1 gt 0] (test)"},
                                {TWordSpacing::One, true, TCommentRemoval::Keep, true},
                                {"O100 IF [#1 GT 0] (test)"},
                                {0}}),
    [](const auto& info) { return std::string(info.param.Name); });

}  // namespace
