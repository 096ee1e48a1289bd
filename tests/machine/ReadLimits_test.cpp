#include "machine/ReadLimits.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include <unistd.h>

#include "machine/SubroutineFile.h"

namespace {

TEST(TReadLimitsTest, CallDepthStopsPastTheLimitAndRecovers)
{
    TReadLimits limits;
    for (int depth = 0; depth < TReadLimits::kMaxCallDepth; ++depth)
        limits.EnterCall();
    EXPECT_THROW(limits.EnterCall(), EMachineError);
    limits.LeaveCall();
    limits.LeaveCall();
    EXPECT_NO_THROW(limits.EnterCall());
}

TEST(TReadLimitsTest, LoopTurnsCountAcrossLoops)
{
    TReadLimits limits;
    try {
        for (std::int64_t turn = 0; turn <= TReadLimits::kMaxLoopTurns; ++turn)
            limits.CountLoopTurn();
        ADD_FAILURE();
    } catch (const EMachineError& error) {
        EXPECT_STREQ(error.what(), "Loops ran more than 100000000 times: the program does not end");
    }
}

class TSubroutineFileTest : public testing::Test
{
protected:
    TSubroutineFileTest()
        : FFolder(std::filesystem::temp_directory_path() /
                  ("zorvit-subfile-" + std::to_string(::getpid())))
    {
        std::filesystem::create_directories(FFolder / "dir.ngc");
        std::ofstream(FFolder / "my_sub-2.ngc") << "o<my_sub-2>sub\no<my_sub-2>endsub\n";
        std::ofstream(FFolder / "123.ngc") << "o123sub\no123endsub\n";
        std::ofstream(FFolder.parent_path() / "outside.ngc") << "\n";
    }
    ~TSubroutineFileTest() override
    {
        std::filesystem::remove_all(FFolder);
        std::filesystem::remove(FFolder.parent_path() / "outside.ngc");
    }

    std::filesystem::path FFolder;
};

TEST_F(TSubroutineFileTest, FindsNamedAndNumberedFilesInTheFolderOnly)
{
    EXPECT_EQ(FindSubroutineFile(FFolder, "my_sub-2"), FFolder / "my_sub-2.ngc");
    EXPECT_EQ(FindSubroutineFile(FFolder, "123"), FFolder / "123.ngc");
    EXPECT_FALSE(FindSubroutineFile(FFolder, "missing"));
    EXPECT_FALSE(FindSubroutineFile(FFolder, "dir"));  // a folder is no program
    EXPECT_FALSE(FindSubroutineFile(FFolder, "../outside"));
    EXPECT_FALSE(FindSubroutineFile(FFolder, ""));
}

}  // namespace
