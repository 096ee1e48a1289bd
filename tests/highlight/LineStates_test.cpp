// Line end states: the runs left by states set line by line or over stretches, and by edits.
#include "highlight/LineStates.h"

#include <gtest/gtest.h>

#include <climits>
#include <vector>

namespace {

constexpr int kLastLine = 30;  // beyond every run of the cases

struct TStep
{
    char op;  // 's' sets [first, end) to value, 'r' replaces [first, end) with value more lines
    int first;
    int end;
    int value;
};

TEST(TLineStatesTest, StepsLeaveTheseRuns)
{
    const struct
    {
        const char* name;
        std::vector<TStep> steps;
        std::vector<TLineStates::TRun> runs;
    } cases[] = {
        {"LineAfterLine",
         {{'s', 3, 4, 1}, {'s', 4, 5, 1}, {'s', 5, 5, 2}, {'s', 0, 3, 0}},
         {{3, 5, 1}}},
        {"SetAndUnsetInside",
         {{'s', 0, 10, 1}, {'s', 4, 5, 2}, {'s', 6, 8, 0}},
         {{0, 4, 1}, {4, 5, 2}, {5, 6, 1}, {8, 10, 1}}},
        {"GapFilled",
         {{'s', 0, 3, 1}, {'s', 3, 4, 2}, {'s', 4, 8, 1}, {'s', 3, 4, 1}},
         {{0, 8, 1}}},
        {"OverRuns",
         {{'s', 0, 3, 1}, {'s', 5, 7, 2}, {'s', 9, 12, 1}, {'s', 2, 10, 3}},
         {{0, 2, 1}, {2, 10, 3}, {10, 12, 1}}},
        {"ForgetToTheEnd", {{'s', 0, 3, 1}, {'s', 5, 7, 2}, {'s', 2, INT_MAX, 0}}, {{0, 2, 1}}},
        {"AboveMovesBelowStays",
         {{'s', 10, 20, 1}, {'r', 2, 3, 5}, {'r', 30, 31, -1}},
         {{15, 25, 1}}},
        {"ReplacedForgotten", {{'s', 10, 20, 1}, {'r', 12, 14, 3}}, {{10, 12, 1}, {17, 23, 1}}},
        {"JoinedMerge",
         {{'s', 0, 5, 1}, {'s', 6, 8, 1}, {'s', 8, 9, 2}, {'r', 5, 6, -1}},
         {{0, 7, 1}, {7, 8, 2}}},
        {"JoinedApart", {{'s', 0, 5, 1}, {'s', 6, 8, 2}, {'r', 5, 6, -1}}, {{0, 5, 1}, {5, 7, 2}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TLineStates states;
        for (const TStep& step : c.steps) {
            if (step.op == 's')
                states.Set(step.first, step.end, step.value);
            else
                states.Replace(step.first, step.end, step.value);
        }
        EXPECT_EQ(states.Runs(), c.runs);
        // A line outside every run reads as never set.
        for (int line = -1; line <= kLastLine; ++line) {
            int state = TLineStates::kUnset;
            for (const TLineStates::TRun& r : c.runs)
                state = r.First <= line && line < r.End ? r.State : state;
            EXPECT_EQ(states.State(line), state) << line;
        }
    }
}

}  // namespace
