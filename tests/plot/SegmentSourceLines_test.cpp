#include "plot/SegmentSourceLines.h"

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

// Each segment leads to the line it was added with, and each line to its first run of segments,
// whether the lines fit a block's short form or not.
TEST(TSegmentSourceLinesTest, LeadsEachSegmentToItsLineAndBack)
{
    const std::vector<TLinesCase> cases = {
        {"no segments", {}},
        {"fewer than a block", Consecutive(3, 10, 1)},
        {"consecutive lines over many blocks, the last one part full", Consecutive(7, 1000, 1)},
        {"several segments a line", Joined({{5, 5, 5, 5}, Consecutive(6, 300, 1), {306, 306}})},
        {"steps too large for the short form", Consecutive(0, 500, 300)},
        {"a jump in the middle of a block",
         Joined({Consecutive(0, 100, 1), Consecutive(9000, 100, 1)})},
        {"the largest lines", Consecutive(0xFFFFFF00u, 200, 1)},
        {"lines that go back (loops)",
         Joined({Consecutive(10, 70, 1), Consecutive(20, 70, 1), {5}, Consecutive(20, 30, 1)})},
    };
    for (const TLinesCase& c : cases) {
        TSegmentSourceLines lines;
        lines.Reset(c.lines.size());
        for (const std::uint32_t line : c.lines)
            lines.Add(line);
        lines.Trim();
        ASSERT_EQ(lines.Size(), c.lines.size()) << c.what;
        for (std::size_t i = 0; i < c.lines.size(); ++i)
            ASSERT_EQ(lines.LineOf(i), c.lines[i]) << c.what << ", segment " << i;
        EXPECT_FALSE(lines.LineOf(c.lines.size())) << c.what;
        std::set<std::uint32_t> asked(c.lines.begin(), c.lines.end());
        asked.insert({0, 4, 100000});  // lines that made no segment, most of them
        for (const std::uint32_t line : asked) {
            const auto first = std::find(c.lines.begin(), c.lines.end(), line);
            const auto last = std::find_if(first, c.lines.end(),
                                           [line](std::uint32_t other) { return other != line; });
            const TSegmentRange range = lines.SegmentsOf(line);
            EXPECT_EQ(range.count, static_cast<std::size_t>(last - first))
                << c.what << ", line " << line;
            if (range.count != 0) {
                EXPECT_EQ(range.first, static_cast<std::size_t>(first - c.lines.begin()))
                    << c.what << ", line " << line;
            }
        }
    }
}

}  // namespace
