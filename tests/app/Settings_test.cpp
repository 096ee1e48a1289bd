#include "Settings.h"

#include "IniFile.h"
#include "SettingsTestFolder.h"

#include <gtest/gtest.h>

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

TEST_F(SettingsFileNameTest, EmptyWhenTheFolderCannotBeHad)
{
    Set("XDG_CONFIG_HOME", m_folder.File("missing"));
    EXPECT_EQ(SettingsFileName(), "");
    EXPECT_FALSE(std::filesystem::exists(m_folder.Path() / "missing"));

    WriteWholeFile(m_folder.File("Zorvit"), "a file where the folder should be");
    Set("XDG_CONFIG_HOME", m_folder.Path().string());
    EXPECT_EQ(SettingsFileName(), "");
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

} // namespace
