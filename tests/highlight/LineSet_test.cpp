// The line set: the runs left by sequences of additions, removals and replaced lines.
#include "highlight/LineSet.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace {

using TRuns = std::vector<TLineSet::TRun>;

struct TStep
{
    char op;  // '+' adds, '-' removes, 'r' replaces [first, end) with linesAdded more lines
    int first;
    int end;
    int linesAdded = 0;
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

class TLineSetTest : public ::testing::TestWithParam<TCase>
{};

TEST_P(TLineSetTest, LeavesTheseRuns)
{
    TLineSet set;
    for (const TStep& step : GetParam().steps) {
        if (step.op == '+')
            set.Add(step.first, step.end);
        else if (step.op == '-')
            set.Remove(step.first, step.end);
        else
            set.Replace(step.first, step.end, step.linesAdded);
    }
    const TRuns& runs = GetParam().runs;
    EXPECT_EQ(set.Runs(), runs);
    // Every line from before the first run to after the last is in the set exactly when a run
    // holds it, and FirstIn finds the first such line.
    const int last = runs.empty() ? 0 : runs.back().End;
    for (int line = -1; line <= last + 1; ++line) {
        std::optional<int> first;
        for (const TLineSet::TRun& run : runs) {
            if (!first && run.End > line)
                first = std::max(line, run.First);
        }
        EXPECT_EQ(set.Contains(line), first == line) << line;
        EXPECT_EQ(set.FirstIn(line, line + 3), first && *first < line + 3 ? first : std::nullopt)
            << line;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Steps, TLineSetTest,
    ::testing::Values(
        TCase{"EmptyAddIsNothing", {{'+', 5, 5}}, {}},
        TCase{"ApartStayApart", {{'+', 10, 20}, {'+', 0, 5}}, {{0, 5}, {10, 20}}},
        TCase{"TouchingMerge", {{'+', 10, 20}, {'+', 20, 30}}, {{10, 30}}},
        TCase{
            "BridgeMergesThree", {{'+', 0, 2}, {'+', 4, 6}, {'+', 8, 10}, {'+', 1, 9}}, {{0, 10}}},
        TCase{"RemoveSplits", {{'+', 0, 10}, {'-', 3, 5}}, {{0, 3}, {5, 10}}},
        TCase{"RemoveAcrossRuns", {{'+', 0, 4}, {'+', 6, 10}, {'-', 2, 8}}, {{0, 2}, {8, 10}}},
        TCase{"RemoveAll", {{'+', 0, 4}, {'+', 6, 10}, {'-', 0, 100}}, {}},
        TCase{"ReplaceAboveMoves", {{'+', 10, 20}, {'r', 2, 3, 5}}, {{15, 25}}},
        TCase{"ReplaceBelowStays", {{'+', 10, 20}, {'r', 25, 26, -1}}, {{10, 20}}},
        TCase{"ReplaceInsideTakesTheLinesAndMovesTheRest",
              {{'+', 10, 20}, {'r', 12, 14, 3}},
              {{10, 12}, {17, 23}}},
        TCase{"JoinedLinesLeave", {{'+', 10, 20}, {'r', 12, 15, -2}}, {{10, 12}, {13, 18}}},
        TCase{"LinesInsertedInsideSplit", {{'+', 10, 20}, {'r', 15, 15, 2}}, {{10, 15}, {17, 22}}},
        TCase{"ClosingAGapMerges", {{'+', 0, 5}, {'+', 6, 8}, {'r', 5, 6, -1}}, {{0, 7}}}));

}  // namespace
