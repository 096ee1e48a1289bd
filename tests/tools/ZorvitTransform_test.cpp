// Runs the built zorvit-transform: its output against golden files, its line breaks, its
// refusals and its exit status.

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace {

struct TToolResult
{
    int Status = -1;
    std::string Out;
    std::string Err;
};

std::string ReadFile(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

void WriteFile(const std::string& path, const std::string& text)
{
    std::ofstream(path, std::ios::binary) << text;
}

std::string EditData(const std::string& name)
{
    return std::string(ZORVIT_TEST_DATA) + "/edit/" + name;
}

class TZorvitTransformTest : public ::testing::Test
{
protected:
    // The tool with the arguments (a shell command line), its standard output read back.
    TToolResult Run(const std::string& arguments, const std::string& input = "") const
    {
        const std::string out = Scratch + "transform.out";
        const std::string err = Scratch + "transform.err";
        const std::string command = "'" ZORVIT_TRANSFORM_TOOL "' " + arguments +
                                    (input.empty() ? "" : " <" + input) + " >'" + out + "' 2>'" +
                                    err + "'";
        const int raw = std::system(command.c_str());
        return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, ReadFile(out), ReadFile(err)};
    }

    const std::string Scratch = ::testing::TempDir();
};

struct TGoldenCase
{
    const char* Name;
    const char* Options;
    const char* Input;
    const char* Expected;
};

class TZorvitTransformGoldenTest : public TZorvitTransformTest,
                                   public ::testing::WithParamInterface<TGoldenCase>
{};

TEST_P(TZorvitTransformGoldenTest, WritesTheExpectedProgram)
{
    const TGoldenCase& c = GetParam();
    const TToolResult result = Run(std::string(c.Options) + " '" + EditData(c.Input) + "' -o -");
    EXPECT_EQ(result.Status, 0) << result.Err;
    const std::string expectedPath = EditData(c.Expected);
    const std::string expected = ReadFile(expectedPath);
    EXPECT_EQ(result.Out, expected);
    if (result.Out != expected)
        WriteFile(expectedPath + ".new", result.Out);
}

INSTANTIATE_TEST_SUITE_P(
    Programs, TZorvitTransformGoldenTest,
    ::testing::Values(TGoldenCase{"MirrorX", "--mirror x", "mill.ngc", "mill.mirror-x.ngc"},
                      TGoldenCase{"MirrorBack", "--mirror x", "mill.mirror-x.ngc", "mill.ngc"},
                      TGoldenCase{"Rotate", "--rotate 90,10,0", "mill.ngc", "mill.rotate.ngc"},
                      TGoldenCase{"TranslateThenScale", "--translate 5,-2.5,1 --scale 2",
                                  "mill.ngc", "mill.translate-scale.ngc"},
                      TGoldenCase{"RenumberThenTidy", "--renumber 100,5 --tidy", "mill.ngc",
                                  "mill.renumber-tidy.ngc"}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST_F(TZorvitTransformTest, KeepsEachLineBreakAndWritesThroughAFile)
{
    const std::string input = Scratch + "breaks.ngc";
    const std::string output = Scratch + "breaks-out.ngc";
    WriteFile(input, "G0 X1\r\nG0 X2\nG0 X3\rG0 X4");
    std::filesystem::remove(output);
    const TToolResult result = Run("--mirror x '" + input + "' -o '" + output + "'");
    EXPECT_EQ(result.Status, 0) << result.Err;
    EXPECT_EQ(result.Out, "");
    EXPECT_EQ(ReadFile(output), "G0 X-1\r\nG0 X-2\nG0 X-3\rG0 X-4");
}

TEST_F(TZorvitTransformTest, ReadsStandardInput)
{
    const std::string input = Scratch + "stdin.ngc";
    WriteFile(input, "G0 X1 Y2\n");
    const TToolResult result = Run("--translate 1,1 - -o -", "'" + input + "'");
    EXPECT_EQ(result.Status, 0) << result.Err;
    EXPECT_EQ(result.Out, "G0 X2 Y3\n");
}

TEST_F(TZorvitTransformTest, NamesTheRefusedLinesAndWritesNothing)
{
    const std::string input = Scratch + "refused.ngc";
    const std::string output = Scratch + "refused-out.ngc";
    WriteFile(input, "G0 X1\nG1 X#1\nG1 X2\nG1 Y[2*3]\n");
    std::filesystem::remove(output);
    const TToolResult result =
        Run("--renumber 10,10 --mirror y '" + input + "' -o '" + output + "'");
    EXPECT_EQ(result.Status, 1);
    EXPECT_NE(result.Err.find(input + ":4: "), std::string::npos) << result.Err;
    EXPECT_EQ(result.Err.find(input + ":2: "), std::string::npos)
        << "X is not mirrored in y: " << result.Err;
    EXPECT_FALSE(std::filesystem::exists(output));
}

TEST_F(TZorvitTransformTest, FilesThatCannotBeReadOrWrittenAndBadOptionsExitWithTwo)
{
    const std::string input = Scratch + "good.ngc";
    WriteFile(input, "G0 X1\n");
    for (const std::string& arguments :
         {"--mirror x '" + Scratch + "missing.ngc' -o -",
          "--mirror x '" + input + "' -o '" + Scratch + "no/such/dir.ngc'",
          "--mirror z '" + input + "' -o -", "--scale 0 '" + input + "' -o -",
          "--rotate 1,2 '" + input + "' -o -", "--renumber 10 '" + input + "' -o -",
          "--mirror x '" + input + "'", std::string("--mirror x /dev/zero -o -")}) {
        const TToolResult result = Run(arguments);
        EXPECT_EQ(result.Status, 2) << arguments;
        EXPECT_NE(result.Err, "") << arguments;
        EXPECT_EQ(result.Out, "") << arguments;
    }
}

}  // namespace
