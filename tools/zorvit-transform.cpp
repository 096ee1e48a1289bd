// zorvit-transform [--translate DX,DY[,DZ]] [--rotate DEG[,CX,CY]] [--mirror x|y|xy] [--scale F]
//                  [--renumber START,STEP] [--tidy] FILE -o OUT
// Rewrites a G-code program: moves, turns, mirrors or scales its tool path, renumbers its
// blocks, tidies its text. The operations apply one after another in the order given. OUT "-"
// is standard output, FILE "-" standard input. Every byte that no operation changes is kept,
// line breaks included.
// Exit status: 0 when written; 1 when a line cannot be transformed exactly (each such line is
// named on standard error and nothing is written); 2 when the file cannot be read or the result
// written, and on a usage error.

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "common/Error.h"
#include "common/FileBytes.h"
#include "common/SafeFileWrite.h"
#include "edit/EditRefusal.h"
#include "edit/Renumber.h"
#include "edit/Tidy.h"
#include "edit/Transform.h"
#include "gcode/LineSplit.h"

namespace {

constexpr int kExitRefused = 1;
constexpr int kExitFileError = 2;
constexpr mode_t kNewFileMode = 0666;

const char kUsage[] =
    "usage: zorvit-transform [--translate DX,DY[,DZ]] [--rotate DEG[,CX,CY]] [--mirror x|y|xy]\n"
    "                        [--scale F] [--renumber START,STEP] [--tidy] FILE -o OUT\n";

// The program as lines, each with the break that ended it in the file.
struct TProgram
{
    std::vector<std::string> Lines;
    std::vector<std::string> Breaks;
};

using TOperation = std::function<void(TProgram&)>;

TProgram SplitProgram(std::string_view text)
{
    TProgram program;
    ForEachLine(text, [&](std::string_view line) {
        program.Lines.emplace_back(line);
        const std::size_t end = static_cast<std::size_t>(line.data() - text.data()) + line.size();
        const std::size_t breakEnd =
            end < text.size() && text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n'
                ? end + 2
            : end < text.size() ? end + 1
                                : end;
        program.Breaks.emplace_back(text.substr(end, breakEnd - end));
    });
    return program;
}

std::string JoinProgram(const TProgram& program)
{
    std::string text;
    for (std::size_t i = 0; i < program.Lines.size(); ++i)
        text += program.Lines[i] + program.Breaks[i];
    return text;
}

// Numbers separated by commas, between min and max of them; false when the text is not that.
bool ParseNumbers(const char* text, std::size_t min, std::size_t max, std::vector<double>& numbers)
{
    numbers.clear();
    const char* at = text;
    for (;;) {
        char* end = nullptr;
        errno = 0;
        const double value = std::strtod(at, &end);
        if (end == at || errno != 0)
            return false;
        numbers.push_back(value);
        if (*end == '\0')
            break;
        if (*end != ',')
            return false;
        at = end + 1;
    }
    return numbers.size() >= min && numbers.size() <= max;
}

void Transform(TProgram& program, const TPlaneTransform& transform)
{
    program.Lines = TransformProgram(program.Lines, transform);
}

struct TOptions
{
    std::vector<TOperation> Operations;
    const char* File = nullptr;
    const char* Out = nullptr;
};

// One operation from its option and argument; false when they are not valid.
bool ParseOperation(const std::string_view option, const char* argument, TOptions& options)
{
    std::vector<double> n;
    if (option == "--translate" && ParseNumbers(argument, 2, 3, n)) {
        const TPlaneTransform t = TPlaneTransform::Translation(n[0], n[1], n.size() > 2 ? n[2] : 0);
        options.Operations.push_back([t](TProgram& p) { Transform(p, t); });
    } else if (option == "--rotate" && ParseNumbers(argument, 1, 3, n) && n.size() != 2) {
        const TPlaneTransform t =
            TPlaneTransform::Rotation(n[0], n.size() > 1 ? n[1] : 0, n.size() > 1 ? n[2] : 0);
        options.Operations.push_back([t](TProgram& p) { Transform(p, t); });
    } else if (option == "--mirror" &&
               (std::strcmp(argument, "x") == 0 || std::strcmp(argument, "y") == 0 ||
                std::strcmp(argument, "xy") == 0)) {
        const std::string_view axes(argument);
        const TPlaneTransform t = TPlaneTransform::Mirror(axes.find('x') != std::string_view::npos,
                                                          axes.find('y') != std::string_view::npos);
        options.Operations.push_back([t](TProgram& p) { Transform(p, t); });
    } else if (option == "--scale" && ParseNumbers(argument, 1, 1, n) && n[0] > 0) {
        const TPlaneTransform t = TPlaneTransform::Scaling(n[0]);
        options.Operations.push_back([t](TProgram& p) { Transform(p, t); });
    } else if (option == "--renumber" && ParseNumbers(argument, 2, 2, n) && n[0] >= 0 &&
               n[1] >= 1 && n[0] == static_cast<long long>(n[0]) &&
               n[1] == static_cast<long long>(n[1])) {
        TRenumberOptions renumber;
        renumber.Start = static_cast<long long>(n[0]);
        renumber.Step = static_cast<long long>(n[1]);
        options.Operations.push_back(
            [renumber](TProgram& p) { p.Lines = Renumber(p.Lines, renumber); });
    } else if (option == "-o") {
        options.Out = argument;
    } else {
        return false;
    }
    return true;
}

bool ParseOptions(int argc, char** argv, TOptions& options)
{
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (argument == "--tidy") {
            options.Operations.push_back([](TProgram& p) {
                TTidyResult tidied = Tidy(p.Lines, TTidyOptions());
                std::vector<std::string> breaks;
                for (std::size_t source : tidied.SourceLines)
                    breaks.push_back(p.Breaks[source]);
                p.Lines = std::move(tidied.Lines);
                p.Breaks = std::move(breaks);
            });
        } else if (argument.size() > 1 && argument[0] == '-') {
            if (i + 1 >= argc || !ParseOperation(argument, argv[++i], options))
                return false;
        } else if (options.File == nullptr) {
            options.File = argv[i];
        } else {
            return false;
        }
    }
    return options.File != nullptr && options.Out != nullptr;
}

void WriteOutput(const std::string& out, const std::string& text)
{
    if (out != "-") {
        try {
            SafeWriteFile(out, text, kNewFileMode);
        } catch (const EFileWriteError& error) {
            throw EZorvitError("cannot write '" + out + "': " + error.what());
        }
        return;
    }
    if (std::fwrite(text.data(), 1, text.size(), stdout) != text.size() || std::fflush(stdout) != 0)
        throw EZorvitError(std::string("cannot write the output: ") + std::strerror(errno));
}

}  // namespace

int main(int argc, char** argv)
{
    TOptions options;
    if (!ParseOptions(argc, argv, options)) {
        std::fputs(kUsage, stderr);
        return kExitFileError;
    }
    TProgram program;
    try {
        program = SplitProgram(ReadCommandLineFile(options.File));
    } catch (const EZorvitError& error) {
        std::fprintf(stderr, "zorvit-transform: %s\n", error.what());
        return kExitFileError;
    }
    try {
        for (const TOperation& operation : options.Operations)
            operation(program);
    } catch (const EEditRefused& refusal) {
        for (const TRefusedLine& line : refusal.Lines())
            std::fprintf(stderr, "%s:%zu: %s\n", options.File, line.Line + 1, line.Reason.c_str());
        return kExitRefused;
    }
    try {
        WriteOutput(options.Out, JoinProgram(program));
    } catch (const EZorvitError& error) {
        std::fprintf(stderr, "zorvit-transform: %s\n", error.what());
        return kExitFileError;
    }
    return 0;
}
