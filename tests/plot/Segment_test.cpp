#include "plot/Segment.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

namespace {

std::string Bits(const TPoint3f& p)
{
    return std::to_string(std::bit_cast<std::uint32_t>(p.x)) + "," +
           std::to_string(std::bit_cast<std::uint32_t>(p.y)) + "," +
           std::to_string(std::bit_cast<std::uint32_t>(p.z));
}

struct TListCase
{
    const char* what;
    std::vector<TSegment> segments;
};

// Whatever the segments, the list gives back each one as it was added, bit for bit, through
// indexing, the accessors and iteration alike.
TEST(TSegmentListTest, ReadsBackEverySegmentAsAdded)
{
    const float nan = std::nanf("");
    const std::vector<TListCase> cases = {
        {"one segment away from the origin", {{{1, 2, 3}, {4, 5, 6}, 0x10}}},
        {"a chain",
         {{{0, 0, 0}, {1, 0, 0}, 1}, {{1, 0, 0}, {1, 1, 0}, 2}, {{1, 1, 0}, {0, 1, 5}, 3}}},
        {"jumps between chains",
         {{{0, 0, 0}, {1, 0, 0}, 1},
          {{7, 7, 7}, {8, 8, 8}, 2},
          {{8, 8, 8}, {9, 9, 9}, 3},
          {{2, 2, 2}, {3, 3, 3}, 4},
          {{-1, -1, -1}, {0, 0, 0}, 5}}},
        {"a jump right at the second segment",
         {{{0, 0, 0}, {1, 0, 0}, 1}, {{5, 0, 0}, {6, 0, 0}, 2}}},
        {"a zero of the other sign is a start of its own",
         {{{0, 0, 0}, {0, 0, 0}, 1}, {{-0.0f, 0, 0}, {1, 0, 0}, 2}}},
        {"starts that are not a number",
         {{{nan, 0, 0}, {nan, 1, 0}, 1}, {{nan, 1, 0}, {2, 2, 2}, 2}, {{2, 2, 2}, {nan, 0, 0}, 3}}},
        {"segments of no length", {{{3, 3, 3}, {3, 3, 3}, 1}, {{3, 3, 3}, {3, 3, 3}, 2}}},
    };
    for (const TListCase& c : cases) {
        TSegmentList list;
        for (const TSegment& segment : c.segments)
            list.Add(segment);
        ASSERT_EQ(list.size(), c.segments.size()) << c.what;
        std::size_t i = 0;
        for (const TSegment& read : list) {
            const TSegment& added = c.segments[i];
            EXPECT_EQ(Bits(read.from), Bits(added.from)) << c.what << ", segment " << i;
            EXPECT_EQ(Bits(read.to), Bits(added.to)) << c.what << ", segment " << i;
            EXPECT_EQ(read.colour, added.colour) << c.what << ", segment " << i;
            EXPECT_EQ(Bits(list.From(i)), Bits(added.from)) << c.what << ", segment " << i;
            EXPECT_EQ(Bits(list[i].to), Bits(added.to)) << c.what << ", segment " << i;
            ++i;
        }
        EXPECT_EQ(i, c.segments.size()) << c.what;
        EXPECT_EQ(Bits(TSegmentList(c.segments).back().to), Bits(c.segments.back().to)) << c.what;
    }
}

}  // namespace
