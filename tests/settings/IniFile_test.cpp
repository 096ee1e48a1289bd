#include "settings/IniFile.h"

#include "tests/settings/SettingsTestFolder.h"
#include "tests/support/FileSizeLimit.h"

#include <gtest/gtest.h>

#include <random>
#include <sys/inotify.h>
#include <sys/stat.h>

namespace {

class TIniFileTest : public ::testing::Test
{
protected:
    TTempFolder FFolder;
    std::string FName = FFolder.File("test.ini");
};

TEST_F(TIniFileTest, WriteChangesOnlyItsKeyAndMatchesNamesIgnoringCase)
{
    WriteWholeFile(FName, "; Zorvit settings\r\n"
                          "stray=before any section\r\n"
                          "  [ colors ]  ; plot\r\n"
                          "\tg0 =  clYellow  \r\n"
                          "# a comment\r\n"
                          "G2=clOlive\r\n"
                          "\r\n"
                          "[Other]\r\n"
                          "Key = Value with  spaces\r\n"
                          "[Comment]\r\n"
                          "Style=2");
    TIniFile ini(FName);
    EXPECT_EQ(ini.ReadString("COLORS", "G0", ""), "clYellow");
    EXPECT_EQ(ini.ReadString("Other", "key", ""), "Value with  spaces");
    EXPECT_EQ(ini.ReadString("Colors", "stray", "none"), "none");

    ini.WriteString("Colors", "G0", "clBlue");            // replaced where it stands
    ini.WriteString("Colors", "G1", "clRed");             // after the section's last entry
    ini.WriteString("Comment", "Foreground", "8388608");  // after a last line without break
    ini.WriteString("Number", "Style", "0");              // a new section at the end
    EXPECT_EQ(ReadWholeFile(FName), "; Zorvit settings\r\n"
                                    "stray=before any section\r\n"
                                    "  [ colors ]  ; plot\r\n"
                                    "G0=clBlue\r\n"
                                    "# a comment\r\n"
                                    "G2=clOlive\r\n"
                                    "G1=clRed\r\n"
                                    "\r\n"
                                    "[Other]\r\n"
                                    "Key = Value with  spaces\r\n"
                                    "[Comment]\r\n"
                                    "Style=2\r\n"
                                    "Foreground=8388608\r\n"
                                    "\r\n"
                                    "[Number]\r\n"
                                    "Style=0\r\n");
}

TEST_F(TIniFileTest, ReadsFollowProfileRules)
{
    const std::string longValue(3000, 'v');
    WriteWholeFile(FName, "[S]\nEmpty=\nQuoted=\"  clRed \"\nLong=" + longValue +
                              "\nDup=first\nDup=second\nNoEquals\n; Hidden=1\n[s]\nLate=1\n");
    const TIniFile ini(FName);
    EXPECT_EQ(ini.ReadString("S", "Empty", "default"), "");
    EXPECT_EQ(ini.ReadString("S", "Quoted", ""), "  clRed ");
    EXPECT_EQ(ini.ReadString("S", "Long", ""), longValue.substr(0, TIniFile::kMaxValueLength));
    EXPECT_EQ(ini.ReadString("S", "Dup", ""), "first");
    EXPECT_EQ(ini.ReadString("S", "Late", "only the first section"), "only the first section");
    EXPECT_EQ(ini.ReadSection("S"),
              (std::vector<std::string>{"Empty", "Quoted", "Long", "Dup", "Dup"}));
    EXPECT_TRUE(ini.ReadSection("Missing").empty());
}

TEST_F(TIniFileTest, EntriesThatWouldCorruptTheFileAreRefused)
{
    TIniFile ini(FName);
    EXPECT_THROW(ini.WriteString("Colors", "G0", "clRed\n[Evil]"), EIniFileError);
    EXPECT_THROW(ini.WriteString("Colors", "G=0", "clRed"), EIniFileError);
    EXPECT_THROW(ini.WriteString("Col]ors", "G0", "clRed"), EIniFileError);
    EXPECT_FALSE(std::filesystem::exists(FName));
}

TEST_F(TIniFileTest, PermissionsAreHonoured)
{
    const std::string readOnlyFile = FFolder.File("readonly.ini");
    WriteWholeFile(readOnlyFile, "[Colors]\nG0=clRed\n");
    ::chmod(readOnlyFile.c_str(), 0444);
    const std::filesystem::path lockedFolder = FFolder.Path() / "locked";
    std::filesystem::create_directory(lockedFolder);
    const std::string existing = (lockedFolder / "existing.ini").string();
    WriteWholeFile(existing, "[Colors]\nG0=clRed\nG1=clLime\n");
    ::chmod(lockedFolder.c_str(), 0555);
    for (const std::filesystem::path& path : {FFolder.Path(), std::filesystem::path(readOnlyFile),
                                              lockedFolder, std::filesystem::path(existing)})
        TUnprivileged::Own(path);

    TUnprivileged unprivileged;
    ASSERT_TRUE(unprivileged.Active());
    TIniFile readOnly(readOnlyFile);
    EXPECT_THROW(readOnly.WriteString("Colors", "G0", "clBlue"), EIniFileError);
    EXPECT_EQ(ReadWholeFile(readOnlyFile), "[Colors]\nG0=clRed\n");
    TIniFile missingInLocked((lockedFolder / "new.ini").string());
    EXPECT_THROW(missingInLocked.WriteString("Colors", "G0", "clBlue"), EIniFileError);
    // No temporary file can be made in the locked folder, so the file is written in place.
    TIniFile inLocked(existing);
    inLocked.WriteString("Colors", "G0", "clBlue");
    EXPECT_EQ(ReadWholeFile(existing), "[Colors]\nG0=clBlue\nG1=clLime\n");
}

TEST_F(TIniFileTest, ReplacingKeepsModeAndLinksAndLeavesNoTemporaryFiles)
{
    WriteWholeFile(FName, "[Colors]\nG0=clRed\n");
    ::chmod(FName.c_str(), 0640);
    const std::string link = FFolder.File("link.ini");
    std::filesystem::create_symlink(FName, link);

    TIniFile(link).WriteString("Colors", "G0", "clBlue");
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(ReadWholeFile(FName), "[Colors]\nG0=clBlue\n");
    struct stat status
    {};
    ASSERT_EQ(::stat(FName.c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 07777, 0640u);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(FFolder.Path()), {}), 2);
}

TEST_F(TIniFileTest, AnUpdateWritesEveryKeyInOneReplacement)
{
    const std::string original = "[Arc]\nStyle=1\r";
    WriteWholeFile(FName, original);
    const int watch = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    ASSERT_GE(::inotify_add_watch(watch, FFolder.Path().c_str(), IN_MOVED_TO | IN_CLOSE_WRITE), 0);

    TIniFile ini(FName);
    {
        TIniFileUpdate update(ini);
        ini.WriteString("Arc", "Foreground", "5");
        {
            TIniFileUpdate inner(ini);  // joins the outer update
            ini.WriteString("Colors", "G0", "clRed");
            inner.Commit();
        }
        EXPECT_EQ(ini.ReadString("Colors", "G0", ""), "clRed") << "reads see the collected text";
        EXPECT_EQ(ReadWholeFile(FName), original);
        update.Commit();
    }
    // The lone CR stays part of the value; the key after it starts a line of its own.
    EXPECT_EQ(ReadWholeFile(FName), "[Arc]\nStyle=1\r\r\nForeground=5\n\n[Colors]\nG0=clRed\n");
    EXPECT_EQ(ini.ReadString("Arc", "Style", ""), "1\r");

    char events[4096];
    const ssize_t length = ::read(watch, events, sizeof events);
    ::close(watch);
    int renames = 0;
    for (ssize_t offset = 0; offset < length;) {
        const auto* event = reinterpret_cast<const inotify_event*>(events + offset);
        renames += (event->mask & IN_MOVED_TO) ? 1 : 0;
        offset += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
    }
    EXPECT_EQ(renames, 1);

    {
        TIniFileUpdate dropped(ini);
        ini.WriteString("Arc", "Style", "2");
    }
    EXPECT_EQ(ini.ReadString("Arc", "Style", ""), "1\r") << "writes not committed are dropped";
}

TEST_F(TIniFileTest, AFailedUpdateLeavesTheOldFileWhole)
{
    const std::string original = "[Colors]\nG0=clRed\n";
    WriteWholeFile(FName, original);
    TIniFile ini(FName);
    TIniFileUpdate update(ini);
    ini.WriteString("Colors", "G1", std::string(TIniFile::kMaxValueLength, 'x'));
    std::string message;
    try {
        const TFileSizeLimit limit(1024);
        update.Commit();
    } catch (const EIniFileError& error) {
        message = error.what();
    }
    EXPECT_EQ(message, "Unable to write to " + FName);
    EXPECT_EQ(ReadWholeFile(FName), original);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(FFolder.Path()), {}), 1);
}

TEST_F(TIniFileTest, BadFilesAreReadAndTheirUnknownLinesSurvive)
{
    std::mt19937 random(14);
    std::string garbage(10 << 20, '\0');
    for (char& byte : garbage)
        byte = static_cast<char>(random());
    const std::string longLine(1 << 20, '=');
    const std::string content =
        "[Colors]\nG0=clLime\n" + garbage + "\n" + longLine + "\n[Axis]\nStyle=3\n";
    WriteWholeFile(FName, content);

    TIniFile ini(FName);
    EXPECT_EQ(ini.ReadString("Colors", "G0", ""), "clLime");
    EXPECT_EQ(ini.ReadString("Axis", "Style", ""), "3");
    TIniFileUpdate update(ini);
    ini.WriteString("Axis", "Style", "4");
    update.Commit();
    const std::string written = ReadWholeFile(FName);
    EXPECT_EQ(written.size(), content.size());
    EXPECT_EQ(written.substr(0, written.size() - 2), content.substr(0, content.size() - 2));
    EXPECT_EQ(ini.ReadString("Axis", "Style", ""), "4");
}

}  // namespace

// --- Erasing a section --------------------------------------------------------------------------

namespace {

TEST_F(TIniFileTest, EraseSectionUndoesTheSectionThatWriteAddedAndLeavesTheRest)
{
    const std::string before = "[Colors]\r\nG0=clBlue\r\n\r\n[Other]\r\nKey=1\r\n";
    WriteWholeFile(FName, before);
    TIniFile ini(FName);
    ini.WriteString("Reading", "Lenient", "1");
    ini.EraseSection("READING");
    EXPECT_EQ(ReadWholeFile(FName), before);

    ini.EraseSection("Colors");  // a section in the middle goes with its lines only
    EXPECT_EQ(ReadWholeFile(FName), "[Other]\r\nKey=1\r\n");
    ini.EraseSection("Missing");
    EXPECT_EQ(ReadWholeFile(FName), "[Other]\r\nKey=1\r\n");
}

TEST_F(TIniFileTest, EraseSectionCreatesNoFile)
{
    TIniFile ini(FName);
    ini.EraseSection("Reading");
    struct stat info
    {};
    EXPECT_NE(stat(FName.c_str(), &info), 0);
}

}  // namespace
