#include "machine/Expression.h"

#include <gtest/gtest.h>

#include "machine/MachineError.h"
#include "machine/Parameters.h"

namespace {

struct TNumberCase
{
    const char* Text;
    double Value;
    std::size_t End;
};

class TExpressionNumberTest : public testing::TestWithParam<TNumberCase>
{
};

TEST_P(TExpressionNumberTest, ReadsNumberAndStopsAfterIt)
{
    const TNumberCase& c = GetParam();
    std::size_t pos = 0;
    const TExpression value = TExpression::Read(c.Text, pos);
    EXPECT_TRUE(value.IsConstant());
    EXPECT_DOUBLE_EQ(value.Evaluate(TParameters()), c.Value);
    EXPECT_EQ(pos, c.End);
}

INSTANTIATE_TEST_SUITE_P(Forms, TExpressionNumberTest,
                         testing::Values(TNumberCase{"100.", 100, 4}, TNumberCase{".5x", 0.5, 2},
                                         TNumberCase{"-.25", -0.25, 4}, TNumberCase{"+1y2", 1, 2},
                                         TNumberCase{"-12.5.3", -12.5, 5}));

TEST(TExpressionTest, ValueWithoutDigitsIsRefused)
{
    for (const char* text : {"", "-", ".", "x"}) {
        std::size_t pos = 0;
        EXPECT_THROW(TExpression::Read(text, pos), EMachineError) << text;
    }
}

}  // namespace
