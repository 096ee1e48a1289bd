#include "LineSplit.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(SplitLinesTest, BreaksAtCrLfLfOrCrAndKeepsEveryOtherByte)
{
    const std::vector<std::pair<std::string, std::vector<std::string>>> cases = {
        {"", {""}},
        {"G0 X1", {"G0 X1"}},
        {"a\r\nb\r\n", {"a", "b", ""}},
        {"a\rb\r", {"a", "b", ""}},
        {"a\n\rb\n\nc", {"a", "", "b", "", "c"}},
        {"a\r\r\nb\nc", {"a", "", "b", "c"}},
        {std::string("a\0b\xff\tc\n", 7), {std::string("a\0b\xff\tc", 6), ""}}};
    for (const auto& [text, lines] : cases)
        EXPECT_EQ(SplitLines(text), lines);
}

}  // namespace
