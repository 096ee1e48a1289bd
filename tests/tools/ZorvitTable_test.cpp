// Runs the built zorvit-table on small programs and checks its output, messages and exit status.

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <tuple>

namespace {

const std::string kHeader =
    "Line,ToolRadiusComp,Feedrate,GMotion,GPlane,GDistance,GFeedMode,GUnits,GCutterComp,GToolOffset,"
    "GCoord,ToolLengthOffset,ArcOffsetX,ArcOffsetY,ArcOffsetZ,MStop,MToolSelect,MSpindleRotation,"
    "MCoolant,LineNumber,Dwell,Radius,SpindleSpeed,ToolChange,AxisX,AxisY,AxisZ\n";

struct TToolResult
{
    int Status = -1;
    std::string Out;
    std::string Err;
};

class TZorvitTableTest : public ::testing::Test
{
protected:
    static std::string DataFile(const std::string& name) { return std::string(ZORVIT_TEST_DATA) + "/" + name; }

    static std::string ReadFile(const std::string& path)
    {
        std::ifstream file(path, std::ios::binary);
        std::ostringstream text;
        text << file.rdbuf();
        return text.str();
    }

    // Runs the tool on file and reads back what it printed; with a device named, the output
    // goes there instead and is not read back.
    TToolResult RunTool(const std::string& file, const std::string& device = {}) const
    {
        return RunCommand("", "'" + file + "'", "", device);
    }

    // The tool with its arguments, after the commands that feed its standard input.
    TToolResult RunCommand(const std::string& feed, const std::string& arguments,
                           const std::string& input, const std::string& device = {}) const
    {
        const std::string out = device.empty() ? Scratch + "table.out" : device;
        const std::string err = Scratch + "table.err";
        const std::string command =
            feed + "'" ZORVIT_TABLE_TOOL "' " + arguments + " " + input + " >'" + out + "' 2>'" + err + "'";
        const int raw = std::system(command.c_str());
        TToolResult result;
        result.Status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
        if (device.empty())
            result.Out = ReadFile(out);
        result.Err = ReadFile(err);
        return result;
    }

    const std::string Scratch = ::testing::TempDir();
};

TEST_F(TZorvitTableTest, PrintsOneCsvRowPerLineThatSetsAValue)
{
    const TToolResult result = RunTool(DataFile("gcode-mixed.ngc"));
    EXPECT_EQ(result.Status, 0);
    EXPECT_EQ(result.Err, "");
    EXPECT_EQ(result.Out, kHeader +
                              "1,,,,17,90,,21,40,,,,,,,,,,,10,,,,,,,\n"
                              "2,,,,,,,,,,,,,,,,6,,,20,,,,2,,,\n"
                              "3,,,,,,,,,,,,,,,,,3,8,30,,,8000,,,,\n"
                              "4,,,0,,,,,,,,,,,,,,,,,,,,,-1.5,2,5\n"      // ends in a lone CR
                              "5,,300,1,,,,,,,,,,,,,,,,,,,,,,,-0.25\n"
                              "6,,,2,,,,,,,,,0.5,-0.5,,,,,,,,1.25,,,1,1,\n"
                              "7,,,3,,,,,,,,,,,0,,,,,,,,,,0,0,\n"
                              "8,,,,,,,,,,,1,,,,,,,,,,,,,,,\n"
                              "9,,,,,,,,,,,,,,,,,,,,250,,,,,,\n"
                              "10,,,,,,,,,,,,,,,,,,,,,,,,0.1,1e-07,123456789.125\n"
                              "11,,,,,,,,,,,,,,,,,5,9,,,,,,,,\n"
                              "12,,,,,,,,,,,,,,,30,,,,,,,,,,,\n");
}

TEST_F(TZorvitTableTest, EmptyFileGivesTheHeaderOnly)
{
    const TToolResult result = RunTool(DataFile("gcode-empty.ngc"));
    EXPECT_EQ(result.Status, 0);
    EXPECT_EQ(result.Out, kHeader);
}

TEST_F(TZorvitTableTest, FailurePrintsTheEarlierRowsAndTheMessage)
{
    const TToolResult result = RunTool(DataFile("gcode-error.ngc"));
    EXPECT_EQ(result.Status, 1);
    EXPECT_EQ(result.Out, kHeader +
                              "1,,,0,,,,,,,,,,,,,,,,,,,,,0,0,\n"
                              "2,,500,1,,,,,,,,,,,,,,,,,,,,,10,,\n");
    EXPECT_EQ(result.Err, "Number expected on line 3\n");
}

TEST_F(TZorvitTableTest, UnreadableFileFailsWithStatus2NamingIt)
{
    for (const std::string& path : {Scratch + "no-such-file.ngc", Scratch}) {
        const TToolResult result = RunTool(path);
        EXPECT_EQ(result.Status, 2) << path;
        EXPECT_EQ(result.Out, "") << path;
        EXPECT_NE(result.Err.find(path), std::string::npos) << result.Err;
    }
}

TEST_F(TZorvitTableTest, ReadsPipesAndStandardInputButRefusesDevices)
{
    const std::string program = "'" + DataFile("gcode-error.ngc") + "'";
    const TToolResult fromFile = RunTool(DataFile("gcode-error.ngc"));
    for (const auto& [feed, arguments, input] :
         {std::tuple<std::string, std::string, std::string>{"cat " + program + " | ", "-", ""},
          {"cat " + program + " | ", "/dev/stdin", ""},
          {"", "-", "<" + program}}) {
        const TToolResult result = RunCommand(feed, arguments, input);
        EXPECT_EQ(result.Status, 1) << feed << arguments << input;
        EXPECT_EQ(result.Out, fromFile.Out) << feed << arguments << input;
    }
    for (const std::string device : {"/dev/zero", "/dev/null"}) {
        const TToolResult result = RunTool(device);
        EXPECT_EQ(result.Status, 2) << device;
        EXPECT_EQ(result.Err, "zorvit-table: cannot read '" + device + "': not a regular file or a pipe\n");
    }
}

TEST_F(TZorvitTableTest, OutputThatCannotBeWrittenFailsWithStatus3)
{
    // The header alone fails at the final flush; a long table already at one of its writes.
    const std::string longProgram = Scratch + "long.ngc";
    {
        std::ofstream program(longProgram);
        for (int line = 0; line < 100000; ++line)
            program << "G1 X" << line << " Y2.5\n";
    }
    for (const std::string& file : {DataFile("gcode-empty.ngc"), longProgram}) {
        const TToolResult result = RunTool(file, "/dev/full");
        EXPECT_EQ(result.Status, 3) << file;
        EXPECT_EQ(result.Err, "zorvit-table: cannot write the table: No space left on device\n") << file;
    }
}

TEST_F(TZorvitTableTest, WrongArgumentCountFailsWithStatus2)
{
    const int raw = std::system("'" ZORVIT_TABLE_TOOL "' >/dev/null 2>&1");
    EXPECT_EQ(WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, 2);
}

}  // namespace
