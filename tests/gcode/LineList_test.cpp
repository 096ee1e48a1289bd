#include "gcode/LineList.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace {

struct TSplitCase
{
    std::string Text;
    std::vector<std::string> Lines;
};

class TLineListSplitTest : public testing::TestWithParam<TSplitCase>
{};

TEST_P(TLineListSplitTest, BreaksAtCrLfLfOrCrAndKeepsEveryOtherByte)
{
    const TLineList lines(GetParam().Text);
    ASSERT_EQ(lines.size(), GetParam().Lines.size());
    for (std::size_t i = 0; i < lines.size(); ++i)
        EXPECT_EQ(lines[i], GetParam().Lines[i]) << "line " << i;
}

INSTANTIATE_TEST_SUITE_P(Texts, TLineListSplitTest,
                         testing::Values(TSplitCase{"", {""}}, TSplitCase{"G0 X1", {"G0 X1"}},
                                         TSplitCase{"a\r\nb\r\n", {"a", "b", ""}},
                                         TSplitCase{"a\rb\r", {"a", "b", ""}},
                                         TSplitCase{"a\n\rb\n\nc", {"a", "", "b", "", "c"}},
                                         TSplitCase{"a\r\r\nb\nc", {"a", "", "b", "c"}},
                                         TSplitCase{"\r\n", {"", ""}},
                                         TSplitCase{std::string("a\0b\xff\tc\n", 7),
                                                    {std::string("a\0b\xff\tc", 6), ""}}));

TEST(TLineListTest, MovedTextKeepsItsBytesInPlace)
{
    std::string text = "G0 X1\r\nG1 Y2 (a comment long enough to be on the heap)";
    const char* const bytes = text.data();
    const TLineList lines(std::move(text));
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].data(), bytes);
    EXPECT_EQ(lines[1].data(), bytes + 7);
}

TEST(TLineListTest, ListOfLinesKeepsBreakBytesInsideTheirLine)
{
    const std::vector<std::string> given = {"G0 X1\nG1 Y2", "", "a\rb", "\r\n"};
    const TLineList lines(given);
    EXPECT_EQ(lines.ToStrings(), given);
    EXPECT_EQ(TLineList(std::vector<std::string>{}).size(), 0u);
    EXPECT_EQ(TLineList().size(), 0u);
}

}  // namespace

TEST(TLineListTest, ViewSplitsLikeTheOwnerInTheGivenText)
{
    using namespace std::string_literals;
    const std::string text = "G0 X1\r\n\rG1\0Y2\n(\xFF)"s;
    const TLineList owner{std::string(text)};
    const TLineList view = TLineList::View(text);
    EXPECT_EQ(view.ToStrings(), owner.ToStrings());
    ASSERT_EQ(view.size(), 4u);
    EXPECT_EQ(view[2].data(), text.data() + 8) << "lines are read in place, not copied";
    const TLineList copy = view;
    EXPECT_EQ(copy[3].data(), text.data() + 14);
    EXPECT_EQ(TLineList::View({}).ToStrings(), std::vector<std::string>{""});
}
