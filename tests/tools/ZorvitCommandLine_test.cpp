// zorvit --help and --version answer without a display and without a window; other command
// lines go to the window as before.

#include "tests/tools/RunTool.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// The program with no display: anything that opens a window fails to connect.
TToolResult RunZorvit(const std::string& arguments)
{
    return RunTool("env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb '" ZORVIT_PROGRAM "' " +
                       arguments,
                   ::testing::TempDir() + "zorvit-command-line.out", "");
}

TEST(ZorvitCommandLineTest, VersionPrintsTheProjectsVersion)
{
    for (const char* option : {"--version", "-v"}) {
        const TToolResult run = RunZorvit(option);
        EXPECT_EQ(run.Status, 0) << option;
        EXPECT_EQ(run.Out, "zorvit " ZORVIT_VERSION "\n") << option;
    }
}

TEST(ZorvitCommandLineTest, HelpPrintsTheUsageAndOptions)
{
    for (const char* option : {"--help", "-h"}) {
        const TToolResult run = RunZorvit(option);
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
        const TToolResult run = RunZorvit(arguments);
        EXPECT_NE(run.Status, 0) << arguments;
        EXPECT_EQ(run.Out, "") << arguments;
    }
}

}  // namespace
