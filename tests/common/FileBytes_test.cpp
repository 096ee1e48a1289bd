#include "common/FileBytes.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

namespace {

class TFileReaderTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        char folder[] = "/tmp/zorvit-file-reader-XXXXXX";
        ASSERT_NE(::mkdtemp(folder), nullptr);
        Folder = folder;
    }
    void TearDown() override
    {
        std::remove((Folder + "/program.ngc").c_str());
        ::rmdir(Folder.c_str());
    }
    std::string Write(const std::string& bytes) const
    {
        const std::string path = Folder + "/program.ngc";
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }

    std::string Folder;
};

// Read in parts of any size, a file gives its bytes whole and in order, as the whole-file read
// does, and its size is known from the start.
TEST_F(TFileReaderTest, PartsOfAnySizeMakeUpTheWholeFile)
{
    std::string bytes;
    for (int i = 0; i < 5000; ++i)
        bytes += "N" + std::to_string(i) + " G1 X" + std::to_string(i % 97) + "\r\n";
    bytes += std::string("\0tail", 5);
    const std::string path = Write(bytes);
    for (const std::size_t partBytes :
         {std::size_t{1}, std::size_t{7}, std::size_t{4096}, bytes.size(), bytes.size() * 2}) {
        TFileReader file(path, TFileKind::RegularOnly);
        EXPECT_EQ(file.Size(), bytes.size());
        std::vector<char> buffer(partBytes);
        std::string read;
        while (const std::size_t count = file.Read(buffer.data(), buffer.size()))
            read.append(buffer.data(), count);
        EXPECT_EQ(read, bytes) << "parts of " << partBytes;
    }
    EXPECT_EQ(ReadFileBytes(path), bytes);
}

}  // namespace
