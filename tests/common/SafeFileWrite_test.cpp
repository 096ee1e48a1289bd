#include "common/SafeFileWrite.h"

#include "tests/settings/SettingsTestFolder.h"
#include "tests/support/FileSizeLimit.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

constexpr mode_t kNewMode = 0666;
const std::string kOld(100, 'o');
const std::string kNew = std::string(10000, 'n') + "\n";

struct stat StatusOf(const std::string& path)
{
    struct stat status
    {};
    EXPECT_EQ(::stat(path.c_str(), &status), 0) << path;
    return status;
}

class TSafeFileWriteTest : public ::testing::Test
{
protected:
    TTempFolder FFolder;
    std::string FName = FFolder.File("file.ngc");

    std::size_t EntryCount(const std::filesystem::path& folder) const
    {
        return static_cast<std::size_t>(
            std::distance(std::filesystem::directory_iterator(folder), {}));
    }

    std::string ReasonOf(const std::string& path, const std::string& text)
    {
        try {
            SafeWriteFile(path, text, kNewMode);
        } catch (const EFileWriteError& error) {
            return error.what();
        }
        return "no error";
    }
};

TEST_F(TSafeFileWriteTest, ReplacingKeepsModeOwnerAndLinks)
{
    const mode_t mask = ::umask(022);
    SafeWriteFile(FName, "first", kNewMode);
    EXPECT_EQ(StatusOf(FName).st_mode & 07777, 0644u)
        << "a new file's mode is narrowed by the umask";
    ::umask(mask);

    ::chmod(FName.c_str(), 0604);
    if (::geteuid() == 0)
        TUnprivileged::Own(FName);
    const struct stat before = StatusOf(FName);
    SafeWriteFile(FName, kNew, kNewMode);
    const struct stat after = StatusOf(FName);
    EXPECT_EQ(ReadWholeFile(FName), kNew);
    EXPECT_EQ(after.st_mode & 07777, 0604u);
    EXPECT_EQ(after.st_uid, before.st_uid);
    EXPECT_EQ(after.st_gid, before.st_gid);
    EXPECT_EQ(EntryCount(FFolder.Path()), 1u) << "no temporary file left";

    const std::string link = FFolder.File("link.ngc");
    std::filesystem::create_symlink("file.ngc", link);  // relative to the link's folder
    SafeWriteFile(link, "through the link", kNewMode);
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(ReadWholeFile(FName), "through the link");

    const std::string dangling = FFolder.File("dangling.ngc");
    std::filesystem::create_symlink(FFolder.File("target.ngc"), dangling);
    SafeWriteFile(dangling, "created", kNewMode);
    EXPECT_TRUE(std::filesystem::is_symlink(dangling));
    EXPECT_EQ(ReadWholeFile(FFolder.File("target.ngc")), "created");

    // Every name of a hard-linked file gets the text: the file is written where it is.
    const std::string second = FFolder.File("second.ngc");
    std::filesystem::create_hard_link(FName, second);
    SafeWriteFile(second, kOld, kNewMode);
    EXPECT_EQ(ReadWholeFile(FName), kOld);
    EXPECT_EQ(StatusOf(FName).st_ino, StatusOf(second).st_ino);
    SafeWriteFile(FName, "short", kNewMode);
    EXPECT_EQ(ReadWholeFile(second), "short");
}

TEST_F(TSafeFileWriteTest, AFullDiskLeavesTheOldFileWholeAndTellsWhy)
{
    WriteWholeFile(FName, kOld);
    const std::string linked = FFolder.File("linked.ngc");
    WriteWholeFile(linked, kOld);
    std::filesystem::create_hard_link(linked, FFolder.File("other-name.ngc"));
    {
        const TFileSizeLimit limit(4096);
        EXPECT_EQ(ReasonOf(FName, kNew), "File too large");   // through a temporary file
        EXPECT_EQ(ReasonOf(linked, kNew), "File too large");  // in place
    }
    EXPECT_EQ(ReadWholeFile(FName), kOld);
    EXPECT_EQ(ReadWholeFile(linked), kOld);
    EXPECT_EQ(std::filesystem::file_size(linked), kOld.size());
    EXPECT_EQ(EntryCount(FFolder.Path()), 3u) << "no temporary file left";
}

TEST_F(TSafeFileWriteTest, ALockedFolderIsWrittenInPlaceWhenTheFileAllows)
{
    const std::filesystem::path locked = FFolder.Path() / "locked";
    std::filesystem::create_directory(locked);
    const std::string inLocked = (locked / "file.ngc").string();
    WriteWholeFile(inLocked, kOld);
    const std::string readOnly = FFolder.File("read-only.ngc");
    WriteWholeFile(readOnly, kOld);
    ::chmod(readOnly.c_str(), 0444);
    ::chmod(locked.c_str(), 0555);
    for (const std::filesystem::path& path :
         {FFolder.Path(), locked, std::filesystem::path(inLocked), std::filesystem::path(readOnly)})
        TUnprivileged::Own(path);

    TUnprivileged unprivileged;
    ASSERT_TRUE(unprivileged.Active());
    SafeWriteFile(inLocked, kNew, kNewMode);
    EXPECT_EQ(ReadWholeFile(inLocked), kNew);
    SafeWriteFile(inLocked, kOld, kNewMode);
    EXPECT_EQ(ReadWholeFile(inLocked), kOld) << "a shorter text cuts the file";
    {
        const TFileSizeLimit limit(4096);
        EXPECT_EQ(ReasonOf(inLocked, kNew), "File too large");
    }
    EXPECT_EQ(ReadWholeFile(inLocked), kOld);
    EXPECT_EQ(ReasonOf((locked / "new.ngc").string(), kNew), "Permission denied");
    EXPECT_EQ(ReasonOf(readOnly, kNew), "Permission denied");
    EXPECT_EQ(ReadWholeFile(readOnly), kOld);
    EXPECT_EQ(EntryCount(locked), 1u);
}

TEST_F(TSafeFileWriteTest, AnOwnerThatANewFileCannotHaveIsKeptByWritingInPlace)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "needs root to give the file to another user";
    // The file belongs to root and is shared with the group; its user writes it through the group.
    WriteWholeFile(FName, kOld);
    ::chown(FName.c_str(), 0, TUnprivileged::kNobody);
    ::chmod(FName.c_str(), 0664);
    TUnprivileged::Own(FFolder.Path());
    const ino_t inode = StatusOf(FName).st_ino;

    TUnprivileged unprivileged;
    ASSERT_TRUE(unprivileged.Active());
    SafeWriteFile(FName, kNew, kNewMode);
    EXPECT_EQ(ReadWholeFile(FName), kNew);
    const struct stat after = StatusOf(FName);
    EXPECT_EQ(after.st_uid, 0u);
    EXPECT_EQ(after.st_ino, inode);
    EXPECT_EQ(EntryCount(FFolder.Path()), 1u);
}

TEST_F(TSafeFileWriteTest, OnlyRegularFilesAreWritten)
{
    const std::string fifo = FFolder.File("fifo");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_EQ(ReasonOf(fifo, kNew), "Not a regular file");
    EXPECT_EQ(ReasonOf(FFolder.Path().string(), kNew), "Not a regular file");
    EXPECT_EQ(ReasonOf(FFolder.File("no/such/folder.ngc"), kNew), "No such file or directory");
}

}  // namespace
