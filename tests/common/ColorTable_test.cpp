#include "common/ColorTable.h"

#include <gtest/gtest.h>

#include <set>

namespace {

TEST(ColorTableTest, ValuesAreUniqueSoLookupsRoundTrip)
{
    const auto table = ColorTable();
    ASSERT_EQ(table.size(), 52u);
    std::set<TColor> values;
    for (const TColorEntry& entry : table) {
        values.insert(entry.Value);
        EXPECT_EQ(IdentToColor(entry.Identifier), entry.Value) << entry.Identifier;
        EXPECT_EQ(ColorToIdent(entry.Value), entry.Identifier) << entry.Identifier;
    }
    EXPECT_EQ(values.size(), table.size());
    EXPECT_EQ(table[29].Identifier, "clDefault");
    EXPECT_EQ(table[45].Identifier, "clNone");
    EXPECT_FALSE(ColorToIdent(0x00CCFFCC).has_value());
}

TEST(ColorTableTest, PickerOffersTheTableInOrderWithoutNoneAndDefault)
{
    std::vector<std::string_view> expected;
    for (const TColorEntry& entry : ColorTable()) {
        if (entry.Value != clNone && entry.Value != clDefault)
            expected.push_back(entry.Identifier);
    }
    std::vector<std::string_view> offered;
    for (const TColorEntry& entry : PickerColors())
        offered.push_back(entry.Identifier);
    EXPECT_EQ(offered.size(), 50u);
    EXPECT_EQ(offered, expected);
}

class IdentToColorTest
    : public ::testing::TestWithParam<std::pair<std::string_view, std::optional<TColor>>>
{};

TEST_P(IdentToColorTest, MatchesWholeIdentifierIgnoringAsciiCase)
{
    EXPECT_EQ(IdentToColor(GetParam().first), GetParam().second) << GetParam().first;
}

INSTANTIATE_TEST_SUITE_P(Identifiers, IdentToColorTest,
                         ::testing::Values(std::pair{"CLRED", std::optional(clRed)},
                                           std::pair{"cl3ddkshadow", std::optional(cl3DDkShadow)},
                                           std::pair{"", std::optional<TColor>()},
                                           std::pair{"clBlu", std::optional<TColor>()},
                                           std::pair{" clBlue", std::optional<TColor>()},
                                           std::pair{"255", std::optional<TColor>()}));

}  // namespace
