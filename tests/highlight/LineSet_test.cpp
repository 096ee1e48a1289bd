// The line set: runs after sequences of additions, removals and replaced lines, and the same
// operations checked line by line against a plain set of numbers.
#include "highlight/LineSet.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <ostream>
#include <random>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace {

using TRuns = std::vector<TLineSet::TRun>;

enum class TOp { Add, Remove, Replace };

struct TStep
{
    TOp op;
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

void Apply(TLineSet& set, const TStep& step)
{
    switch (step.op) {
    case TOp::Add:
        set.Add(step.first, step.end);
        break;
    case TOp::Remove:
        set.Remove(step.first, step.end);
        break;
    case TOp::Replace:
        set.Replace(step.first, step.end, step.linesAdded);
        break;
    }
}

// What each operation means for a plain set of line numbers.
void Apply(std::set<int>& lines, const TStep& step)
{
    std::set<int> result;
    for (const int line : lines) {
        const bool inside = line >= step.first && line < step.end;
        switch (step.op) {
        case TOp::Add:
        case TOp::Remove:
            result.insert(line);
            break;
        case TOp::Replace:
            if (!inside)
                result.insert(line >= step.end ? line + step.linesAdded : line);
            break;
        }
    }
    for (int line = step.first; line < step.end; ++line) {
        if (step.op == TOp::Add)
            result.insert(line);
        else if (step.op == TOp::Remove)
            result.erase(line);
    }
    lines = result;
}

class TLineSetTest : public ::testing::TestWithParam<TCase>
{};

TEST_P(TLineSetTest, LeavesTheseRuns)
{
    TLineSet set;
    for (const TStep& step : GetParam().steps)
        Apply(set, step);
    EXPECT_EQ(set.Runs(), GetParam().runs);
    EXPECT_EQ(set.Empty(), GetParam().runs.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Steps, TLineSetTest,
    ::testing::Values(
        TCase{"EmptyAddIsNothing", {{TOp::Add, 5, 5}}, {}},
        TCase{"OneRun", {{TOp::Add, 40, 899990}}, {{40, 899990}}},
        TCase{"ApartStayApart", {{TOp::Add, 10, 20}, {TOp::Add, 0, 5}}, {{0, 5}, {10, 20}}},
        TCase{"TouchingMerge", {{TOp::Add, 10, 20}, {TOp::Add, 20, 30}}, {{10, 30}}},
        TCase{"BridgeMergesThree",
              {{TOp::Add, 0, 2}, {TOp::Add, 4, 6}, {TOp::Add, 8, 10}, {TOp::Add, 1, 9}},
              {{0, 10}}},
        TCase{"InsideAddsNothing", {{TOp::Add, 0, 10}, {TOp::Add, 3, 4}}, {{0, 10}}},
        TCase{"RemoveSplits", {{TOp::Add, 0, 10}, {TOp::Remove, 3, 5}}, {{0, 3}, {5, 10}}},
        TCase{"RemoveOneLine", {{TOp::Add, 7, 8}, {TOp::Remove, 7, 8}}, {}},
        TCase{"RemoveEnds",
              {{TOp::Add, 0, 4}, {TOp::Add, 6, 10}, {TOp::Remove, 2, 8}},
              {{0, 2}, {8, 10}}},
        TCase{"RemoveAll", {{TOp::Add, 0, 4}, {TOp::Add, 6, 10}, {TOp::Remove, 0, 100}}, {}},
        TCase{"RemoveElsewhere", {{TOp::Add, 10, 20}, {TOp::Remove, 0, 10}}, {{10, 20}}},
        TCase{"ReplaceAboveMoves", {{TOp::Add, 10, 20}, {TOp::Replace, 2, 3, 5}}, {{15, 25}}},
        TCase{"ReplaceBelowStays", {{TOp::Add, 10, 20}, {TOp::Replace, 25, 26, -1}}, {{10, 20}}},
        TCase{"ReplaceInsideTakesTheLinesAndMovesTheRest",
              {{TOp::Add, 10, 20}, {TOp::Replace, 12, 14, 3}},
              {{10, 12}, {17, 23}}},
        TCase{"JoinedLinesLeaveAndTheRestMovesUp",
              {{TOp::Add, 10, 20}, {TOp::Replace, 12, 15, -2}},
              {{10, 12}, {13, 18}}},
        TCase{"LinesInsertedBetweenSplit",
              {{TOp::Add, 10, 20}, {TOp::Replace, 15, 15, 2}},
              {{10, 15}, {17, 22}}},
        TCase{"ClosingAGapMerges",
              {{TOp::Add, 0, 5}, {TOp::Add, 6, 8}, {TOp::Replace, 5, 6, -1}},
              {{0, 7}}}));

TEST(TLineSetModelTest, MatchesAPlainSetOfLines)
{
    constexpr int kLines = 60;
    constexpr int kSteps = 400;
    std::mt19937 random(26);
    std::uniform_int_distribution<int> line(0, kLines);
    std::uniform_int_distribution<int> op(0, 2);
    std::uniform_int_distribution<int> added(-3, 3);
    TLineSet set;
    std::set<int> model;
    for (int i = 0; i < kSteps; ++i) {
        int first = line(random);
        int end = line(random);
        if (first > end)
            std::swap(first, end);
        TStep step{static_cast<TOp>(op(random)), first, end};
        if (step.op == TOp::Replace)
            step.linesAdded = std::max(added(random), first - end);
        Apply(set, step);
        Apply(model, step);
        for (int l = -1; l <= kLines + 3; ++l) {
            ASSERT_EQ(set.Contains(l), model.count(l) == 1) << "step " << i << ", line " << l;
            const auto next = model.lower_bound(l);
            const std::optional<int> expected =
                next != model.end() && *next < l + 5 ? std::optional<int>(*next) : std::nullopt;
            ASSERT_EQ(set.FirstIn(l, l + 5), expected) << "step " << i << ", line " << l;
        }
        for (std::size_t r = 1; r < set.Runs().size(); ++r)
            ASSERT_LT(set.Runs()[r - 1].End, set.Runs()[r].First) << "runs touch at step " << i;
    }
}

}  // namespace
