#include "LineSplit.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct TSplitCase
{
    std::string Text;
    std::vector<std::string> Lines;
};

class TSplitLinesTest : public ::testing::TestWithParam<TSplitCase>
{
};

TEST_P(TSplitLinesTest, BreaksAtCrLfLfOrCr)
{
    EXPECT_EQ(SplitLines(GetParam().Text), GetParam().Lines);
}

INSTANTIATE_TEST_SUITE_P(
    Breaks, TSplitLinesTest,
    ::testing::Values(TSplitCase{"", {""}},
                      TSplitCase{"G0 X1", {"G0 X1"}},
                      TSplitCase{"a\n", {"a", ""}},
                      TSplitCase{"a\r\nb\r\n", {"a", "b", ""}},
                      TSplitCase{"a\rb", {"a", "b"}},
                      TSplitCase{"a\r", {"a", ""}},
                      TSplitCase{"a\n\rb", {"a", "", "b"}},
                      TSplitCase{"a\r\r\nb", {"a", "", "b"}},
                      TSplitCase{"\r\n\r\n", {"", "", ""}},
                      TSplitCase{"a\nb\rc\r\nd", {"a", "b", "c", "d"}},
                      // Other bytes, NUL and invalid UTF-8 included, stay as they are.
                      TSplitCase{std::string("a\0b\xff\tc\n", 7), {std::string("a\0b\xff\tc", 6), ""}}));

}  // namespace
