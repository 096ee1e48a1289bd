// Runs the built zorvit-table on small programs and checks its output, messages and exit status.

#include "tests/tools/RunTool.h"

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <tuple>

namespace {

const std::string kHeader =
    "Line,ToolRadiusComp,Feedrate,GMotion,GPlane,GDistance,GFeedMode,GUnits,GCutterComp,"
    "GToolOffset,"
    "GCoord,ToolLengthOffset,ArcOffsetX,ArcOffsetY,ArcOffsetZ,MStop,MToolSelect,MSpindleRotation,"
    "MCoolant,LineNumber,Dwell,Radius,SpindleSpeed,ToolChange,AxisX,AxisY,AxisZ\n";

class TZorvitTableTest : public ::testing::Test
{
protected:
    static std::string DataFile(const std::string& name)
    {
        return std::string(ZORVIT_TEST_DATA) + "/" + name;
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
        std::string command = feed + "'" ZORVIT_TABLE_TOOL "' " + arguments + " " + input;
        if (!device.empty())
            command += " >'" + device + "'";
        return ::RunTool(command, device.empty() ? Scratch + "table.out" : std::string(),
                         Scratch + "table.err");
    }

    const std::string Scratch = ::testing::TempDir();
};

TEST_F(TZorvitTableTest, PrintsOneCsvRowPerLineThatSetsAValue)
{
    const TToolResult result = RunTool(DataFile("gcode-mixed.ngc"));
    EXPECT_EQ(result.Status, 0);
    EXPECT_EQ(result.Err, "");
    EXPECT_EQ(result.Out, kHeader + "1,,,,17,90,,21,40,,,,,,,,,,,10,,,,,,,\n"
                                    "2,,,,,,,,,,,,,,,,6,,,20,,,,2,,,\n"
                                    "3,,,,,,,,,,,,,,,,,3,8,30,,,8000,,,,\n"
                                    "4,,,0,,,,,,,,,,,,,,,,,,,,,-1.5,2,5\n"  // ends in a lone CR
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
    EXPECT_EQ(result.Out, kHeader + "1,,,0,,,,,,,,,,,,,,,,,,,,,0,0,\n"
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
        EXPECT_EQ(result.Err,
                  "zorvit-table: cannot read '" + device + "': not a regular file or a pipe\n");
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
        EXPECT_EQ(result.Err, "zorvit-table: cannot write the table: No space left on device\n")
            << file;
    }
}

TEST_F(TZorvitTableTest, WrongArgumentCountFailsWithStatus2)
{
    const int raw = std::system("'" ZORVIT_TABLE_TOOL "' >/dev/null 2>&1");
    EXPECT_EQ(WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, 2);
}

}  // namespace

// --- Lenient reading and the program summary --------------------------------------------------

namespace {

const std::string kSummaryFigures = "source lines: 14\n"
                                    "rows: 11\n"
                                    "segments G0: 2\n"
                                    "segments G1: 2\n"
                                    "segments G2: 1\n"
                                    "segments G3: 1\n"
                                    "segments other: 0\n"
                                    "length G0: 11.0000\n"
                                    "length G1: 4.0000\n"
                                    "length G2: 4.0000\n"
                                    "length G3: 4.0000\n"
                                    "length other: 0.0000\n"
                                    "min X: 0\n"
                                    "max X: 6\n"
                                    "min Y: 0\n"
                                    "max Y: 8\n"
                                    "min Z: -1\n"
                                    "max Z: 5\n"
                                    "units: G21\n"
                                    "distance modes: G90\n"
                                    "tools: T1 T2\n"
                                    "feed min: 100\n"
                                    "feed max: 200\n";

class TZorvitTableOptionsTest : public TZorvitTableTest
{
protected:
    // The options go before the file, each quoted as the file is.
    TToolResult RunToolWith(const std::string& options, const std::string& file) const
    {
        return RunTool(options + "' '" + file);
    }
};

TEST_F(TZorvitTableOptionsTest, SummaryGivesTheHandComputedFigures)
{
    // Rapids 11 at 5000/min; feeds 1 + 3 + 4 at F100 and 4 at F200: 0.0022 + 0.1 minutes.
    const TToolResult result = RunToolWith("--summary", DataFile("summary.ngc"));
    EXPECT_EQ(result.Status, 0);
    EXPECT_EQ(result.Err, "");
    EXPECT_EQ(result.Out, "reading: strict\n" + kSummaryFigures +
                              "rapid rate: 5000.0000\n"
                              "estimated minutes: 0.1022\n"
                              "untimed length: 0.0000\n");

    const TToolResult slower =
        RunToolWith("--rapid-rate' '1000' '--summary", DataFile("summary.ngc"));
    EXPECT_NE(slower.Out.find("rapid rate: 1000.0000\nestimated minutes: 0.1110\n"),
              std::string::npos)
        << slower.Out;
}

TEST_F(TZorvitTableOptionsTest, LenientReadingRunsToTheEndAndTheSummaryListsTheSkips)
{
    const TToolResult strict = RunTool(DataFile("gcode-lenient.ngc"));
    EXPECT_EQ(strict.Status, 1);
    EXPECT_EQ(strict.Err, "Number expected on line 1\n");

    const TToolResult lenient = RunToolWith("--lenient", DataFile("gcode-lenient.ngc"));
    EXPECT_EQ(lenient.Status, 0);
    EXPECT_EQ(lenient.Err, "");
    EXPECT_EQ(lenient.Out, kHeader + "1,,,,,,,20,,,,,,,,,,,,,,,,,,,\n"
                                     "2,,,0,,,,,,,,,,,,,,,,,,,,,0.5,,\n"
                                     "3,,300,1,,,,,,,,,,,,,,,,,,,,,1,,\n");

    const TToolResult summary = RunToolWith("--summary' '--lenient", DataFile("gcode-lenient.ngc"));
    EXPECT_EQ(summary.Status, 0);
    const std::string tail = "skipped words: 1\n"
                             "skipped lines: 2\n"
                             "skipped 1: line 2: o100 sub\n"
                             "skipped 2: line 3: Y#1\n"
                             "skipped 3: line 5: o100 endsub\n";
    ASSERT_GE(summary.Out.size(), tail.size());
    EXPECT_EQ(summary.Out.substr(summary.Out.size() - tail.size()), tail);
    EXPECT_EQ(summary.Out.rfind("reading: lenient\n", 0), 0u);
}

TEST_F(TZorvitTableOptionsTest, MotionsAreTheMachinePathInMillimetresOfMachineCoordinates)
{
    const TToolResult result = RunToolWith("--motions", DataFile("machine/inch.ngc"));
    EXPECT_EQ(result.Status, 0);
    EXPECT_EQ(result.Err, "");
    EXPECT_EQ(result.Out.substr(0, result.Out.find('\n', result.Out.find('\n') + 1) + 1),
              "3 rapid 25.4000 25.4000 12.7000\n"
              "4 feed 25.4000 25.4000 -2.5400\n");
    EXPECT_NE(
        result.Out.find("\n5 arc 50.8000 50.8000 -2.5400 C 50.8000 25.4000 -2.5400 XY cw 1\n"),
        std::string::npos);
}

TEST_F(TZorvitTableOptionsTest, MachinePathErrorPrintsTheMotionsBeforeItAndFailsWith1)
{
    const TToolResult motions = RunToolWith("--motions", DataFile("machine-error.ngc"));
    EXPECT_EQ(motions.Status, 1);
    EXPECT_EQ(motions.Out, "2 rapid 10.0000 0.0000 0.0000\n");
    EXPECT_EQ(
        motions.Err,
        "Radius to end of arc differs from radius to start: r1=5.100000 r2=4.900000 on line 3\n");

    const TToolResult summary = RunToolWith("--machine' '--summary", DataFile("machine-error.ngc"));
    EXPECT_EQ(summary.Status, 1);
    EXPECT_EQ(summary.Out.rfind("reading: machine\nsource lines: 5\nrows: 1\n", 0), 0u)
        << summary.Out;
}

TEST_F(TZorvitTableOptionsTest, MachineSummaryHasTrueArcLengths)
{
    // The transcription draws each arc of summary.ngc as one chord; the machine path as arcs.
    const TToolResult result = RunToolWith("--machine' '--summary", DataFile("summary.ngc"));
    EXPECT_EQ(result.Status, 0);
    EXPECT_EQ(result.Err, "");
    EXPECT_EQ(result.Out.rfind("reading: machine\n", 0), 0u);
    EXPECT_NE(result.Out.find("length G2: 6.2832\nlength G3: 6.2832\n"), std::string::npos)
        << result.Out;
}

TEST_F(TZorvitTableOptionsTest, StateAtALineInEitherReading)
{
    // The reading of machine-error.ngc fails on line 3, so both runs end with status 1; the
    // state after line 2 is the one it reached, past the error the one it stopped in.
    const TToolResult machine =
        RunToolWith("--machine' '--state-at' '2", DataFile("machine-error.ngc"));
    EXPECT_EQ(machine.Status, 1);
    EXPECT_EQ(machine.Out.rfind("line: 2\nreached: yes\nposition: X10 Y0 Z0\n", 0), 0u)
        << machine.Out;
    const TToolResult past =
        RunToolWith("--machine' '--state-at' '5", DataFile("machine-error.ngc"));
    EXPECT_EQ(past.Status, 1);
    EXPECT_EQ(past.Out.rfind("line: 5\nreached: no\nposition: X10 Y0 Z0\n", 0), 0u) << past.Out;

    const TToolResult table = RunToolWith("--state-at' '6", DataFile("summary.ngc"));
    EXPECT_EQ(table.Status, 0) << table.Err;
    EXPECT_EQ(table.Out.rfind("line: 6\nposition: X3 Y4 Z-1\nfeed: 100\nspindle: none\ntool: 1\n"
                              "motion: G1\n",
                              0),
              0u)
        << table.Out;
}

TEST_F(TZorvitTableOptionsTest, UnknownOptionsAndBadRatesGiveTheUsage)
{
    for (const char* options :
         {"--fast", "--rapid-rate' '0", "--rapid-rate' 'x", "--summary' 'two", "--machine",
          "--lenient' '--motions", "--motions' '--summary", "--state-at' '0", "--state-at' '2x",
          "--state-at' '2' '--summary", "--motions' '--state-at' '2",
          "--lenient' '--machine' '--state-at' '1"}) {
        const TToolResult result = RunToolWith(options, DataFile("summary.ngc"));
        EXPECT_EQ(result.Status, 2) << options;
        EXPECT_EQ(result.Out, "") << options;
        EXPECT_NE(result.Err.find("usage: zorvit-table"), std::string::npos) << options;
    }
}

}  // namespace
