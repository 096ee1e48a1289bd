// The highlighter base and the token attribute, seen through the RS274 highlighter: the sorted
// attribute list, change notices, copying one highlighter into another, and the fixed values.
#include "SynHighlighterRS274.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

class TTokenAttributeTest : public ::testing::Test
{
protected:
    TTokenAttributeTest()
    {
        attribute.OnChange = [this](TTokenAttribute& changed) {
            EXPECT_EQ(&changed, &attribute);
            ++notices;
        };
    }

    TTokenAttribute attribute{"Number"};
    int notices = 0;
};

TEST_F(TTokenAttributeTest, NewAttributeHasNoColoursAndNoStyle)
{
    EXPECT_EQ(attribute.Name(), "Number");
    EXPECT_EQ(attribute.Background(), clNone);
    EXPECT_EQ(attribute.Foreground(), clNone);
    EXPECT_EQ(attribute.Style(), 0);
}

TEST_F(TTokenAttributeTest, OnlyARealChangeRaisesANotice)
{
    attribute.SetForeground(clRed);
    attribute.SetForeground(clRed);
    attribute.SetBackground(clWindow);
    attribute.SetBackground(clWindow);
    attribute.SetStyle(fsBold | fsStrikeOut);
    attribute.SetStyle(fsBold | fsStrikeOut);
    EXPECT_EQ(notices, 3);
    EXPECT_EQ(attribute.Foreground(), clRed);
    EXPECT_EQ(attribute.Background(), clWindow);
    EXPECT_EQ(attribute.Style(), fsBold | fsStrikeOut);
}

TEST_F(TTokenAttributeTest, AssignCopiesEverythingWithOneNotice)
{
    TTokenAttribute source("Other name");
    source.SetForeground(clBlue);
    source.SetBackground(clCream);
    source.SetStyle(fsUnderline);
    attribute.Assign(source);
    EXPECT_EQ(notices, 1);
    EXPECT_EQ(attribute.Name(), "Other name");
    EXPECT_EQ(attribute.Foreground(), clBlue);
    EXPECT_EQ(attribute.Background(), clCream);
    EXPECT_EQ(attribute.Style(), fsUnderline);
    attribute.Assign(source);
    EXPECT_EQ(notices, 1);
}

TEST_F(TTokenAttributeTest, SavedDefaultsSurviveLaterChanges)
{
    attribute.SetForeground(clTeal);
    attribute.SaveDefaults();
    attribute.SetForeground(clRed);
    EXPECT_EQ(attribute.DefaultForeground(), clTeal);
    EXPECT_EQ(attribute.DefaultBackground(), clNone);
    EXPECT_EQ(attribute.DefaultStyle(), 0);
}

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
    const std::vector<std::string> expected = {"Arc",  "Axis",   "Comment",       "General",
                                               "Identifier", "Misc", "Number", "Reserved Word",
                                               "Speed", "String"};
    ASSERT_EQ(syn.AttributeCount(), 10);
    for (int i = 0; i < syn.AttributeCount(); ++i)
        EXPECT_EQ(syn.AttributeAt(i)->Name(), expected[static_cast<std::size_t>(i)]);
    EXPECT_EQ(syn.AttributeAt(7), &syn.KeyAttri);
    EXPECT_EQ(syn.AttributeAt(10), nullptr);
    EXPECT_EQ(syn.AttributeAt(-1), nullptr);
}

TEST_F(THighlighterTest, RegisteringInsertsAtTheSortedPlace)
{
    struct TExtended : TSynRC274Syn
    {
        using THighlighter::RegisterAttribute;
    } extended;
    TTokenAttribute& first = extended.RegisterAttribute(std::make_unique<TTokenAttribute>("arc"));
    TTokenAttribute& middle = extended.RegisterAttribute(std::make_unique<TTokenAttribute>("numbers"));
    TTokenAttribute& last = extended.RegisterAttribute(std::make_unique<TTokenAttribute>("ZZ"));
    EXPECT_EQ(extended.AttributeAt(0), &extended.ArcAttri);
    EXPECT_EQ(extended.AttributeAt(1), &first);   // equal names keep registration order
    EXPECT_EQ(extended.AttributeAt(7), &extended.NumberAttri);
    EXPECT_EQ(extended.AttributeAt(8), &middle);
    EXPECT_EQ(extended.AttributeAt(9), &extended.KeyAttri);
    EXPECT_EQ(extended.AttributeAt(12), &last);

    int notices = 0;
    Listen(extended, notices);
    middle.SetStyle(fsBold);
    EXPECT_EQ(notices, 1);
}

TEST_F(THighlighterTest, AttributeValuesAfterConstruction)
{
    struct TExpected
    {
        TTokenAttribute* attribute;
        TColor foreground;
        TColor background;
        TFontStyles style;
    };
    const TExpected table[] = {
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
    for (const TExpected& e : table)
    {
        SCOPED_TRACE(e.attribute->Name());
        EXPECT_EQ(e.attribute->Foreground(), e.foreground);
        EXPECT_EQ(e.attribute->Background(), e.background);
        EXPECT_EQ(e.attribute->Style(), e.style);
        EXPECT_EQ(e.attribute->DefaultForeground(), e.foreground);
        EXPECT_EQ(e.attribute->DefaultBackground(), e.background);
        EXPECT_EQ(e.attribute->DefaultStyle(), e.style);
    }
}

TEST_F(THighlighterTest, DefaultAttributeByRole)
{
    EXPECT_EQ(syn.DefaultAttribute(kRoleComment), &syn.CommentAttri);
    EXPECT_EQ(syn.DefaultAttribute(kRoleIdentifier), &syn.IdentifierAttri);
    EXPECT_EQ(syn.DefaultAttribute(kRoleKeyword), &syn.KeyAttri);
    EXPECT_EQ(syn.DefaultAttribute(kRoleString), &syn.StringAttri);
    EXPECT_EQ(syn.DefaultAttribute(kRoleWhiteSpace), nullptr);
    EXPECT_EQ(syn.DefaultAttribute(-1), nullptr);
}

TEST_F(THighlighterTest, FixedTexts)
{
    EXPECT_EQ(syn.LanguageTitle(), "RS274");
    EXPECT_EQ(syn.DefaultFilter(), "RS274/NGC files (*.cnc,*.ngc,*.gcode)|*.cnc;*.ngc;*.gcode");
    EXPECT_FALSE(syn.IsFilterStored());
    syn.SetDefaultFilter("G-code (*.nc)|*.nc");
    EXPECT_TRUE(syn.IsFilterStored());
    EXPECT_TRUE(syn.Enabled());
    EXPECT_EQ(syn.LineState(), rsPlain);
}

TEST_F(THighlighterTest, IdentifierCharsAreTheRunBytes)
{
    const TCharSet& chars = syn.IdentifierChars();
    EXPECT_EQ(chars.count(), 63u);
    for (const unsigned char c : {'.', '0', '9', 'A', 'Z', 'a', 'z'})
        EXPECT_TRUE(chars.test(c)) << c;
    for (const int c : std::initializer_list<int>{'_', ' ', '-', '/', '@', '[', '`', '{', 0xC3, 0xFF})
        EXPECT_FALSE(chars.test(static_cast<std::size_t>(c))) << c;
}

TEST_F(THighlighterTest, EnabledTellsListenersOnlyOnChange)
{
    int notices = 0;
    Listen(syn, notices);
    syn.SetEnabled(true);
    EXPECT_EQ(notices, 0);
    syn.SetEnabled(false);
    EXPECT_EQ(notices, 1);
    EXPECT_FALSE(syn.Enabled());
    syn.NumberAttri.SetStyle(fsUnderline);
    EXPECT_EQ(notices, 2);
}

TEST_F(THighlighterTest, RemovedListenerHearsNothing)
{
    int kept = 0;
    int removed = 0;
    Listen(syn, kept);
    const auto id = syn.AddChangeListener([&removed] { ++removed; });
    syn.RemoveChangeListener(id);
    syn.AxisAttri.SetForeground(clBlack);
    EXPECT_EQ(kept, 1);
    EXPECT_EQ(removed, 0);
}

TEST_F(THighlighterTest, ListenerMayRemoveItselfAndOthersWhileBeingTold)
{
    int second = 0;
    THighlighter::TListenerId secondId = 0;
    THighlighter::TListenerId firstId = 0;
    firstId = syn.AddChangeListener([&] {
        syn.RemoveChangeListener(firstId);
        syn.RemoveChangeListener(secondId);
    });
    secondId = syn.AddChangeListener([&second] { ++second; });
    syn.SetEnabled(false);
    syn.SetEnabled(true);
    EXPECT_EQ(second, 0);
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
    for (int i = 0; i < syn.AttributeCount(); ++i)
        EXPECT_NE(syn.AttributeAt(i), source.AttributeAt(i));

    syn.CopyFrom(source);
    EXPECT_EQ(notices, 4);
}

TEST_F(THighlighterTest, CopyFromMatchesNamesExactly)
{
    // "number" differs from the source's "Number" only in case: it has no namesake and keeps
    // its values, while "Number" itself is copied.
    struct TExtended : TSynRC274Syn
    {
        using THighlighter::RegisterAttribute;
    } target;
    TTokenAttribute& lower = target.RegisterAttribute(std::make_unique<TTokenAttribute>("number"));
    lower.SetForeground(clOlive);
    TSynRC274Syn source;
    source.NumberAttri.SetForeground(clPurple);
    target.CopyFrom(source);
    EXPECT_EQ(target.NumberAttri.Foreground(), clPurple);
    EXPECT_EQ(lower.Foreground(), clOlive);
    EXPECT_EQ(target.AttributeCount(), 11);
}

} // namespace
