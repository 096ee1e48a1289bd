#include "common/SourceLines.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <set>
#include <vector>

namespace {

struct TLinesCase
{
    const char* what;
    std::vector<std::uint32_t> lines;
};

std::vector<std::uint32_t> Consecutive(std::uint32_t first, std::size_t count, std::uint32_t step)
{
    std::vector<std::uint32_t> lines;
    for (std::size_t i = 0; i < count; ++i)
        lines.push_back(first + static_cast<std::uint32_t>(i) * step);
    return lines;
}

std::vector<std::uint32_t> Joined(std::vector<std::vector<std::uint32_t>> parts)
{
    std::vector<std::uint32_t> lines;
    for (const auto& part : parts)
        lines.insert(lines.end(), part.begin(), part.end());
    return lines;
}

const std::vector<TLinesCase>& Cases()
{
    static const std::vector<TLinesCase> cases = {
        {"no items", {}},
        {"fewer than a block", Consecutive(3, 10, 1)},
        {"consecutive lines over many blocks, the last one part full", Consecutive(7, 1000, 1)},
        {"several items a line", Joined({{5, 5, 5, 5}, Consecutive(6, 300, 1), {306, 306}})},
        {"steps too large for the short form", Consecutive(0, 500, 300)},
        {"a jump in the middle of a block",
         Joined({Consecutive(0, 100, 1), Consecutive(9000, 100, 1)})},
        {"the largest lines", Consecutive(0xFFFFFF00u, 200, 1)},
        {"lines that go back (loops)",
         Joined({Consecutive(10, 70, 1), Consecutive(20, 70, 1), {5}, Consecutive(20, 30, 1)})},
    };
    return cases;
}

// Each item leads to its line, and each line to its first run of items.
void ExpectLeadsToLines(const TSourceLines& lines, const std::vector<std::uint32_t>& expected)
{
    ASSERT_EQ(lines.Size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i)
        ASSERT_EQ(lines.LineOf(i), expected[i]) << "item " << i;
    EXPECT_FALSE(lines.LineOf(expected.size()));
    std::set<std::uint32_t> asked(expected.begin(), expected.end());
    asked.insert({0, 4, 100000});  // lines that made no item, most of them
    for (const std::uint32_t line : asked) {
        const auto first = std::find(expected.begin(), expected.end(), line);
        const auto last = std::find_if(first, expected.end(),
                                       [line](std::uint32_t other) { return other != line; });
        const TIndexRange range = lines.IndicesOf(line);
        EXPECT_EQ(range.count, static_cast<std::size_t>(last - first)) << "line " << line;
        if (range.count != 0) {
            EXPECT_EQ(range.first, static_cast<std::size_t>(first - expected.begin()))
                << "line " << line;
        }
    }
}

// Whether the lines fit a block's short form or not.
TEST(TSourceLinesTest, LeadsEachItemToItsLineAndBack)
{
    for (const TLinesCase& c : Cases()) {
        SCOPED_TRACE(c.what);
        TSourceLines lines;
        lines.Reset(c.lines.size());
        for (const std::uint32_t line : c.lines)
            lines.Add(line);
        lines.Trim();
        ExpectLeadsToLines(lines, c.lines);
    }
}

// A list with another appended reads as one made of all the lines: split at block edges, within
// blocks and where the lines go back.
TEST(TSourceLinesTest, AppendedListsReadAsOne)
{
    constexpr std::size_t kBlock = 64;
    for (const TLinesCase& c : Cases()) {
        const std::size_t size = c.lines.size();
        std::set<std::size_t> splits = {0, 1, kBlock - 1, kBlock, kBlock + 1, size / 2, size};
        for (std::size_t i = 1; i < size; ++i)
            if (c.lines[i] < c.lines[i - 1])
                splits.insert(i);
        for (const std::size_t split : splits) {
            if (split > size)
                continue;
            SCOPED_TRACE(testing::Message() << c.what << ", split at " << split);
            TSourceLines earlier;
            TSourceLines later;
            for (std::size_t i = 0; i < size; ++i)
                (i < split ? earlier : later).Add(c.lines[i]);
            earlier.Append(later);
            ExpectLeadsToLines(earlier, c.lines);
        }
    }
}

}  // namespace
