#include "settings/ReadingSettings.h"

#include "settings/IniFile.h"
#include "tests/settings/SettingsTestFolder.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct TReadingCase
{
    TReadingSettings Settings;
    std::string Section;  // what the file holds of them; empty without the section
};

class ReadingSettingsTest : public ::testing::TestWithParam<TReadingCase>
{
protected:
    TTempFolder Folder;
    const std::string FileName = Folder.File("Zorvit.ini");
    // A setting of another section, which writing the reading settings leaves alone.
    const std::string Colours = "[Colors]\nG0=clBlue\n";
};

TEST_P(ReadingSettingsTest, KeepsOnlyWhatDiffersFromTheDefaultsAndReadsItBack)
{
    // Whatever was kept before is replaced, so a key switched back leaves the file.
    WriteWholeFile(FileName,
                   Colours + "\n[Reading]\nLenient=1\nMachinePath=1\nDefaultUnits=inch\n");
    TIniFile file(FileName);
    WriteReadingSettings(file, GetParam().Settings);
    const std::string text = ReadWholeFile(FileName);
    EXPECT_EQ(text.find("[Reading]") != std::string::npos, !GetParam().Section.empty());
    EXPECT_NE(text.find(GetParam().Section), std::string::npos) << text;
    EXPECT_EQ(text.rfind(Colours, 0), 0u) << text;

    const TReadingSettings read = ReadReadingSettings(TIniFile(FileName));
    EXPECT_EQ(read.Lenient, GetParam().Settings.Lenient);
    EXPECT_EQ(read.MachinePath, GetParam().Settings.MachinePath);
    EXPECT_EQ(read.InchWhenNoUnits, GetParam().Settings.InchWhenNoUnits);
}

INSTANTIATE_TEST_SUITE_P(
    Settings, ReadingSettingsTest,
    ::testing::Values(TReadingCase{{false, false, false}, ""},
                      TReadingCase{{true, false, false}, "[Reading]\nLenient=1\n"},
                      TReadingCase{{false, true, false}, "[Reading]\nMachinePath=1\n"},
                      TReadingCase{{false, false, true}, "[Reading]\nDefaultUnits=inch\n"},
                      TReadingCase{{true, true, true},
                                   "[Reading]\nLenient=1\nMachinePath=1\nDefaultUnits=inch\n"}));

TEST(ReadingSettingsReadTest, AMissingFileOrOtherValuesReadAsTheDefaults)
{
    TTempFolder folder;
    const TReadingSettings missing = ReadReadingSettings(TIniFile(folder.File("none.ini")));
    EXPECT_FALSE(missing.Lenient || missing.MachinePath || missing.InchWhenNoUnits);

    WriteWholeFile(folder.File("other.ini"), "[Reading]\nMachinePath=2\nDefaultUnits=mm\n");
    const TReadingSettings other = ReadReadingSettings(TIniFile(folder.File("other.ini")));
    EXPECT_FALSE(other.MachinePath);
    EXPECT_FALSE(other.InchWhenNoUnits);
}

}  // namespace
