// The watcher's plain parts: folder of a path, notify filter of an option set, file snapshots.
#include "watch/DirThread.h"
#include "watch/FileSnapshot.h"
#include "watch/NotifyOptions.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace {
using Option = TATFileNotifyOption;

// ---- DirectoryOf ----------------------------------------------------------------------------

struct TDirectoryCase
{
    const char* path;
    const char* directory;
};

class DirectoryOfTest : public ::testing::TestWithParam<TDirectoryCase>
{};

TEST_P(DirectoryOfTest, GivesTheFolderPart)
{
    EXPECT_EQ(DirectoryOf(GetParam().path), GetParam().directory);
}

INSTANTIATE_TEST_SUITE_P(Paths, DirectoryOfTest,
                         ::testing::Values(TDirectoryCase{"/dir/a.nc", "/dir"},
                                           TDirectoryCase{"/dir/sub/a.nc", "/dir/sub"},
                                           TDirectoryCase{"/a.nc", "/"},
                                           TDirectoryCase{"dir/a.nc", "dir"},
                                           TDirectoryCase{"a.nc", ""}, TDirectoryCase{"", ""},
                                           TDirectoryCase{"/dir/", "/dir"},
                                           TDirectoryCase{"//a.nc", "/"}));

// ---- Notify filter --------------------------------------------------------------------------

TEST(NotifyOptionsTest, FilterIsTheSumOfTheMembersBits)
{
    EXPECT_EQ(kDefaultNotifyOptions.Filter(), 0x013u);
    EXPECT_EQ(TATFileNotifyOptions{}.Filter(), 0u);
    EXPECT_EQ((TATFileNotifyOptions{Option::foNotifySecurity}.Filter()), 0x100u);
    EXPECT_EQ((TATFileNotifyOptions{Option::foNotifyCreation, Option::foNotifyAttributes}.Filter()),
              0x044u);
    const TATFileNotifyOptions all = {Option::foNotifyFilename,   Option::foNotifyDirname,
                                      Option::foNotifyAttributes, Option::foNotifySize,
                                      Option::foNotifyLastWrite,  Option::foNotifyLastAccess,
                                      Option::foNotifyCreation,   Option::foNotifySecurity};
    EXPECT_EQ(all.Filter(), 0x17Fu);
}

// ---- Snapshots ------------------------------------------------------------------------------

constexpr std::uint32_t kEveryFilterBit = kNotifyFileName | kNotifyDirName | kNotifyAttributes |
                                          kNotifySize | kNotifyLastWrite | kNotifyLastAccess |
                                          kNotifyCreation | kNotifySecurity;
constexpr std::int64_t kFirstTime = 1'600'000'000;  // seconds since the epoch
constexpr std::int64_t kSecondTime = 1'700'000'000;
constexpr long kNanoseconds = 123'456'789;
constexpr std::uint64_t kNanosecondsPerSecond = 1'000'000'000;

void SetTimes(const std::string& path, std::int64_t access, std::int64_t modification)
{
    const timespec times[2] = {{access, kNanoseconds}, {modification, kNanoseconds}};
    ASSERT_EQ(utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
}

class FileSnapshotTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        FFolder = std::filesystem::temp_directory_path() /
                  ("zorvit-snapshot-" + std::to_string(getpid()) + "-" +
                   ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(FFolder);
        FPath = (FFolder / "a.nc").string();
        Create("G0 X1\n");
    }
    void TearDown() override { std::filesystem::remove_all(FFolder); }

    // A file with known contents, mode and times.
    void Create(const std::string& text)
    {
        std::ofstream(FPath, std::ios::binary | std::ios::trunc) << text;
        ASSERT_EQ(chmod(FPath.c_str(), 0644), 0);
        SetTimes(FPath, kFirstTime, kFirstTime);
    }

    std::filesystem::path FFolder;
    std::string FPath;
};

TEST_F(FileSnapshotTest, GivesTheEntryOrAllZero)
{
    const TFileSnapshot snapshot = TakeSnapshot(FPath);
    EXPECT_TRUE(snapshot.exists);
    EXPECT_EQ(snapshot.sizeLow, 6u);
    EXPECT_EQ(snapshot.sizeHigh, 0u);
    EXPECT_EQ(snapshot.attributes, static_cast<std::uint32_t>(S_IFREG | 0644));
    const std::uint64_t expected = kFirstTime * kNanosecondsPerSecond + kNanoseconds;
    EXPECT_EQ(snapshot.lastWriteTime, expected);
    EXPECT_EQ(snapshot.lastAccessTime, expected);

    EXPECT_EQ(TakeSnapshot((FFolder / "missing.nc").string()), TFileSnapshot{});
    EXPECT_EQ(TakeSnapshot(""), TFileSnapshot{});

    ASSERT_EQ(truncate(FPath.c_str(), off_t{5} << 30), 0);  // 5 GiB, sparse
    EXPECT_EQ(TakeSnapshot(FPath).sizeHigh, 1u);
    EXPECT_EQ(TakeSnapshot(FPath).sizeLow, 1u << 30);
}

TEST_F(FileSnapshotTest, ExistenceCountsWhateverTheFilter)
{
    TFileSnapshot stored = TakeSnapshot(FPath);
    ASSERT_EQ(std::remove(FPath.c_str()), 0);
    EXPECT_TRUE(SnapshotChanged(FPath, 0, stored));
    EXPECT_FALSE(stored.exists);
    EXPECT_FALSE(SnapshotChanged(FPath, kEveryFilterBit, stored));
    Create("G1 X2\n");
    EXPECT_TRUE(SnapshotChanged(FPath, 0, stored));
    EXPECT_TRUE(stored.exists);
}

TEST_F(FileSnapshotTest, CreationTimeCountsOnlyWithItsBit)
{
    TFileSnapshot stored = TakeSnapshot(FPath);
    if (stored.creationTime == 0)
        GTEST_SKIP() << "this file system keeps no creation time";
    // Same contents, mode and times; only the birth differs. Let the coarse clock move on first.
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    ASSERT_EQ(std::remove(FPath.c_str()), 0);
    Create("G0 X1\n");
    EXPECT_FALSE(SnapshotChanged(FPath, kEveryFilterBit & ~kNotifyCreation, stored));
    EXPECT_TRUE(SnapshotChanged(FPath, kNotifyCreation, stored));
}

// One change to one field of the entry, and the filter bit that selects that field.
struct TFieldChange
{
    const char* name;
    std::uint32_t bit;
    void (*apply)(const std::string& path);
};

class SnapshotFieldTest : public FileSnapshotTest,
                          public ::testing::WithParamInterface<TFieldChange>
{};

TEST_P(SnapshotFieldTest, FieldCountsOnlyWithItsBit)
{
    TFileSnapshot stored = TakeSnapshot(FPath);
    const TFileSnapshot before = stored;
    GetParam().apply(FPath);

    EXPECT_FALSE(SnapshotChanged(FPath, kEveryFilterBit & ~GetParam().bit, stored));
    EXPECT_EQ(stored, before) << "an unchanged snapshot must be kept as it was";
    EXPECT_TRUE(SnapshotChanged(FPath, GetParam().bit, stored));
    EXPECT_EQ(stored, TakeSnapshot(FPath)) << "a change must be remembered";
    EXPECT_FALSE(SnapshotChanged(FPath, kEveryFilterBit, stored));
}

INSTANTIATE_TEST_SUITE_P(
    Fields, SnapshotFieldTest,
    ::testing::Values(
        TFieldChange{"Attributes", kNotifyAttributes,
                     [](const std::string& path) { ASSERT_EQ(chmod(path.c_str(), 0600), 0); }},
        TFieldChange{"Size", kNotifySize,
                     [](const std::string& path) {
                         ASSERT_EQ(truncate(path.c_str(), 2), 0);
                         SetTimes(path, kFirstTime, kFirstTime);  // only the size differs
                     }},
        TFieldChange{"LastWrite", kNotifyLastWrite,
                     [](const std::string& path) { SetTimes(path, kFirstTime, kSecondTime); }},
        TFieldChange{"LastAccess", kNotifyLastAccess,
                     [](const std::string& path) { SetTimes(path, kSecondTime, kFirstTime); }}),
    [](const ::testing::TestParamInfo<TFieldChange>& info) { return info.param.name; });
}  // namespace
