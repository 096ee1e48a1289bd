#include "Settings.h"

#include "IniFile.h"
#include "SettingsTestFolder.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

struct TIntegerCase
{
    std::string_view Text;
    std::optional<std::int32_t> Expected;
};

class ParseIntegerTest : public ::testing::TestWithParam<TIntegerCase>
{
};

TEST_P(ParseIntegerTest, ReadsDecimalAndHexadecimalOrNothing)
{
    EXPECT_EQ(ParseInteger(GetParam().Text), GetParam().Expected) << '"' << GetParam().Text << '"';
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ParseIntegerTest,
    ::testing::Values(TIntegerCase{"255", 255}, TIntegerCase{"  -16777211", -16777211},
                      TIntegerCase{"+7", 7}, TIntegerCase{"007", 7}, TIntegerCase{"$FF", 255},
                      TIntegerCase{"0xFF", 255}, TIntegerCase{"0Xff", 255}, TIntegerCase{"0x1", 1},
                      TIntegerCase{"-$1", -1}, TIntegerCase{"0xFF000005", -16777211},
                      TIntegerCase{"$FFFFFFFF", -1}, TIntegerCase{"2147483647", 2147483647},
                      TIntegerCase{"-2147483648", INT32_MIN}, TIntegerCase{"2147483648", std::nullopt},
                      TIntegerCase{"$100000000", std::nullopt}, TIntegerCase{"", std::nullopt},
                      TIntegerCase{"   ", std::nullopt}, TIntegerCase{"x", std::nullopt},
                      TIntegerCase{"0x", std::nullopt}, TIntegerCase{"$", std::nullopt},
                      TIntegerCase{"-", std::nullopt}, TIntegerCase{"12a", std::nullopt},
                      TIntegerCase{"1 ", std::nullopt}, TIntegerCase{"- 5", std::nullopt},
                      TIntegerCase{"$FG", std::nullopt}, TIntegerCase{"1.5", std::nullopt}));

// Points XDG_CONFIG_HOME and HOME somewhere for one test and puts them back afterwards.
class TEnvironment
{
public:
    TEnvironment() : m_xdg(Saved("XDG_CONFIG_HOME")), m_home(Saved("HOME")) {}
    ~TEnvironment()
    {
        Restore("XDG_CONFIG_HOME", m_xdg);
        Restore("HOME", m_home);
    }
    TEnvironment(const TEnvironment&) = delete;
    TEnvironment& operator=(const TEnvironment&) = delete;

    static void Set(const char* name, const std::optional<std::string>& value) { Restore(name, value); }

private:
    static std::optional<std::string> Saved(const char* name)
    {
        const char* value = std::getenv(name);
        return value ? std::optional<std::string>(value) : std::nullopt;
    }
    static void Restore(const char* name, const std::optional<std::string>& value)
    {
        if (value)
            ::setenv(name, value->c_str(), 1);
        else
            ::unsetenv(name);
    }
    std::optional<std::string> m_xdg;
    std::optional<std::string> m_home;
};

class SettingsFileNameTest : public ::testing::Test
{
protected:
    TEnvironment m_environment;
    TTempFolder m_folder;
};

TEST_F(SettingsFileNameTest, CreatesTheFolderInsideXdgConfigHome)
{
    TEnvironment::Set("XDG_CONFIG_HOME", m_folder.Path().string());
    const std::string expected = m_folder.File("Zorvit/Zorvit.ini");
    EXPECT_EQ(SettingsFileName(), expected);
    EXPECT_TRUE(std::filesystem::is_directory(m_folder.Path() / "Zorvit"));
    EXPECT_EQ(SettingsFileName(), expected); // the folder exists now
}

TEST_F(SettingsFileNameTest, FallsBackToDotConfigInHome)
{
    std::filesystem::create_directory(m_folder.Path() / ".config");
    TEnvironment::Set("HOME", m_folder.Path().string());
    for (const std::optional<std::string>& xdg : {std::optional<std::string>(), std::optional<std::string>(""),
                                                  std::optional<std::string>("relative/config")}) {
        TEnvironment::Set("XDG_CONFIG_HOME", xdg);
        EXPECT_EQ(SettingsFileName(), m_folder.File(".config/Zorvit/Zorvit.ini")) << xdg.value_or("unset");
    }
}

TEST_F(SettingsFileNameTest, EmptyWhenTheFolderCannotBeHad)
{
    TEnvironment::Set("XDG_CONFIG_HOME", m_folder.File("missing"));
    EXPECT_EQ(SettingsFileName(), "");
    EXPECT_FALSE(std::filesystem::exists(m_folder.Path() / "missing"));

    WriteWholeFile(m_folder.File("Zorvit"), "a file where the folder should be");
    TEnvironment::Set("XDG_CONFIG_HOME", m_folder.Path().string());
    EXPECT_EQ(SettingsFileName(), "");

    TEnvironment::Set("XDG_CONFIG_HOME", std::nullopt);
    TEnvironment::Set("HOME", std::nullopt);
    EXPECT_EQ(SettingsFileName(), "");
}

class MotionColorsTest : public ::testing::Test
{
protected:
    TTempFolder m_folder;
    std::string m_name = m_folder.File("Zorvit.ini");
};

TEST_F(MotionColorsTest, MissingFileGivesDefaultsAndWritingStoresIdentifiers)
{
    TIniFile ini(m_name);
    EXPECT_EQ(ReadMotionColors(ini), (TMotionColors{clBlue, clRed, clOlive, clTeal}));
    WriteMotionColors(ini, ReadMotionColors(ini));
    EXPECT_EQ(ReadWholeFile(m_name), "[Colors]\nG0=clBlue\nG1=clRed\nG2=clOlive\nG3=clTeal\n");
}

TEST_F(MotionColorsTest, ValuesThatAreNoIdentifierGiveTheKeyDefault)
{
    WriteWholeFile(m_name, "[COLORS]\ng0=clBlu\nG1=CLRED\nG2=\nG3=255\n");
    EXPECT_EQ(ReadMotionColors(TIniFile(m_name)), (TMotionColors{clBlue, clRed, clOlive, clTeal}));
    WriteWholeFile(m_name, "[Colors]\nG0=clwindow\nG1=clNone\nG3=clLime\n");
    EXPECT_EQ(ReadMotionColors(TIniFile(m_name)), (TMotionColors{clWindow, clNone, clOlive, clLime}));
}

TEST_F(MotionColorsTest, ColoursRoundTripAndUnlistedOnesAreStoredAsTheDefault)
{
    TIniFile ini(m_name);
    WriteMotionColors(ini, {clScrollBar, clDefault, 0x00CCFFCC, clMoneyGreen});
    EXPECT_EQ(ReadWholeFile(m_name), "[Colors]\nG0=clScrollBar\nG1=clDefault\nG2=clOlive\nG3=clMoneyGreen\n");
    EXPECT_EQ(ReadMotionColors(ini), (TMotionColors{clScrollBar, clDefault, clOlive, clMoneyGreen}));
}

} // namespace
