#include "ColorTable.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <set>
#include <string>

namespace {

std::string Lowered(std::string_view text)
{
    std::string lowered(text);
    std::ranges::transform(lowered, lowered.begin(), [](unsigned char c) { return std::tolower(c); });
    return lowered;
}

TEST(ColorTableTest, IdentifiersAndValuesAreUniqueSoLookupsRoundTrip)
{
    const auto table = ColorTable();
    ASSERT_EQ(table.size(), 52u);
    std::set<TColor> values;
    std::set<std::string> identifiers;
    for (const TColorEntry& entry : table) {
        values.insert(entry.Value);
        identifiers.insert(Lowered(entry.Identifier));
        EXPECT_EQ(IdentToColor(entry.Identifier), entry.Value) << entry.Identifier;
        EXPECT_EQ(ColorToIdent(entry.Value), entry.Identifier) << entry.Identifier;
    }
    EXPECT_EQ(values.size(), table.size());
    EXPECT_EQ(identifiers.size(), table.size());
}

TEST(ColorTableTest, EntriesStandInTableOrder)
{
    const auto table = ColorTable();
    const std::pair<std::size_t, std::pair<std::string_view, TColor>> checks[] = {
        {0, {"clBlack", 0x00000000}},       {15, {"clWhite", 0x00FFFFFF}},
        {16, {"clMoneyGreen", 0x00C0DCC0}}, {17, {"clSkyBlue", 0x00F0CAA6}},
        {18, {"clCream", 0x00F0FBFF}},      {19, {"clMedGray", 0x00A4A0A0}},
        {20, {"clActiveBorder", 0xFF00000A}}, {29, {"clDefault", 0x20000000}},
        {45, {"clNone", 0x1FFFFFFF}},       {46, {"clScrollBar", 0xFF000000}},
        {47, {"cl3DDkShadow", 0xFF000015}}, {51, {"clWindowText", 0xFF000008}},
    };
    for (const auto& [index, entry] : checks) {
        EXPECT_EQ(table[index].Identifier, entry.first) << index;
        EXPECT_EQ(table[index].Value, entry.second) << index;
    }
}

TEST(ColorTableTest, PickerOffersTheTableWithoutNoneAndDefault)
{
    const auto table = ColorTable();
    const auto picker = PickerColors();
    ASSERT_EQ(picker.size(), 50u);
    std::size_t next = 0;
    for (const TColorEntry& entry : table) {
        if (entry.Value == clNone || entry.Value == clDefault)
            continue;
        ASSERT_LT(next, picker.size());
        EXPECT_EQ(picker[next].Identifier, entry.Identifier);
        ++next;
    }
    EXPECT_EQ(next, picker.size());
}

struct TIdentCase
{
    std::string_view Text;
    std::optional<TColor> Expected;
};

class IdentToColorTest : public ::testing::TestWithParam<TIdentCase>
{
};

TEST_P(IdentToColorTest, MatchesWholeIdentifierIgnoringAsciiCase)
{
    EXPECT_EQ(IdentToColor(GetParam().Text), GetParam().Expected) << GetParam().Text;
}

INSTANTIATE_TEST_SUITE_P(
    Identifiers, IdentToColorTest,
    ::testing::Values(TIdentCase{"clRed", clRed}, TIdentCase{"CLRED", clRed},
                      TIdentCase{"clwindow", clWindow}, TIdentCase{"CL3DDKSHADOW", cl3DDkShadow},
                      TIdentCase{"clNone", clNone}, TIdentCase{"", std::nullopt},
                      TIdentCase{"clBlu", std::nullopt}, TIdentCase{"clBluee", std::nullopt},
                      TIdentCase{" clBlue", std::nullopt}, TIdentCase{"Red", std::nullopt},
                      TIdentCase{"255", std::nullopt}));

TEST(ColorTableTest, ColourOutsideTheTableHasNoIdentifier)
{
    EXPECT_FALSE(ColorToIdent(0x00CCFFCC).has_value());
    EXPECT_FALSE(ColorToIdent(0xFF000019).has_value()); // a system colour index the table lacks
}

} // namespace
