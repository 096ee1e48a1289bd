#include "settings/Settings.h"

#include "highlight/SynHighlighterRS274.h"
#include "settings/IniFile.h"
#include "tests/settings/SettingsTestFolder.h"

#include <gtest/gtest.h>

namespace {

class SettingsAttributesTest : public ::testing::Test
{
protected:
    TTempFolder FFolder;
    std::string FName = FFolder.File("Zorvit.ini");
    TSynRC274Syn FHighlighter;
};

TEST_F(SettingsAttributesTest, FirstRunWritesTheDefaultsInOrder)
{
    TIniFile ini(FName);
    TMotionColors colours{};
    ReadSettings(ini, colours, FHighlighter);
    EXPECT_EQ(colours, kDefaultMotionColors);
    WriteSettings(ini, colours, FHighlighter);

    const char* const expected =
        "[Colors]\nG0=clBlue\nG1=clRed\nG2=clOlive\nG3=clTeal\n"
        "\n[Arc]\nBackground=-16777211\nForeground=255\nStyle=0\n"
        "\n[Axis]\nBackground=-16777211\nForeground=8421376\nStyle=0\n"
        "\n[Comment]\nBackground=-16777211\nForeground=8388608\nStyle=2\n"
        "\n[General]\nBackground=12632256\nForeground=-16777208\nStyle=2\n"
        "\n[Identifier]\nBackground=-16777211\nForeground=8388608\nStyle=1\n"
        "\n[Misc]\nBackground=-16777211\nForeground=16711680\nStyle=0\n"
        "\n[Number]\nBackground=15793151\nForeground=-16777208\nStyle=0\n"
        "\n[Reserved Word]\nBackground=13434828\nForeground=536870911\nStyle=1\n"
        "\n[Speed]\nBackground=-16777211\nForeground=16711935\nStyle=0\n"
        "\n[String]\nBackground=-16777211\nForeground=255\nStyle=0\n";
    EXPECT_EQ(ReadWholeFile(FName), expected);

    // A second save of the same values leaves the file as it was.
    WriteSettings(ini, colours, FHighlighter);
    EXPECT_EQ(ReadWholeFile(FName), expected);
}

TEST_F(SettingsAttributesTest, SavedValuesComeBackIntoAFreshHighlighter)
{
    FHighlighter.KeyAttri.SetBackground(clNone);
    FHighlighter.KeyAttri.SetForeground(0x00123456);
    FHighlighter.StringAttri.SetStyle(fsBold | fsStrikeOut);
    TIniFile ini(FName);
    WriteSettings(ini, {clLime, clWindow, clNone, clBlack}, FHighlighter);

    TSynRC274Syn fresh;
    int notices = 0;
    fresh.AddChangeListener([&notices] { ++notices; });
    TMotionColors colours{};
    ReadSettings(ini, colours, fresh);
    EXPECT_EQ(colours, (TMotionColors{clLime, clWindow, clNone, clBlack}));
    EXPECT_EQ(fresh.KeyAttri.Background(), clNone);
    EXPECT_EQ(fresh.KeyAttri.Foreground(), 0x00123456u);
    EXPECT_EQ(fresh.StringAttri.Style(), fsBold | fsStrikeOut);
    EXPECT_EQ(notices, 3);  // only the three values that differ from the defaults
}

struct TAttributeCase
{
    const char* Section;  // the file's text after the "[Comment]" line
    TColor Background;
    TColor Foreground;
    TFontStyles Style;
};

class ReadAttributeTest : public ::testing::TestWithParam<TAttributeCase>
{};

// The Comment attribute starts as clWindow on clNavy, italic.
TEST_P(ReadAttributeTest, ReadsTheCommentSection)
{
    const TTempFolder folder;
    const std::string name = folder.File("Zorvit.ini");
    WriteWholeFile(name, std::string("[Arc]\nStyle=1\n[Comment]\n") + GetParam().Section +
                             "\n[Number]\nStyle=4\n");
    TSynRC274Syn highlighter;
    ReadAttribute(TIniFile(name), highlighter.CommentAttri);
    EXPECT_EQ(highlighter.CommentAttri.Background(), GetParam().Background) << GetParam().Section;
    EXPECT_EQ(highlighter.CommentAttri.Foreground(), GetParam().Foreground) << GetParam().Section;
    EXPECT_EQ(highlighter.CommentAttri.Style(), GetParam().Style) << GetParam().Section;
}

INSTANTIATE_TEST_SUITE_P(
    Values, ReadAttributeTest,
    ::testing::Values(TAttributeCase{"Style=7", clWindow, clNavy, fsBold | fsItalic | fsUnderline},
                      TAttributeCase{"Style=16", clWindow, clNavy, 0},
                      TAttributeCase{"Style=x", clWindow, clNavy, fsItalic},
                      TAttributeCase{"Style=31", clWindow, clNavy, 15},
                      TAttributeCase{"Background=0xFF", clRed, clNavy, fsItalic},
                      TAttributeCase{"Background=$FF", clRed, clNavy, fsItalic},
                      TAttributeCase{"background=-16777208\nFOREGROUND=536870911", clWindowText,
                                     clNone, fsItalic},
                      TAttributeCase{"Foreground=", clWindow, clNavy, fsItalic},
                      TAttributeCase{"", clWindow, clNavy, fsItalic},
                      TAttributeCase{"Colour=255\n; Style=0", clWindow, clNavy, fsItalic}));

TEST_F(SettingsAttributesTest, FailedSaveReportsTheFileNameAndEmptyNameSavesNothing)
{
    const std::string inMissingFolder = FFolder.File("gone/Zorvit.ini");
    TIniFile ini(inMissingFolder);
    try {
        WriteSettings(ini, kDefaultMotionColors, FHighlighter);
        FAIL() << "no error raised";
    } catch (const EZorvitError& error) {
        EXPECT_EQ(std::string(error.what()), "Unable to write to " + inMissingFolder);
    }

    TIniFile unnamed("");
    EXPECT_NO_THROW(WriteSettings(unnamed, {clLime, clLime, clLime, clLime}, FHighlighter));
    TMotionColors colours{};
    ReadSettings(unnamed, colours, FHighlighter);
    EXPECT_EQ(colours, kDefaultMotionColors);
}

}  // namespace
