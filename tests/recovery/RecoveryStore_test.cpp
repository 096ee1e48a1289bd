// The recovery store: where the copies live and what they are named, their private modes, and
// which copy is offered against its file's time.
#include "common/Error.h"
#include "recovery/RecoveryStore.h"
#include "tests/settings/SettingsTestFolder.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>

#include <set>

namespace {

class RecoveryStoreTest : public ::testing::Test
{
protected:
    static mode_t Mode(const std::string& path)
    {
        struct stat status
        {};
        EXPECT_EQ(::stat(path.c_str(), &status), 0) << path;
        return status.st_mode & 07777;
    }
    // Sets the file's modification time to seconds after the epoch.
    static void SetTime(const std::string& path, time_t seconds)
    {
        const timespec times[2] = {{seconds, 0}, {seconds, 0}};
        ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, 0), 0) << path;
    }

    TTempFolder FFolder;
    TRecoveryStore FStore{FFolder.File("state/Zorvit/recovery")};
};

TEST_F(RecoveryStoreTest, EachDocumentHasItsOwnCopyInTheFolder)
{
    const std::string longName(300, 'n');
    const std::vector<std::string> documents = {
        "", "/a/part.ngc", "/b/part.ngc", "/a/Part.ngc", "/a/part.ngc.bak", "/a/" + longName};
    std::set<std::string> names;
    for (const std::string& document : documents) {
        const std::filesystem::path copy = FStore.CopyPath(document);
        EXPECT_EQ(copy.parent_path(), FFolder.Path() / "state/Zorvit/recovery") << document;
        EXPECT_LE(copy.filename().native().size(), 255u) << document;
        EXPECT_EQ(FStore.CopyPath(document), copy) << document;
        names.insert(copy.filename());
    }
    EXPECT_EQ(names.size(), documents.size());
    EXPECT_EQ(std::filesystem::path(FStore.CopyPath("")).filename(), "untitled");
    EXPECT_NE(
        std::filesystem::path(FStore.CopyPath("/a/part.ngc")).filename().native().find("part.ngc"),
        std::string::npos);
}

TEST_F(RecoveryStoreTest, CopiesAreForTheUserAloneWhateverTheUmask)
{
    const mode_t umask = ::umask(0);
    FStore.Write("/a/part.ngc", "G0 X1\n");
    FStore.Write("/a/part.ngc", "G0 X2\n");
    ::umask(umask);
    EXPECT_EQ(ReadWholeFile(FStore.CopyPath("/a/part.ngc")), "G0 X2\n");
    EXPECT_EQ(Mode(FStore.CopyPath("/a/part.ngc")), 0600u);
    for (const char* folder : {"state", "state/Zorvit", "state/Zorvit/recovery"})
        EXPECT_EQ(Mode(FFolder.File(folder)), 0700u) << folder;
    // The write leaves no temporary file behind.
    EXPECT_EQ(
        std::distance(std::filesystem::directory_iterator(FFolder.File("state/Zorvit/recovery")),
                      std::filesystem::directory_iterator()),
        1);
}

TEST_F(RecoveryStoreTest, OffersACopyWrittenAfterItsFileWasChanged)
{
    const std::string file = FFolder.File("part.ngc");
    WriteWholeFile(file, "G0 X0\n");
    FStore.Write(file, "G0 X9\n");
    const std::string copy = FStore.CopyPath(file);

    struct TCase
    {
        const char* What;
        time_t FileTime;
        time_t CopyTime;
        bool FileThere;
        bool Offered;
    };
    const TCase cases[] = {
        {"copy newer", 1000, 2000, true, true},
        {"file newer", 2000, 1000, true, false},
        {"same time", 1000, 1000, true, false},
        {"file gone", 1000, 2000, false, true},
    };
    for (const TCase& c : cases) {
        WriteWholeFile(file, "G0 X0\n");
        SetTime(file, c.FileTime);
        SetTime(copy, c.CopyTime);
        if (!c.FileThere)
            std::filesystem::remove(file);
        const std::optional<std::string> offered = FStore.NewerCopy(file);
        EXPECT_EQ(offered.has_value(), c.Offered) << c.What;
        if (offered) {
            EXPECT_EQ(*offered, "G0 X9\n") << c.What;
        }
        // The user's file is never touched.
        if (c.FileThere) {
            EXPECT_EQ(ReadWholeFile(file), "G0 X0\n") << c.What;
        }
    }

    // An untitled text has no file to be older than.
    EXPECT_EQ(FStore.NewerCopy(""), std::nullopt);
    FStore.Write("", "G1 Y1\n");
    EXPECT_EQ(FStore.NewerCopy(""), "G1 Y1\n");

    FStore.Remove(file);
    FStore.Remove(file);  // no copy: nothing to do
    EXPECT_FALSE(std::filesystem::exists(copy));
    EXPECT_EQ(FStore.NewerCopy(file), std::nullopt);
    EXPECT_EQ(FStore.NewerCopy(""), "G1 Y1\n");
}

TEST_F(RecoveryStoreTest, AFailedWriteNamesTheCopyOrFolder)
{
    WriteWholeFile(FFolder.File("state"), "a file where a folder should be");
    EXPECT_THROW(FStore.Write("/a/part.ngc", "G0\n"), EZorvitError);

    TRecoveryStore store(FFolder.File("recovery"));
    std::filesystem::create_directories(store.CopyPath("/a/part.ngc"));  // a folder in the way
    try {
        store.Write("/a/part.ngc", "G0\n");
        ADD_FAILURE() << "no error";
    } catch (const EZorvitError& error) {
        EXPECT_NE(std::string(error.what()).find(store.CopyPath("/a/part.ngc")), std::string::npos)
            << error.what();
    }
    EXPECT_THROW(TRecoveryStore("").Write("", "G0\n"), EZorvitError);
}

TEST(RecoveryFolderTest, UnderXdgStateHomeOrHomeLocalState)
{
    TScopedEnvironment environment;
    environment.Set("HOME", "/home/someone");
    const std::pair<const char*, const char*> cases[] = {
        {"/state", "/state/Zorvit/recovery"},
        {"", "/home/someone/.local/state/Zorvit/recovery"},
        {"relative", "/home/someone/.local/state/Zorvit/recovery"},
    };
    for (const auto& [value, folder] : cases) {
        environment.Set("XDG_STATE_HOME", value);
        EXPECT_EQ(RecoveryFolder(), folder) << value;
    }
    environment.Set("HOME", "");
    EXPECT_EQ(RecoveryFolder(), "");
}

}  // namespace
