#include "machine/SubroutineFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include <unistd.h>

namespace {

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
