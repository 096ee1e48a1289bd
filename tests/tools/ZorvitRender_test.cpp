// Runs the built zorvit-render with no display, as a file manager's thumbnailer does, and reads
// back the PNG it writes.

#include "tests/tools/RunTool.h"

#include <QImage>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

namespace {

constexpr QRgb kBlue = 0xFF0000FF;
constexpr QRgb kRed = 0xFFFF0000;
constexpr QRgb kFuchsia = 0xFFFF00FF;
constexpr QRgb kYellow = 0xFFFFFF00;
constexpr int kSize = 64;

struct TRenderResult : TToolResult
{
    QImage Image;
};

class TZorvitRenderTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Scratch = ::testing::TempDir() + "zorvit-render-" +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name() + "/";
        std::system(("rm -rf '" + Scratch + "' && mkdir -p '" + Scratch + "config'").c_str());
        Image = Scratch + "out.png";
    }

    std::string WriteFile(const std::string& name, const std::string& text) const
    {
        const std::string path = Scratch + name;
        std::ofstream(path, std::ios::binary) << text;
        return path;
    }

    // The tool with the given arguments and environment settings, without DISPLAY or
    // WAYLAND_DISPLAY, and with its own settings folder.
    TRenderResult RunTool(const std::string& arguments, const std::string& environment = "") const
    {
        const std::string command = "env -u DISPLAY -u WAYLAND_DISPLAY " + environment +
                                    " XDG_CONFIG_HOME='" + Scratch +
                                    "config' '" ZORVIT_RENDER_TOOL "' " + arguments;
        TRenderResult result;
        static_cast<TToolResult&>(result) = ::RunTool(command, "", Scratch + "render.err");
        result.Image.load(QString::fromStdString(Image));
        return result;
    }

    TRenderResult Render(const std::string& program, const std::string& options = "") const
    {
        return RunTool("'" + WriteFile("program.ngc", program) + "' -o '" + Image + "' " + options);
    }

    static int Count(const QImage& image, QRgb colour)
    {
        int count = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                count += image.pixel(x, y) == colour;
        return count;
    }

    std::string Scratch;
    std::string Image;
};

TEST_F(TZorvitRenderTest, DrawsRapidMovesBlueAndCutsRedWithoutADisplay)
{
    const TRenderResult result = Render("G0 X10 Y0\nG1 X10 Y10\nG1 X0 Y10\n", "--size 64");
    EXPECT_EQ(result.Status, 0);
    EXPECT_EQ(result.Err, "");
    ASSERT_FALSE(result.Image.isNull());
    EXPECT_EQ(result.Image.size(), QSize(kSize, kSize));
    // The fit spreads the 10 x 10 square over most of the image.
    EXPECT_GT(Count(result.Image, kBlue), kSize / 2);
    EXPECT_GT(Count(result.Image, kRed), kSize);
}

TEST_F(TZorvitRenderTest, SizeDefaultsTo256)
{
    const TRenderResult result = Render("G1 X10 Y10\n");
    EXPECT_EQ(result.Status, 0);
    EXPECT_EQ(result.Image.size(), QSize(256, 256));
}

TEST_F(TZorvitRenderTest, TakesTheMotionColoursFromTheUsersSettings)
{
    std::system(("mkdir -p '" + Scratch + "config/Zorvit'").c_str());
    WriteFile("config/Zorvit/Zorvit.ini", "[Colors]\nG0=clFuchsia\nG1=clYellow\n");
    const TRenderResult result = Render("G0 X1000 Y0\nG1 X1000 Y1000\n", "--size 64");
    EXPECT_EQ(result.Status, 0);
    EXPECT_GT(Count(result.Image, kFuchsia), kSize / 2);
    EXPECT_GT(Count(result.Image, kYellow), kSize / 2);
    // Beside a plot this large the axes gizmo shrinks to a pixel or two.
    EXPECT_LE(Count(result.Image, kBlue), 2);
    EXPECT_LE(Count(result.Image, kRed), 2);
}

TEST_F(TZorvitRenderTest, ViewsLookAlongTheirAxes)
{
    // A cut straight down Z: a point from the top, a line from the front and from the right.
    // The plot is large beside the axes gizmo, which shrinks to a pixel or two.
    const std::string program = "G0 X500 Y500 Z1000\nG1 Z-1000\n";
    const int top = Count(Render(program, "--size 64 --view top").Image, kRed);
    const int front = Count(Render(program, "--size 64 --view front").Image, kRed);
    const int right = Count(Render(program, "--size 64 --view=right").Image, kRed);
    const TRenderResult iso = Render(program, "--size 64 --view iso");
    EXPECT_EQ(iso.Status, 0);
    EXPECT_GT(front, top + kSize / 2);
    EXPECT_GT(right, top + kSize / 2);
    EXPECT_GT(Count(iso.Image, kRed), top);
}

TEST_F(TZorvitRenderTest, ProgramErrorExitsOneWithTheMovesBeforeIt)
{
    const TRenderResult result = Render("G0 X10 Y10\nG1 X0 F\nG1 Y0\n", "--size 64");
    EXPECT_EQ(result.Status, 1);
    EXPECT_NE(result.Err, "");
    ASSERT_FALSE(result.Image.isNull());
    EXPECT_GT(Count(result.Image, kBlue), kSize / 2);
    EXPECT_EQ(Count(result.Image, kRed), Count(Render("G0 X10 Y10\n", "--size 64").Image, kRed))
        << "the failing line and the lines after it are not drawn";
}

TEST_F(TZorvitRenderTest, UnreadableFileOrImageExitsTwo)
{
    TRenderResult result = RunTool("'" + Scratch + "missing.ngc' -o '" + Image + "'");
    EXPECT_EQ(result.Status, 2);
    EXPECT_NE(result.Err.find("missing.ngc"), std::string::npos) << result.Err;
    EXPECT_TRUE(result.Image.isNull());

    const std::string program = WriteFile("program.ngc", "G1 X1\n");
    result = RunTool("'" + program + "' -o '" + Scratch + "no-such-folder/out.png'");
    EXPECT_EQ(result.Status, 2);
    EXPECT_NE(result.Err.find("no-such-folder/out.png"), std::string::npos) << result.Err;
}

TEST_F(TZorvitRenderTest, NoOpenGLOnTheMachineExitsTwoWithAMessage)
{
    // The GL dispatch library then finds no EGL driver, as on a machine without Mesa's.
    const std::string program = WriteFile("program.ngc", "G1 X1\n");
    const TRenderResult result = RunTool("'" + program + "' -o '" + Image + "'",
                                         "__EGL_VENDOR_LIBRARY_FILENAMES=/nonexistent.json");
    EXPECT_EQ(result.Status, 2);
    EXPECT_NE(result.Err.find("No offscreen OpenGL context"), std::string::npos) << result.Err;
    EXPECT_TRUE(result.Image.isNull());
}

TEST_F(TZorvitRenderTest, WrongArgumentsExitTwoWithTheUsage)
{
    const std::string program = WriteFile("program.ngc", "G1 X1\n");
    for (const std::string& arguments :
         {"'" + program + "'", "-o '" + Image + "'", "'" + program + "' -o x.png --size 0",
          "'" + program + "' -o x.png --size 5000", "'" + program + "' -o x.png --view side",
          "'" + program + "' -o x.png --bogus", "'" + program + "' -o",
          "'" + program + "' -o x.png --machine --lenient",
          "'" + program + "' -o x.png --max-seconds 0",
          "'" + program + "' -o x.png --max-seconds x", "'" + program + "' -o x.png --max-memory 0",
          "'" + program + "' -o x.png --max-memory 1.5"}) {
        const TRenderResult result = RunTool(arguments);
        EXPECT_EQ(result.Status, 2) << arguments;
        EXPECT_NE(result.Err.find("Usage: zorvit-render"), std::string::npos) << arguments;
    }
}

// Which reading draws a program: a half circle in G2 is one olive chord in the transcription
// and many olive pixels around the circle in the machine path; "F100." stops strict reading.
TEST_F(TZorvitRenderTest, DrawsTheReadingTheOptionsOrTheUsersSettingsName)
{
    constexpr QRgb kOlive = 0xFF808000;
    const std::string arc = "G21 G90\nG0 X-10 Y0\nG2 X10 Y0 I10 J0 F100.\n";
    std::system(("mkdir -p '" + Scratch + "config/Zorvit'").c_str());

    const TRenderResult strict = Render(arc, "--size 64");
    EXPECT_EQ(strict.Status, 1) << "strict reading stops at F100.";
    const TRenderResult lenient = Render(arc, "--size 64 --lenient");
    EXPECT_EQ(lenient.Status, 0) << lenient.Err;
    const TRenderResult machine = Render(arc, "--size 64 --machine");
    EXPECT_EQ(machine.Status, 0) << machine.Err;
    // The chord lies on the middle row; the arc bends away from it.
    const int chordRow = Count(lenient.Image.copy(0, kSize / 2 - 2, kSize, 5), kOlive);
    EXPECT_GT(chordRow, kSize / 2);
    EXPECT_GT(Count(machine.Image, kOlive), chordRow);
    EXPECT_LT(Count(machine.Image.copy(0, kSize / 2 - 2, kSize, 5), kOlive), chordRow / 2);

    WriteFile("config/Zorvit/Zorvit.ini", "[Reading]\nMachinePath=1\n");
    EXPECT_EQ(Render(arc, "--size 64").Image, machine.Image) << "thumbnails look like the window";
    EXPECT_EQ(Render(arc, "--size 64 --lenient").Image, lenient.Image);

    // A machine path that stops at an error draws the motions before it and exits 1.
    const TRenderResult failed = Render("G0 X10 Y10\nG2 X20 Y0\nG1 X0\n", "--size 64 --machine");
    EXPECT_EQ(failed.Status, 1);
    EXPECT_NE(failed.Err.find("line 2"), std::string::npos) << failed.Err;
    EXPECT_GT(Count(failed.Image, kBlue), kSize / 2);
    EXPECT_EQ(Count(failed.Image, kOlive), 0);
}

// Inputs that would hold a file manager's thumbnailer for minutes or take all the memory end
// within a small budget, with exit 1, a message that names the budget, and the image of what
// was read.
TEST_F(TZorvitRenderTest, HostileInputsEndWithinTheBudget)
{
    struct TCase
    {
        const char* Name;
        const char* Make;  // shell command run in the scratch folder that writes the input
        std::string Input;
        const char* Options;
        const char* Message;
        QRgb Drawn;  // a colour the image shows of what was read; 0 for none
    };
    // The memory cases have time to spare on a busy machine; the loop without moves has not.
    const std::string memory = "the memory budget of 96 MB";
    const std::string time = "the time budget of 4 s";
    const char* roomy = "--max-seconds 60";
    const TCase cases[] = {
        {"many lines", "yes 'G1 X10 Y10' | head -n 3000000 >many.ngc", "many.ngc", roomy,
         memory.c_str(), kRed},
        {"carriage returns only",
         "printf 'G1 X5\\r' >cr.ngc; head -c 40000000 /dev/zero | tr '\\0' '\\r' >>cr.ngc",
         "cr.ngc", roomy, memory.c_str(), kRed},
        {"one long line", "head -c 40000000 /dev/zero | tr '\\0' X >line.ngc", "line.ngc", roomy,
         memory.c_str(), 0},
        {"a sparse gigabyte", "truncate -s 1G sparse.ngc", "sparse.ngc",
         "--max-seconds 60 --machine", memory.c_str(), 0},
        {"a device by name", "true", "/dev/zero", roomy, memory.c_str(), 0},
        {"an endless loop", "printf 'o1 while [1]\\n#1=[#1+1]\\no1 endwhile\\n' >loop.ngc",
         "loop.ngc", "--max-seconds 4 --machine", time.c_str(), 0},
        {"an endless loop of moves",
         "printf 'G0 X10 Y10\\no1 while [1]\\nG1 X0 F100\\nG1 X10\\no1 endwhile\\n' >moves.ngc",
         "moves.ngc", "--max-seconds 60 --machine", "motions", kBlue},
    };
    for (const TCase& test : cases) {
        ASSERT_EQ(std::system(("cd '" + Scratch + "' && " + test.Make).c_str()), 0) << test.Name;
        const std::string input = test.Input.front() == '/' ? test.Input : Scratch + test.Input;
        std::remove(Image.c_str());
        const TRenderResult result =
            RunTool("'" + input + "' -o '" + Image + "' --size 64 --max-memory 96 " + test.Options);
        EXPECT_EQ(result.Status, 1) << test.Name << ": " << result.Err;
        EXPECT_NE(result.Err.find(test.Message), std::string::npos)
            << test.Name << ": " << result.Err;
        ASSERT_FALSE(result.Image.isNull()) << test.Name;
        if (test.Drawn != 0) {
            EXPECT_GT(Count(result.Image, test.Drawn), kSize / 2) << test.Name;
        }
        std::system(("rm -f '" + Scratch + "'*.ngc").c_str());
    }
}

TEST_F(TZorvitRenderTest, HelpAndVersionPrintAndExitZero)
{
    EXPECT_EQ(RunTool("--help >'" + Scratch + "help'").Status, 0);
    EXPECT_NE(ReadWholeFile(Scratch + "help").find("--view"), std::string::npos);
    EXPECT_EQ(RunTool("--version >'" + Scratch + "version'").Status, 0);
    EXPECT_EQ(ReadWholeFile(Scratch + "version"), "zorvit-render " ZORVIT_VERSION "\n");
}

}  // namespace
