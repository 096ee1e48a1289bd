#include "gcode/FloatEnvironment.h"

#include <gtest/gtest.h>

#include <cfenv>
#include <cmath>

namespace {

// Keeps the values away from constant folding, so the operations run under the set-up.
volatile double Zero = 0.0;
volatile double One = 1.0;
volatile double Three = 3.0;

TEST(FloatEnvironmentTest, MasksTrapsAndRoundsToNearest)
{
    feenableexcept(FE_DIVBYZERO | FE_INVALID);
    std::fesetround(FE_UPWARD);
    InitFloatingPoint();

    EXPECT_EQ(fegetexcept(), 0);
    EXPECT_EQ(std::fegetround(), FE_TONEAREST);
    EXPECT_TRUE(std::isinf(One / Zero));  // would trap with the exception enabled
    EXPECT_TRUE(std::isnan(Zero / Zero));
    EXPECT_EQ(One / Three, 0x1.5555555555555p-2);  // rounded to nearest, not up
}

}  // namespace
