// The state file and what it keeps: where it lives and how its folders are made, the recent
// files' order, limit and round trip, and the window state's round trip and rejection of
// values that are no place.
#include "settings/IniFile.h"
#include "settings/RecentFiles.h"
#include "settings/StateFile.h"
#include "settings/WindowState.h"
#include "tests/settings/SettingsTestFolder.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <optional>

namespace {

using TNames = std::vector<std::string>;

class StateFileNameTest : public ::testing::Test
{
protected:
    static mode_t Mode(const std::filesystem::path& path)
    {
        struct stat status
        {};
        EXPECT_EQ(::stat(path.c_str(), &status), 0) << path;
        return status.st_mode & 07777;
    }
    void Set(const char* name, const std::string& value) { FEnvironment.Set(name, value); }

    TScopedEnvironment FEnvironment;
    TTempFolder FFolder;
};

TEST_F(StateFileNameTest, MakesThePrivateFoldersUnderXdgStateHomeOrHomeLocalState)
{
    Set("XDG_STATE_HOME", FFolder.File("state/deeper"));
    EXPECT_EQ(StateFileName(), FFolder.File("state/deeper/Zorvit/state.ini"));
    for (const char* made : {"state", "state/deeper", "state/deeper/Zorvit"})
        EXPECT_EQ(Mode(FFolder.Path() / made), 0700u) << made;

    // Unset or relative: under $HOME/.local/state, which a first run makes as well.
    Set("HOME", FFolder.File("home"));
    std::filesystem::create_directory(FFolder.Path() / "home");
    for (const char* value : {"", "relative/state"}) {
        Set("XDG_STATE_HOME", value);
        EXPECT_EQ(StateFileName(), FFolder.File("home/.local/state/Zorvit/state.ini"));
    }
    EXPECT_EQ(Mode(FFolder.Path() / "home/.local"), 0700u);
    EXPECT_EQ(Mode(FFolder.Path() / "home/.local/state/Zorvit"), 0700u);

    WriteWholeFile(FFolder.File("blocked"), "a file where a folder should be");
    Set("XDG_STATE_HOME", FFolder.File("blocked/state"));
    EXPECT_EQ(StateFileName(), "");
}

TEST(RecentFilesTest, NewestFirstWithoutRepeatsAndAtMostTen)
{
    TRecentFiles recent;
    recent.Add("/a");
    recent.Add("/b");
    recent.Add("/a");
    EXPECT_EQ(recent.Names(), (TNames{"/a", "/b"}));
    for (int i = 0; i < 12; ++i)
        recent.Add("/f" + std::to_string(i));
    ASSERT_EQ(recent.Names().size(), TRecentFiles::kMaxCount);
    EXPECT_EQ(recent.Names().front(), "/f11");
    EXPECT_EQ(recent.Names().back(), "/f2");
    recent.Remove("/f5");
    EXPECT_EQ(recent.Names().size(), 9u);
    recent.Clear();
    EXPECT_TRUE(recent.Names().empty());
}

TEST(RecentFilesTest, RoundTripThroughTheStateFileDropsWhatWasRemoved)
{
    TTempFolder folder;
    TIniFile file(folder.File("state.ini"));
    TRecentFiles written;
    for (const char* name : {"/x/one.ngc", "/y/two words.ngc", "/z/three.ngc"})
        written.Add(name);
    written.Write(file);
    written.Remove("/x/one.ngc");
    written.Write(file);

    TRecentFiles read;
    read.Read(file);
    EXPECT_EQ(read.Names(), (TNames{"/z/three.ngc", "/y/two words.ngc"}));

    // A hand-edited file with gaps and repeats gives each name once, in key order.
    WriteWholeFile(folder.File("edited.ini"), "[Recent Files]\nFile2=/b\nFile4=/a\nFile7=/b\n");
    read.Read(TIniFile(folder.File("edited.ini")));
    EXPECT_EQ(read.Names(), (TNames{"/b", "/a"}));
}

TEST(WindowStateTest, RoundTripAndNoStateFromValuesThatAreNoPlace)
{
    TTempFolder folder;
    TIniFile file(folder.File("state.ini"));
    EXPECT_EQ(ReadWindowState(file), std::nullopt);
    const TWindowState state{-20, 35, 1100, 700, true, 260};
    WriteWindowState(file, state);
    EXPECT_EQ(ReadWindowState(file), state);

    for (const char* broken :
         {"[Window]\nLeft=1\nTop=1\nWidth=0\nHeight=5\nMaximized=0\nEditorWidth=9\n",
          "[Window]\nLeft=1\nTop=1\nWidth=100\nHeight=5\nMaximized=0\n",
          "[Window]\nLeft=x\nTop=1\nWidth=100\nHeight=5\nMaximized=0\nEditorWidth=9\n"}) {
        WriteWholeFile(folder.File("broken.ini"), broken);
        EXPECT_EQ(ReadWindowState(TIniFile(folder.File("broken.ini"))), std::nullopt) << broken;
    }
}

}  // namespace
