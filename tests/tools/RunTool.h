#pragma once
// Runs a built program through the shell, as a user's command line does, and reads back what it
// wrote: shared by the tests of the command-line tools.

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

struct TToolResult
{
    int Status = -1;  // -1 when the program did not exit by itself
    std::string Out;
    std::string Err;
};

// The file's bytes; empty when it cannot be read.
inline std::string ReadWholeFile(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

// Runs the shell command line with standard output going to outFile and standard error to
// errFile, and reads both back. An empty outFile leaves standard output to the command line; an
// empty errFile drops standard error.
inline TToolResult RunTool(const std::string& command, const std::string& outFile,
                           const std::string& errFile)
{
    std::string line = command;
    if (!outFile.empty())
        line += " >'" + outFile + "'";
    line += errFile.empty() ? std::string(" 2>/dev/null") : " 2>'" + errFile + "'";
    const int raw = std::system(line.c_str());
    TToolResult run;
    run.Status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    if (!outFile.empty())
        run.Out = ReadWholeFile(outFile);
    if (!errFile.empty())
        run.Err = ReadWholeFile(errFile);
    return run;
}
