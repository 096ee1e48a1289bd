// Line comparison: the runs it reports, and that they are a shortest edit on random texts.

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "edit/LineDiff.h"

namespace {

using TViews = std::vector<std::string_view>;

std::vector<TDiffHunk> Diff(const std::vector<std::string>& left,
                            const std::vector<std::string>& right)
{
    return DiffLines(TViews(left.begin(), left.end()), TViews(right.begin(), right.end()));
}

TEST(TLineDiffTest, ReportsChangedAddedAndRemovedRuns)
{
    EXPECT_EQ(Diff({"a", "b", "c"}, {"a", "b", "c"}), std::vector<TDiffHunk>{});
    EXPECT_EQ(Diff({"a", "b", "c"}, {"a", "x", "c"}), (std::vector<TDiffHunk>{{1, 2, 1, 2}}));
    EXPECT_EQ(Diff({"a", "c"}, {"a", "b", "b2", "c"}), (std::vector<TDiffHunk>{{1, 1, 1, 3}}));
    EXPECT_EQ(Diff({"a", "b", "c", "d"}, {"b", "d"}),
              (std::vector<TDiffHunk>{{0, 1, 0, 0}, {2, 3, 1, 1}}));
    EXPECT_EQ(Diff({}, {"a"}), (std::vector<TDiffHunk>{{0, 0, 0, 1}}));
    EXPECT_EQ(Diff({"a", "b"}, {}), (std::vector<TDiffHunk>{{0, 2, 0, 0}}));
}

// The least number of lines removed and added, by the textbook table.
std::size_t ShortestEdit(const std::vector<std::string>& a, const std::vector<std::string>& b)
{
    std::vector<std::vector<std::size_t>> common(a.size() + 1,
                                                 std::vector<std::size_t>(b.size() + 1));
    for (std::size_t i = a.size(); i-- > 0;)
        for (std::size_t j = b.size(); j-- > 0;)
            common[i][j] = a[i] == b[j] ? common[i + 1][j + 1] + 1
                                        : std::max(common[i + 1][j], common[i][j + 1]);
    return a.size() + b.size() - 2 * common[0][0];
}

TEST(TLineDiffTest, RandomTextsGetAShortestEditThatTurnsOneIntoTheOther)
{
    std::mt19937 random(28);
    std::uniform_int_distribution<int> length(0, 40);
    std::uniform_int_distribution<int> letter(0, 3);  // few kinds of line, many repeats
    for (int round = 0; round < 500; ++round) {
        std::vector<std::string> a(static_cast<std::size_t>(length(random)));
        std::vector<std::string> b(static_cast<std::size_t>(length(random)));
        for (std::string& line : a)
            line = std::string(1, static_cast<char>('a' + letter(random)));
        for (std::string& line : b)
            line = std::string(1, static_cast<char>('a' + letter(random)));
        const std::vector<TDiffHunk> hunks = Diff(a, b);
        std::vector<std::string> rebuilt;
        std::size_t cost = 0;
        std::size_t i = 0;
        for (const TDiffHunk& hunk : hunks) {
            ASSERT_GE(hunk.LeftBegin, i);
            ASSERT_EQ(hunk.LeftBegin - i, hunk.RightBegin - rebuilt.size())
                << "unequal runs between";
            rebuilt.insert(rebuilt.end(), a.begin() + hunk.LeftBegin - (hunk.LeftBegin - i),
                           a.begin() + hunk.LeftBegin);
            rebuilt.insert(rebuilt.end(), b.begin() + hunk.RightBegin, b.begin() + hunk.RightEnd);
            cost += (hunk.LeftEnd - hunk.LeftBegin) + (hunk.RightEnd - hunk.RightBegin);
            i = hunk.LeftEnd;
        }
        rebuilt.insert(rebuilt.end(), a.begin() + i, a.end());
        ASSERT_EQ(rebuilt, b) << "round " << round;
        EXPECT_EQ(cost, ShortestEdit(a, b)) << "round " << round;
    }
}

TEST(TLineDiffTest, NeighbourHunksAreFoundFromAnyLine)
{
    // Lines 2-3 changed, one line added before 6, line 9 removed.
    const std::vector<TDiffHunk> hunks = {{2, 4, 2, 4}, {6, 6, 6, 7}, {9, 10, 10, 10}};
    EXPECT_EQ(NeighbourHunk(hunks, 0, true), 0U);
    EXPECT_EQ(NeighbourHunk(hunks, 2, true), 1U);  // on the first: the next is the second
    EXPECT_EQ(NeighbourHunk(hunks, 6, true), 2U);
    EXPECT_EQ(NeighbourHunk(hunks, 9, true), std::nullopt);
    EXPECT_EQ(NeighbourHunk(hunks, 9, false), 1U);
    EXPECT_EQ(NeighbourHunk(hunks, 6, false), 0U);
    EXPECT_EQ(NeighbourHunk(hunks, 3, false), std::nullopt);  // inside the first
    EXPECT_EQ(NeighbourHunk({}, 3, true), std::nullopt);
}

TEST(TLineDiffTest, LargeTextsWithNothingInCommonAreOneChange)
{
    std::vector<std::string> a(20000);
    std::vector<std::string> b(20000);
    for (std::size_t i = 0; i < a.size(); ++i) {
        a[i] = "a" + std::to_string(i);
        b[i] = "b" + std::to_string(i);
    }
    EXPECT_EQ(Diff(a, b), (std::vector<TDiffHunk>{{0, 20000, 0, 20000}}));
}

}  // namespace
