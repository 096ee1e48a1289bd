#include "render/RenderBudget.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(RenderBudgetTest, CutsAfterTheLastWholeLineWithinTheBounds)
{
    struct TCase
    {
        const char* Text;
        std::size_t MaxBytes;
        std::size_t MaxLines;
        const char* Kept;
        bool Cut;
    };
    constexpr std::size_t kAll = std::numeric_limits<std::size_t>::max();
    const TCase cases[] = {
        {"G1 X1\nG1 X2\n", kAll, kAll, "G1 X1\nG1 X2\n", false},
        {"G1 X1\nG1 X2", 11, 2, "G1 X1\nG1 X2", false},  // the last line needs no break
        {"G1 X1\nG1 X2\n", 11, kAll, "G1 X1\n", true},   // the bytes end inside a line
        {"G1 X1\nG1 X2\nG1 X3\n", kAll, 2, "G1 X1\nG1 X2\n", true},
        {"G1 X1\rG1 X2\rG1 X3\r", kAll, 1, "G1 X1\r", true},   // carriage returns count too
        {"G1 X1\r\nG1 X2\r\n", kAll, 2, "G1 X1\r\n", true},    // and so does each of a pair
        {"XXXXXXXXXX", 4, kAll, "", true},                     // one line past the bytes
        {"G1 X1\nG1 X2\n", kAll, 2, "G1 X1\nG1 X2\n", false},  // a break ends the last line
        {"", 0, 0, "", false},
    };
    for (const TCase& test : cases) {
        std::string text = test.Text;
        TReadBounds bounds;
        bounds.MaxBytes = test.MaxBytes;
        bounds.MaxLines = test.MaxLines;
        EXPECT_EQ(CutToBounds(text, bounds), test.Cut) << test.Text;
        EXPECT_EQ(text, test.Kept) << test.Text;
    }
}

TEST(RenderBudgetTest, ALargerBudgetReadsMoreAndNoBudgetReadsAll)
{
    const TReadBounds none = BoundsForMemory(0);
    EXPECT_EQ(none.MaxBytes, std::numeric_limits<std::size_t>::max());
    EXPECT_EQ(none.MaxLines, std::numeric_limits<std::size_t>::max());
    EXPECT_EQ(none.MaxMotions, std::numeric_limits<std::size_t>::max());
    const TReadBounds small = BoundsForMemory(96);
    const TReadBounds thumbnail = BoundsForMemory(512);
    EXPECT_GT(small.MaxLines, 0U);
    EXPECT_LT(small.MaxBytes, thumbnail.MaxBytes);
    EXPECT_LT(small.MaxLines, thumbnail.MaxLines);
    EXPECT_LT(small.MaxMotions, thumbnail.MaxMotions);
    EXPECT_LT(thumbnail.MaxBytes, std::size_t{512} << 20);
}

}  // namespace
