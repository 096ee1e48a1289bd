#include "settings/Settings.h"

#include "highlight/SynHighlighterRS274.h"
#include "settings/IniFile.h"
#include "settings/SettingsTable.h"
#include "settings/ViewSettings.h"
#include "tests/settings/SettingsTestFolder.h"
#include "tests/support/FileSizeLimit.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>

namespace {

class ParseIntegerTest
    : public ::testing::TestWithParam<std::pair<std::string_view, std::optional<std::int32_t>>>
{};

TEST_P(ParseIntegerTest, ReadsDecimalAndHexadecimalOrNothing)
{
    EXPECT_EQ(ParseInteger(GetParam().first), GetParam().second) << '"' << GetParam().first << '"';
}

using TIntCase = std::pair<std::string_view, std::optional<std::int32_t>>;
constexpr std::optional<std::int32_t> kNoInteger;

INSTANTIATE_TEST_SUITE_P(
    Texts, ParseIntegerTest,
    ::testing::Values(TIntCase{"  -16777211", -16777211}, TIntCase{"+007", 7}, TIntCase{"$FF", 255},
                      TIntCase{"0Xff", 255}, TIntCase{"0x1", 1}, TIntCase{"-$1", -1},
                      TIntCase{"0xFF000005", -16777211}, TIntCase{"-2147483648", INT32_MIN},
                      TIntCase{"2147483648", kNoInteger}, TIntCase{"$100000000", kNoInteger},
                      TIntCase{"", kNoInteger}, TIntCase{"x", kNoInteger},
                      TIntCase{"0x", kNoInteger}, TIntCase{"$", kNoInteger},
                      TIntCase{"-", kNoInteger}, TIntCase{"12a", kNoInteger},
                      TIntCase{"1 ", kNoInteger}, TIntCase{"- 5", kNoInteger},
                      TIntCase{"1.5", kNoInteger}));

class SettingsFileNameTest : public ::testing::Test
{
protected:
    ~SettingsFileNameTest() override
    {
        Set("XDG_CONFIG_HOME", FXdg);
        Set("HOME", FHome);
    }
    static std::optional<std::string> Get(const char* name)
    {
        const char* value = std::getenv(name);
        return value ? std::optional<std::string>(value) : std::nullopt;
    }
    static void Set(const char* name, const std::optional<std::string>& value)
    {
        value ? ::setenv(name, value->c_str(), 1) : ::unsetenv(name);
    }

    std::optional<std::string> FXdg = Get("XDG_CONFIG_HOME");
    std::optional<std::string> FHome = Get("HOME");
    TTempFolder FFolder;
};

TEST_F(SettingsFileNameTest, CreatesTheFolderInXdgConfigHomeOrHomeConfig)
{
    Set("XDG_CONFIG_HOME", FFolder.Path().string());
    EXPECT_EQ(SettingsFileName(), FFolder.File("Zorvit/Zorvit.ini"));
    EXPECT_TRUE(std::filesystem::is_directory(FFolder.Path() / "Zorvit"));
    EXPECT_EQ(SettingsFileName(), FFolder.File("Zorvit/Zorvit.ini"));  // the folder exists now

    std::filesystem::create_directory(FFolder.Path() / ".config");
    Set("HOME", FFolder.Path().string());
    Set("XDG_CONFIG_HOME", "relative/config");  // relative values are ignored
    EXPECT_EQ(SettingsFileName(), FFolder.File(".config/Zorvit/Zorvit.ini"));
}

TEST_F(SettingsFileNameTest, CreatesAMissingConfigFolderAndItsParentsForTheUserAlone)
{
    namespace fs = std::filesystem;
    const auto mode = [this](const char* folder) {
        return static_cast<unsigned>(fs::status(FFolder.Path() / folder).permissions());
    };
    constexpr unsigned kUserAlone = 0700;
    Set("XDG_CONFIG_HOME", FFolder.File("new/cfg"));
    EXPECT_EQ(SettingsFileName(), FFolder.File("new/cfg/Zorvit/Zorvit.ini"));
    EXPECT_TRUE(fs::is_directory(FFolder.Path() / "new/cfg/Zorvit"));
    for (const char* created : {"new", "new/cfg"})
        EXPECT_EQ(mode(created), kUserAlone) << created;

    ::unsetenv("XDG_CONFIG_HOME");
    Set("HOME", FFolder.File("home"));
    EXPECT_EQ(SettingsFileName(), FFolder.File("home/.config/Zorvit/Zorvit.ini"));
    EXPECT_EQ(mode("home"), kUserAlone);
    EXPECT_EQ(mode("home/.config"), kUserAlone);
    EXPECT_TRUE(fs::is_directory(FFolder.Path() / "home/.config/Zorvit"));
}

TEST_F(SettingsFileNameTest, EmptyWhenTheFolderCannotBeHad)
{
    WriteWholeFile(FFolder.File("Zorvit"), "a file where the folder should be");
    Set("XDG_CONFIG_HOME", FFolder.Path().string());
    EXPECT_EQ(SettingsFileName(), "");

    Set("XDG_CONFIG_HOME", FFolder.File("Zorvit/cfg"));
    EXPECT_EQ(SettingsFileName(), "");
    ::unsetenv("XDG_CONFIG_HOME");
    ::unsetenv("HOME");
    EXPECT_EQ(SettingsFileName(), "");
}

TEST_F(SettingsFileNameTest, SaysOnceOnStderrThatNoFolderCanBeHad)
{
    // In a fresh process, so that no earlier test has said it already.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    WriteWholeFile(FFolder.File("Zorvit"), "a file where the folder should be");
    Set("XDG_CONFIG_HOME", FFolder.Path().string());
    // The child process makes a temporary folder of its own, so only the name's end is known.
    const auto saidOnce = [](const std::string& err) {
        const std::string reason = "/Zorvit\": Not a directory\n";
        return err.rfind("zorvit: settings are not kept: cannot create the folder \"/", 0) == 0 &&
               err.ends_with(reason) && std::count(err.begin(), err.end(), '\n') == 1;
    };
    EXPECT_EXIT((SettingsFileName(), SettingsFileName(), std::exit(0)),
                ::testing::ExitedWithCode(0), ::testing::Truly(saidOnce));
}

class MotionColorsTest : public ::testing::Test
{
protected:
    TTempFolder FFolder;
    std::string FName = FFolder.File("Zorvit.ini");
};

TEST_F(MotionColorsTest, ValuesThatAreNoIdentifierGiveTheKeyDefault)
{
    WriteWholeFile(FName, "[COLORS]\ng0=clBlu\nG1=CLRED\nG2=\nG3=255\n");
    EXPECT_EQ(ReadMotionColors(TIniFile(FName)), kDefaultMotionColors);
    WriteWholeFile(FName, "[Colors]\nG0=clwindow\nG1=clNone\nG3=clLime\n");
    EXPECT_EQ(ReadMotionColors(TIniFile(FName)),
              (TMotionColors{clWindow, clNone, clOlive, clLime}));
}

TEST_F(MotionColorsTest, UnlistedColourIsStoredAsTheKeyDefault)
{
    TIniFile ini(FName);
    WriteMotionColors(ini, {clScrollBar, clDefault, 0x00CCFFCC, clMoneyGreen});
    EXPECT_EQ(ReadWholeFile(FName),
              "[Colors]\nG0=clScrollBar\nG1=clDefault\nG2=clOlive\nG3=clMoneyGreen\n");
}

TEST_F(MotionColorsTest, AllSettingsAreWrittenAtOnceOrNotAtAll)
{
    // Room for the first keys but not for all of them: a key-by-key write would get part way.
    const std::string original = "[Colors]\nG0=clLime\n";
    WriteWholeFile(FName, original);
    TIniFile ini(FName);
    const TSynRC274Syn highlighter;
    {
        const TFileSizeLimit limit(200);
        EXPECT_THROW(WriteSettings(ini, kDefaultMotionColors, highlighter), EIniFileError);
    }
    EXPECT_EQ(ReadWholeFile(FName), original);
    WriteSettings(ini, kDefaultMotionColors, highlighter);
    EXPECT_EQ(ReadMotionColors(ini), kDefaultMotionColors);
}

}  // namespace

namespace {

// The write rules of the table, each against a file that has the key and one that does not.
struct TWriteRuleCase
{
    TWriteRule Rule;
    const char* Before;
    std::int32_t Value;
    const char* After;
};

class WriteRuleTest : public ::testing::TestWithParam<TWriteRuleCase>
{
protected:
    TTempFolder FFolder;
    std::string FName = FFolder.File("Zorvit.ini");
};

TEST_P(WriteRuleTest, WritesOrRemovesTheKeyAsTheRuleSays)
{
    const TWriteRuleCase& rule = GetParam();
    WriteWholeFile(FName, rule.Before);
    TIniFile ini(FName);
    WriteSetting(ini, TSettingKey{"View", "Key", 0, rule.Rule}, rule.Value);
    EXPECT_EQ(ReadWholeFile(FName), rule.After);
}

constexpr const char* kColors = "[Colors]\nG0=clBlue\n";
constexpr const char* kWithKey = "[Colors]\nG0=clBlue\n\n[View]\nKey=2\n";
constexpr const char* kWithOthers = "[View]\nOther=1\nKey=2\n\n[Colors]\nG0=clBlue\n";

INSTANTIATE_TEST_SUITE_P(
    Rules, WriteRuleTest,
    ::testing::Values(TWriteRuleCase{TWriteRule::UnlessDefault, kColors, 0, kColors},
                      TWriteRuleCase{TWriteRule::UnlessDefault, kColors, 2, kWithKey},
                      TWriteRuleCase{TWriteRule::UnlessDefault, kWithKey, 0,
                                     "[Colors]\nG0=clBlue\n\n[View]\nKey=0\n"},
                      TWriteRuleCase{TWriteRule::KeyWhileNotDefault, kColors, 2, kWithKey},
                      TWriteRuleCase{TWriteRule::KeyWhileNotDefault, kColors, 0, kColors},
                      // Back to the default: the file as it was before the key was written.
                      TWriteRuleCase{TWriteRule::KeyWhileNotDefault, kWithKey, 0, kColors},
                      TWriteRuleCase{TWriteRule::KeyWhileNotDefault, kWithOthers, 0,
                                     "[View]\nOther=1\n\n[Colors]\nG0=clBlue\n"},
                      TWriteRuleCase{TWriteRule::KeyWhileNotDefault, "[VIEW]\nkey=1\n", 0, ""},
                      TWriteRuleCase{TWriteRule::SectionWhileOn, kWithOthers, 0, kColors}));

TEST(ColourByTest, ReadsTheChoiceWrittenAndTheMotionModeForAnythingElse)
{
    TTempFolder folder;
    const std::string name = folder.File("Zorvit.ini");
    TIniFile ini(name);
    for (const TColourBy choice : {TColourBy::ZDepth, TColourBy::FeedRate, TColourBy::MotionMode}) {
        WriteColourBy(ini, choice);
        EXPECT_EQ(ReadColourBy(ini), choice);
    }
    EXPECT_EQ(ReadWholeFile(name), "");
    for (const char* text :
         {"[View]\nColorBy=3\n", "[View]\nColorBy=-1\n", "[View]\nColorBy=x\n"}) {
        WriteWholeFile(name, text);
        EXPECT_EQ(ReadColourBy(ini), TColourBy::MotionMode) << text;
    }
}

}  // namespace
