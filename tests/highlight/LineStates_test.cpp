// Line end states: the runs left by states set line by line or over stretches, and by edits.
#include "highlight/LineStates.h"

#include <gtest/gtest.h>

#include <climits>
#include <ostream>
#include <string>
#include <vector>

namespace {

using TRuns = std::vector<TLineStates::TRun>;

struct TStep
{
    char op;  // 's' sets [first, end) to value, 'r' replaces [first, end) with value more lines
    int first;
    int end;
    int value;
};

struct TCase
{
    std::string name;
    std::vector<TStep> steps;
    TRuns runs;
};

void PrintTo(const TCase& c, std::ostream* os)
{
    *os << c.name;
}

class TLineStatesTest : public ::testing::TestWithParam<TCase>
{};

TEST_P(TLineStatesTest, LeavesTheseRuns)
{
    TLineStates states;
    for (const TStep& step : GetParam().steps) {
        if (step.op == 's')
            states.Set(step.first, step.end, step.value);
        else
            states.Replace(step.first, step.end, step.value);
    }
    const TRuns& runs = GetParam().runs;
    EXPECT_EQ(states.Runs(), runs);
    // A line outside every run reads as never set.
    std::size_t run = 0;
    for (int line = -1; !runs.empty() && line <= runs.back().End; ++line) {
        while (run < runs.size() && runs[run].End <= line)
            ++run;
        const bool inRun = run < runs.size() && runs[run].First <= line;
        EXPECT_EQ(states.State(line), inRun ? runs[run].State : TLineStates::kUnset) << line;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Steps, TLineStatesTest,
    ::testing::Values(
        TCase{"UnsetIsNoRun", {{'s', 0, 5, 0}, {'s', 5, 5, 1}}, {}},
        TCase{"LineAfterLineGrowsOneRun",
              {{'s', 3, 4, 1}, {'s', 4, 5, 1}, {'s', 5, 6, 1}},
              {{3, 6, 1}}},
        TCase{"OtherStatesApart", {{'s', 0, 2, 1}, {'s', 2, 3, 2}}, {{0, 2, 1}, {2, 3, 2}}},
        TCase{"SetInsideSplits",
              {{'s', 0, 10, 1}, {'s', 4, 5, 2}},
              {{0, 4, 1}, {4, 5, 2}, {5, 10, 1}}},
        TCase{"UnsetInsideSplits", {{'s', 0, 10, 1}, {'s', 4, 6, 0}}, {{0, 4, 1}, {6, 10, 1}}},
        TCase{"GapFilledMergesThree",
              {{'s', 0, 3, 1}, {'s', 3, 4, 2}, {'s', 4, 8, 1}, {'s', 3, 4, 1}},
              {{0, 8, 1}}},
        TCase{"StretchOverRunsReplacesThem",
              {{'s', 0, 3, 1}, {'s', 5, 7, 2}, {'s', 9, 12, 1}, {'s', 2, 10, 3}},
              {{0, 2, 1}, {2, 10, 3}, {10, 12, 1}}},
        TCase{
            "ForgetToTheEnd", {{'s', 0, 3, 1}, {'s', 5, 7, 2}, {'s', 2, INT_MAX, 0}}, {{0, 2, 1}}},
        TCase{"ReplaceAboveMoves", {{'s', 10, 20, 1}, {'r', 2, 3, 5}}, {{15, 25, 1}}},
        TCase{"ReplaceBelowStays", {{'s', 10, 20, 1}, {'r', 25, 26, -1}}, {{10, 20, 1}}},
        TCase{"ReplacedLinesForgottenRestMoves",
              {{'s', 10, 20, 1}, {'r', 12, 14, 3}},
              {{10, 12, 1}, {17, 23, 1}}},
        TCase{"InsertedInsideSplits",
              {{'s', 10, 20, 2}, {'r', 15, 15, 2}},
              {{10, 15, 2}, {17, 22, 2}}},
        TCase{"JoinedAcrossAGapMerges",
              {{'s', 0, 5, 1}, {'s', 6, 8, 1}, {'s', 8, 9, 2}, {'r', 5, 6, -1}},
              {{0, 7, 1}, {7, 8, 2}}},
        TCase{"JoinedOtherStatesStayApart",
              {{'s', 0, 5, 1}, {'s', 6, 8, 2}, {'r', 5, 6, -1}},
              {{0, 5, 1}, {5, 7, 2}}}));

}  // namespace
