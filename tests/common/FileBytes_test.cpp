#include "common/FileBytes.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
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
        for (const std::string& name : {Folder + "/program.ngc", Folder + "/fifo"})
            std::remove(name.c_str());
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

TEST_F(TFileReaderTest, RefusesWhatCannotBeReadAsADocumentBeforeReading)
{
    const std::string fifo = Folder + "/fifo";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    struct TRefusal
    {
        std::string path;
        TFileKind kind;
        std::string reason;
    };
    const std::vector<TRefusal> refusals = {
        {Folder + "/missing.ngc", TFileKind::Any, "No such file or directory"},
        {fifo, TFileKind::RegularOnly, "Not a regular file"},
        {Folder, TFileKind::RegularOnly, "Not a regular file"},
        {"/dev/zero", TFileKind::RegularOnly, "Not a regular file"},
    };
    for (const TRefusal& refusal : refusals) {
        try {
            TFileReader file(refusal.path, refusal.kind);
            ADD_FAILURE() << refusal.path << " opened";
        } catch (const EFileReadError& error) {
            EXPECT_EQ(error.Reason(), refusal.reason) << refusal.path;
        }
    }
    EXPECT_FALSE(TFileReader("/dev/zero").Size()) << "a device has no size";
}

}  // namespace
