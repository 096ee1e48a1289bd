// zorvit --help and --version answer without a display and without a window; other command
// lines go to the window as before.

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

namespace {

struct TRun
{
    int Status = -1; // -1 when the program did not exit by itself
    std::string Out;
};

// The program with no display: anything that opens a window fails to connect.
TRun RunZorvit(const std::string& arguments)
{
    const std::string out = ::testing::TempDir() + "zorvit-command-line.out";
    const std::string command = "env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb "
                                "'" ZORVIT_PROGRAM "' " +
                                arguments + " >'" + out + "' 2>/dev/null";
    const int raw = std::system(command.c_str());
    std::ifstream file(out, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return TRun{WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, text.str()};
}

TEST(ZorvitCommandLineTest, VersionPrintsTheProjectsVersion)
{
    for (const char* option : {"--version", "-v"}) {
        const TRun run = RunZorvit(option);
        EXPECT_EQ(run.Status, 0) << option;
        EXPECT_EQ(run.Out, "zorvit " ZORVIT_VERSION "\n") << option;
    }
}

TEST(ZorvitCommandLineTest, HelpPrintsTheUsageAndOptions)
{
    for (const char* option : {"--help", "-h"}) {
        const TRun run = RunZorvit(option);
        EXPECT_EQ(run.Status, 0) << option;
        EXPECT_NE(run.Out.find("Usage: "), std::string::npos) << run.Out;
        EXPECT_NE(run.Out.find("[FILE]"), std::string::npos) << run.Out;
        EXPECT_NE(run.Out.find("--version"), std::string::npos) << run.Out;
        EXPECT_NE(run.Out.find("G-code editor"), std::string::npos) << run.Out;
    }
}

TEST(ZorvitCommandLineTest, OptionsAfterTheFileNameAreIgnoredAndTheWindowOpens)
{
    // The window cannot open without a display: the program fails instead of printing.
    for (const char* arguments : {"program.ngc --version", "program.ngc --help", "-x --version"}) {
        const TRun run = RunZorvit(arguments);
        EXPECT_NE(run.Status, 0) << arguments;
        EXPECT_EQ(run.Out, "") << arguments;
    }
}

} // namespace
