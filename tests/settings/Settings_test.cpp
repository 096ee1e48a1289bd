#include "settings/Settings.h"

#include "settings/IniFile.h"
#include "tests/settings/SettingsTestFolder.h"
#include "highlight/SynHighlighterRS274.h"
#include "tests/support/FileSizeLimit.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>

namespace {

class ParseIntegerTest : public ::testing::TestWithParam<std::pair<std::string_view, std::optional<std::int32_t>>>
{
};

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
                      TIntCase{"", kNoInteger}, TIntCase{"x", kNoInteger}, TIntCase{"0x", kNoInteger},
                      TIntCase{"$", kNoInteger}, TIntCase{"-", kNoInteger}, TIntCase{"12a", kNoInteger},
                      TIntCase{"1 ", kNoInteger}, TIntCase{"- 5", kNoInteger}, TIntCase{"1.5", kNoInteger}));

class SettingsFileNameTest : public ::testing::Test
{
protected:
    ~SettingsFileNameTest() override
    {
        Set("XDG_CONFIG_HOME", m_xdg);
        Set("HOME", m_home);
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

    std::optional<std::string> m_xdg = Get("XDG_CONFIG_HOME");
    std::optional<std::string> m_home = Get("HOME");
    TTempFolder m_folder;
};

TEST_F(SettingsFileNameTest, CreatesTheFolderInXdgConfigHomeOrHomeConfig)
{
    Set("XDG_CONFIG_HOME", m_folder.Path().string());
    EXPECT_EQ(SettingsFileName(), m_folder.File("Zorvit/Zorvit.ini"));
    EXPECT_TRUE(std::filesystem::is_directory(m_folder.Path() / "Zorvit"));
    EXPECT_EQ(SettingsFileName(), m_folder.File("Zorvit/Zorvit.ini")); // the folder exists now

    std::filesystem::create_directory(m_folder.Path() / ".config");
    Set("HOME", m_folder.Path().string());
    Set("XDG_CONFIG_HOME", "relative/config"); // relative values are ignored
    EXPECT_EQ(SettingsFileName(), m_folder.File(".config/Zorvit/Zorvit.ini"));
}

TEST_F(SettingsFileNameTest, CreatesAMissingConfigFolderAndItsParentsForTheUserAlone)
{
    namespace fs = std::filesystem;
    const auto mode = [this](const char* folder) {
        return static_cast<unsigned>(fs::status(m_folder.Path() / folder).permissions());
    };
    constexpr unsigned kUserAlone = 0700;
    Set("XDG_CONFIG_HOME", m_folder.File("new/cfg"));
    EXPECT_EQ(SettingsFileName(), m_folder.File("new/cfg/Zorvit/Zorvit.ini"));
    EXPECT_TRUE(fs::is_directory(m_folder.Path() / "new/cfg/Zorvit"));
    for (const char* created : {"new", "new/cfg"})
        EXPECT_EQ(mode(created), kUserAlone) << created;

    ::unsetenv("XDG_CONFIG_HOME");
    Set("HOME", m_folder.File("home"));
    EXPECT_EQ(SettingsFileName(), m_folder.File("home/.config/Zorvit/Zorvit.ini"));
    EXPECT_EQ(mode("home"), kUserAlone);
    EXPECT_EQ(mode("home/.config"), kUserAlone);
    EXPECT_TRUE(fs::is_directory(m_folder.Path() / "home/.config/Zorvit"));
}

TEST_F(SettingsFileNameTest, EmptyWhenTheFolderCannotBeHad)
{
    WriteWholeFile(m_folder.File("Zorvit"), "a file where the folder should be");
    Set("XDG_CONFIG_HOME", m_folder.Path().string());
    EXPECT_EQ(SettingsFileName(), "");

    Set("XDG_CONFIG_HOME", m_folder.File("Zorvit/cfg"));
    EXPECT_EQ(SettingsFileName(), "");
    ::unsetenv("XDG_CONFIG_HOME");
    ::unsetenv("HOME");
    EXPECT_EQ(SettingsFileName(), "");
}

TEST_F(SettingsFileNameTest, SaysOnceOnStderrThatNoFolderCanBeHad)
{
    // In a fresh process, so that no earlier test has said it already.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    WriteWholeFile(m_folder.File("Zorvit"), "a file where the folder should be");
    Set("XDG_CONFIG_HOME", m_folder.Path().string());
    // The child process makes a temporary folder of its own, so only the name's end is known.
    const auto saidOnce = [](const std::string& err) {
        const std::string reason = "/Zorvit\": Not a directory\n";
        return err.rfind("zorvit: settings are not kept: cannot create the folder \"/", 0) == 0 &&
               err.ends_with(reason) && std::count(err.begin(), err.end(), '\n') == 1;
    };
    EXPECT_EXIT((SettingsFileName(), SettingsFileName(), std::exit(0)), ::testing::ExitedWithCode(0),
                ::testing::Truly(saidOnce));
}

class MotionColorsTest : public ::testing::Test
{
protected:
    TTempFolder m_folder;
    std::string m_name = m_folder.File("Zorvit.ini");
};

TEST_F(MotionColorsTest, ValuesThatAreNoIdentifierGiveTheKeyDefault)
{
    WriteWholeFile(m_name, "[COLORS]\ng0=clBlu\nG1=CLRED\nG2=\nG3=255\n");
    EXPECT_EQ(ReadMotionColors(TIniFile(m_name)), kDefaultMotionColors);
    WriteWholeFile(m_name, "[Colors]\nG0=clwindow\nG1=clNone\nG3=clLime\n");
    EXPECT_EQ(ReadMotionColors(TIniFile(m_name)), (TMotionColors{clWindow, clNone, clOlive, clLime}));
}

TEST_F(MotionColorsTest, UnlistedColourIsStoredAsTheKeyDefault)
{
    TIniFile ini(m_name);
    WriteMotionColors(ini, {clScrollBar, clDefault, 0x00CCFFCC, clMoneyGreen});
    EXPECT_EQ(ReadWholeFile(m_name), "[Colors]\nG0=clScrollBar\nG1=clDefault\nG2=clOlive\nG3=clMoneyGreen\n");
}

TEST_F(MotionColorsTest, AllSettingsAreWrittenAtOnceOrNotAtAll)
{
    // Room for the first keys but not for all of them: a key-by-key write would get part way.
    const std::string original = "[Colors]\nG0=clLime\n";
    WriteWholeFile(m_name, original);
    TIniFile ini(m_name);
    const TSynRC274Syn highlighter;
    {
        const TFileSizeLimit limit(200);
        EXPECT_THROW(WriteSettings(ini, kDefaultMotionColors, highlighter), EIniFileError);
    }
    EXPECT_EQ(ReadWholeFile(m_name), original);
    WriteSettings(ini, kDefaultMotionColors, highlighter);
    EXPECT_EQ(ReadMotionColors(ini), kDefaultMotionColors);
}

} // namespace
