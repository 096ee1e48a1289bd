// Word help: the keys words are found under, the user's file over the installed one, the word
// under a column, and the help file that is installed.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "edit/WordHelp.h"

namespace {

TEST(TWordHelpTest, WordsAreFoundUnderTheirCode)
{
    EXPECT_EQ(TWordHelp::Key("g01"), "G1");
    EXPECT_EQ(TWordHelp::Key("G38.2"), "G38.2");
    EXPECT_EQ(TWordHelp::Key("M06"), "M6");
    EXPECT_EQ(TWordHelp::Key("x-2.5"), "X");
    EXPECT_EQ(TWordHelp::Key("G[#1]"), "G");
    EXPECT_EQ(TWordHelp::Key("(G1)"), "");
}

TEST(TWordHelpTest, LaterEntriesReplaceEarlierOnesAndLettersAnswerForUnknownCodes)
{
    TWordHelp help;
    help.Add("# comment\nG1\tLinear move.\nG   Preparatory.\nX\tX axis.\nbad-line\n");
    help.Add("G1  Straight cut.\n");
    EXPECT_EQ(help.Lookup("g01"), "G1: Straight cut.");
    EXPECT_EQ(help.Lookup("G64"), "G: Preparatory.");
    EXPECT_EQ(help.Lookup("X12.5"), "X: X axis.");
    EXPECT_EQ(help.Lookup("M3"), "");
}

TEST(TWordHelpTest, TheWordUnderAColumn)
{
    const std::string line = "N10 G01 X 1.5 (G2 here)";
    EXPECT_EQ(WordAt(line, 4), "G01");
    EXPECT_EQ(WordAt(line, 6), "G01");
    EXPECT_EQ(WordAt(line, 9), "X 1.5");
    EXPECT_EQ(WordAt(line, 7), "");   // a blank
    EXPECT_EQ(WordAt(line, 16), "");  // in the comment
    EXPECT_EQ(WordAt(line, 99), "");
}

TEST(TWordHelpTest, TheUserFileOverridesTheInstalledOne)
{
    const std::filesystem::path folder =
        std::filesystem::path(::testing::TempDir()) / "word-help-test";
    std::filesystem::create_directories(folder / "config" / "Zorvit");
    std::ofstream(UserWordHelpPath((folder / "config").string()))
        << "M3\tSpindle on (our shop: check the guard).\n";
    TWordHelp help;
    ASSERT_TRUE(help.AddFile(std::string(ZORVIT_SOURCE_DIR) + "/data/word-help"));
    EXPECT_FALSE(help.AddFile((folder / "missing").string()));
    ASSERT_TRUE(help.AddFile(UserWordHelpPath((folder / "config").string())));
    EXPECT_EQ(help.Lookup("M03"), "M3: Spindle on (our shop: check the guard).");
    EXPECT_NE(help.Lookup("M5"), "");
}

TEST(TWordHelpTest, TheInstalledFileDescribesTheCommonWords)
{
    TWordHelp help;
    ASSERT_TRUE(help.AddFile(std::string(ZORVIT_SOURCE_DIR) + "/data/word-help"));
    for (const char* word :
         {"G0",  "G1",  "G2",  "G3",  "G17",   "G20",   "G21", "G40", "G41", "G43", "G54",
          "G80", "G81", "G90", "G91", "G90.1", "G91.1", "G92", "M2",  "M3",  "M5",  "M6",
          "M30", "F",   "S",   "T",   "X",     "I",     "R",   "N",   "O"})
        EXPECT_EQ(help.Lookup(word).rfind(TWordHelp::Key(word) + ": ", 0), 0U) << word;
}

}  // namespace
