// The highlighter base and the token attribute, seen through the RS274 highlighter: the sorted
// attribute list, change notices, copying one highlighter into another, and the fixed values.
#include "highlight/SynHighlighterRS274.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

TEST(TTokenAttributeTest, OnlyARealChangeRaisesANotice)
{
    TTokenAttribute attribute("Number");
    EXPECT_EQ(attribute.Background(), clNone);
    EXPECT_EQ(attribute.Foreground(), clNone);
    EXPECT_EQ(attribute.Style(), 0);
    int notices = 0;
    attribute.OnChange = [&](TTokenAttribute& changed) {
        EXPECT_EQ(&changed, &attribute);
        ++notices;
    };
    for (int twice = 0; twice < 2; ++twice) {
        attribute.SetForeground(clRed);
        attribute.SetBackground(clWindow);
        attribute.SetStyle(fsBold | fsStrikeOut);
    }
    EXPECT_EQ(notices, 3);

    TTokenAttribute source("Other name");
    source.SetForeground(clBlue);
    attribute.Assign(source);
    EXPECT_EQ(notices, 4);  // one notice for three changed values
    EXPECT_EQ(attribute.Name(), "Other name");
    EXPECT_EQ(attribute.Foreground(), clBlue);
    EXPECT_EQ(attribute.Background(), clNone);
    EXPECT_EQ(attribute.Style(), 0);
    attribute.Assign(source);
    EXPECT_EQ(notices, 4);
}

struct TExtendedSyn : TSynRC274Syn
{
    using THighlighter::RegisterAttribute;
};

class THighlighterTest : public ::testing::Test
{
protected:
    void Listen(THighlighter& highlighter, int& counter)
    {
        highlighter.AddChangeListener([&counter] { ++counter; });
    }

    TSynRC274Syn syn;
};

TEST_F(THighlighterTest, AttributesAreListedByNameIgnoringCase)
{
    const std::vector<std::string> expected = {"Arc",        "Axis",  "Comment", "General",
                                               "Identifier", "Misc",  "Number",  "Reserved Word",
                                               "Speed",      "String"};
    ASSERT_EQ(syn.AttributeCount(), 10);
    for (int i = 0; i < syn.AttributeCount(); ++i)
        EXPECT_EQ(syn.AttributeAt(i)->Name(), expected[static_cast<std::size_t>(i)]);
    EXPECT_EQ(syn.AttributeAt(7), &syn.KeyAttri);
    EXPECT_EQ(syn.AttributeAt(10), nullptr);
    EXPECT_EQ(syn.AttributeAt(-1), nullptr);

    TExtendedSyn extended;
    TTokenAttribute& arc = extended.RegisterAttribute(std::make_unique<TTokenAttribute>("arc"));
    TTokenAttribute& numbers =
        extended.RegisterAttribute(std::make_unique<TTokenAttribute>("numbers"));
    EXPECT_EQ(extended.AttributeAt(1), &arc);  // after its equal "Arc"
    EXPECT_EQ(extended.AttributeAt(7), &extended.NumberAttri);
    EXPECT_EQ(extended.AttributeAt(8), &numbers);
    int notices = 0;
    Listen(extended, notices);
    numbers.SetStyle(fsBold);
    EXPECT_EQ(notices, 1);
}

TEST_F(THighlighterTest, AttributeValuesAfterConstruction)
{
    const struct
    {
        TTokenAttribute* attribute;
        TColor foreground;
        TColor background;
        TFontStyles style;
    } table[] = {
        {&syn.ArcAttri, clRed, clWindow, 0},
        {&syn.AxisAttri, clTeal, clWindow, 0},
        {&syn.CommentAttri, clNavy, clWindow, fsItalic},
        {&syn.GeneralAttri, clWindowText, clSilver, fsItalic},
        {&syn.IdentifierAttri, clNavy, clWindow, fsBold},
        {&syn.KeyAttri, clNone, 0xCCFFCC, fsBold},
        {&syn.MiscAttri, clBlue, clWindow, 0},
        {&syn.NumberAttri, clWindowText, clCream, 0},
        {&syn.SpeedAttri, clFuchsia, clWindow, 0},
        {&syn.StringAttri, clRed, clWindow, 0},
    };
    for (const auto& e : table) {
        SCOPED_TRACE(e.attribute->Name());
        EXPECT_EQ(e.attribute->Foreground(), e.foreground);
        EXPECT_EQ(e.attribute->Background(), e.background);
        EXPECT_EQ(e.attribute->Style(), e.style);
    }
}

TEST_F(THighlighterTest, FixedAnswers)
{
    EXPECT_EQ(syn.DefaultAttribute(kRoleComment), &syn.CommentAttri);
    EXPECT_EQ(syn.DefaultAttribute(kRoleIdentifier), &syn.IdentifierAttri);
    EXPECT_EQ(syn.DefaultAttribute(kRoleKeyword), &syn.KeyAttri);
    EXPECT_EQ(syn.DefaultAttribute(kRoleString), &syn.StringAttri);
    EXPECT_EQ(syn.DefaultAttribute(kRoleWhiteSpace), nullptr);
    EXPECT_EQ(syn.DefaultAttribute(-1), nullptr);

    EXPECT_EQ(syn.LanguageTitle(), "RS274");
    EXPECT_EQ(syn.DefaultFilter(), "RS274/NGC files (*.cnc,*.ngc,*.gcode)|*.cnc;*.ngc;*.gcode");
    EXPECT_FALSE(syn.IsFilterStored());
    syn.SetDefaultFilter("G-code (*.nc)|*.nc");
    EXPECT_TRUE(syn.IsFilterStored());
    EXPECT_TRUE(syn.Enabled());

    TCharSet expected;
    for (const char c :
         std::string_view(".0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"))
        expected.set(static_cast<unsigned char>(c));
    EXPECT_EQ(syn.IdentifierChars(), expected);
}

TEST_F(THighlighterTest, ListenersHearRealChangesUntilRemoved)
{
    int kept = 0;
    Listen(syn, kept);
    syn.SetEnabled(true);
    syn.SetEnabled(false);
    syn.NumberAttri.SetStyle(fsUnderline);
    EXPECT_EQ(kept, 2);

    // A listener may remove itself and others while being told.
    int second = 0;
    THighlighter::TListenerId firstId = 0;
    THighlighter::TListenerId secondId = 0;
    firstId = syn.AddChangeListener([&] {
        syn.RemoveChangeListener(firstId);
        syn.RemoveChangeListener(secondId);
    });
    secondId = syn.AddChangeListener([&second] { ++second; });
    syn.SetEnabled(true);
    syn.SetEnabled(false);
    EXPECT_EQ(second, 0);
    EXPECT_EQ(kept, 4);
}

TEST_F(THighlighterTest, CopyFromCopiesAttributesFilterAndEnabled)
{
    TSynRC274Syn source;
    source.NumberAttri.SetStyle(fsUnderline | fsStrikeOut);
    source.KeyAttri.SetForeground(clMaroon);
    source.CommentAttri.SetBackground(clYellow);
    source.SetDefaultFilter("NC (*.nc)|*.nc");
    source.SetEnabled(false);

    int notices = 0;
    Listen(syn, notices);
    syn.CopyFrom(source);
    EXPECT_EQ(notices, 4);  // three attributes and Enabled
    EXPECT_EQ(syn.NumberAttri.Style(), fsUnderline | fsStrikeOut);
    EXPECT_EQ(syn.KeyAttri.Foreground(), clMaroon);
    EXPECT_EQ(syn.CommentAttri.Background(), clYellow);
    EXPECT_EQ(syn.DefaultFilter(), "NC (*.nc)|*.nc");
    EXPECT_FALSE(syn.Enabled());
    syn.CopyFrom(source);
    EXPECT_EQ(notices, 4);
}

TEST_F(THighlighterTest, CopyFromMatchesNamesExactly)
{
    // "number" differs from the source's "Number" only in case: it has no namesake and keeps
    // its values, while "Number" itself is copied.
    TExtendedSyn target;
    TTokenAttribute& lower = target.RegisterAttribute(std::make_unique<TTokenAttribute>("number"));
    lower.SetForeground(clOlive);
    syn.NumberAttri.SetForeground(clPurple);
    target.CopyFrom(syn);
    EXPECT_EQ(target.NumberAttri.Foreground(), clPurple);
    EXPECT_EQ(lower.Foreground(), clOlive);
}

}  // namespace
