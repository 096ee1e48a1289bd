// zorvit-table [--lenient | --machine] [--summary | --motions] [--rapid-rate RATE] FILE: prints
// the line table that the interpreter makes of a G-code file as CSV. A null is an empty field;
// reals are written in the shortest form that reads back exactly. --lenient reads the file
// leniently; --summary prints the program summary ("key: value" lines) instead of the table,
// with rapids timed at RATE units per minute. --machine reads the file as a machine does (the
// machine path) for the summary; --motions prints the machine path's motions, one per line.
// --state-at LINE prints the state after the 1-based LINE as "key: value" lines instead, in the
// machine path with --machine, else in the transcription.
// Exit status: 0 on success; 1 when interpretation fails or the machine path stops at an error (the
// rows committed before the failure are still printed, the message goes to stderr); 2 when the file
// cannot be read, and also on a usage error (an unknown option, or not one file name); 3 when the
// output cannot be written (a full disk, for one), which wins over 1; both messages are printed
// then. FILE may be a pipe, and "-" reads standard input; devices are refused.

#include <array>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>
#include <utility>

#include "common/Error.h"
#include "common/FileBytes.h"
#include "gcode/FloatEnvironment.h"
#include "gcode/GCodeEngine.h"
#include "gcode/LineList.h"
#include "machine/MachineReader.h"
#include "machine/MachineSummary.h"
#include "machine/MotionText.h"
#include "playback/MachineStateIndex.h"
#include "playback/StateText.h"
#include "playback/TableStateIndex.h"
#include "program/ProgramSummary.h"
#include "program/SummaryText.h"

namespace {

constexpr int kExitRunFailed = 1;
constexpr int kExitUnreadable = 2;
constexpr int kExitUnwritable = 3;
constexpr std::size_t kWriteChunkBytes = 1 << 20;  // output is written in pieces of about this size

class EWriteError : public EZorvitError
{
public:
    explicit EWriteError(int error)
        : EZorvitError(std::string("cannot write the table: ") + std::strerror(error))
    {}
};

void Write(std::string_view bytes)
{
    if (std::fwrite(bytes.data(), 1, bytes.size(), stdout) != bytes.size())
        throw EWriteError(errno);
}

// The bytes still buffered reach the output only here, so a full disk may show only now.
void Flush()
{
    if (std::fflush(stdout) != 0)
        throw EWriteError(errno);
}

// The row's set columns are read once and only they are formatted, each into the output
// buffer directly: most fields of a row are null.
void WriteTable(TLineTable& table)
{
    constexpr int kColumns = TLineTable::kColumnCount;
    constexpr std::size_t kFieldBytes = 32;  // the longest shortest double fits
    constexpr std::size_t kRowBytes = kColumns * (kFieldBytes + 1);
    std::array<bool, kColumns> floats{};
    std::string out;
    for (int column = 0; column < kColumns; ++column) {
        floats[column] = table.ColumnType(column) == TFieldType::Float;
        if (column > 0)
            out += ',';
        out += table.ColumnName(column);
    }
    out += '\n';
    std::size_t used = out.size();
    out.resize(kWriteChunkBytes + kRowBytes);
    for (table.MoveFirst(); !table.AtEnd(); table.MoveNext()) {
        // The Line column always holds the row's number.
        const std::uint32_t set = table.SetColumns() | TLineTable::ColumnBit(0);
        char* p = out.data() + used;
        for (int column = 0; column < kColumns; ++column) {
            if (column > 0)
                *p++ = ',';
            if ((set & TLineTable::ColumnBit(column)) == 0)
                continue;
            p = (floats[column] ? std::to_chars(p, p + kFieldBytes, table.GetFloat(column))
                                : std::to_chars(p, p + kFieldBytes, table.GetInteger(column)))
                    .ptr;
        }
        *p++ = '\n';
        used = static_cast<std::size_t>(p - out.data());
        if (used >= kWriteChunkBytes) {
            Write(std::string_view(out.data(), used));
            used = 0;
        }
    }
    Write(std::string_view(out.data(), used));
    Flush();
}

void WriteSummary(const TGCodeEngine& engine, double rapidRate)
{
    TProgramSummary summary = SummarizeRun(engine);
    summary.RapidRate = rapidRate;
    Write(FormatSummary(summary));
    Flush();
}

struct TOptions
{
    bool Lenient = false;
    bool Machine = false;
    bool Motions = false;
    bool Summary = false;
    double RapidRate = TProgramSummary::kDefaultRapidRate;
    std::size_t StateAt = 0;  // 1-based; 0 for none
    const char* File = nullptr;
};

// A line number from 1 on.
bool ParseLine(const char* text, std::size_t& line)
{
    const std::string_view view = text;
    const auto result = std::from_chars(view.data(), view.data() + view.size(), line);
    return result.ec == std::errc() && result.ptr == view.data() + view.size() && line > 0;
}

// False on an unknown option, a missing or second file name, or a rate that is not above 0.
bool ParseOptions(int argc, char** argv, TOptions& options)
{
    for (int i = 1; i < argc; ++i) {
        const char* const argument = argv[i];
        if (std::strcmp(argument, "--lenient") == 0) {
            options.Lenient = true;
        } else if (std::strcmp(argument, "--summary") == 0) {
            options.Summary = true;
        } else if (std::strcmp(argument, "--machine") == 0) {
            options.Machine = true;
        } else if (std::strcmp(argument, "--motions") == 0) {
            options.Motions = true;
        } else if (std::strcmp(argument, "--rapid-rate") == 0 && i + 1 < argc) {
            char* end = nullptr;
            options.RapidRate = std::strtod(argv[++i], &end);
            if (*end != '\0' || !(options.RapidRate > 0))
                return false;
        } else if (std::strcmp(argument, "--state-at") == 0 && i + 1 < argc) {
            if (!ParseLine(argv[++i], options.StateAt))
                return false;
        } else if ((argument[0] == '-' && argument[1] != '\0') || options.File != nullptr) {
            return false;  // a lone "-" is no option but standard input
        } else {
            options.File = argument;
        }
    }
    // The machine path has no table to print, and the motions are the machine path's alone.
    const bool machine = options.Machine || options.Motions;
    const bool state = options.StateAt != 0;
    if (state && (options.Summary || options.Motions))
        return false;
    if (machine && (options.Lenient || (options.Summary && options.Motions) ||
                    (options.Machine && !options.Summary && !options.Motions && !state)))
        return false;
    return options.File != nullptr;
}

// Reads the program as a machine does and prints its summary or its motions; the motions read
// before an error are printed too.
int RunMachine(const TOptions& options, std::string bytes)
{
    const TLineList lines(std::move(bytes));
    TMachineReader reader;
    TMachineStateIndex states(lines.size());
    if (options.StateAt != 0)
        reader.OnLineRead = [&states](std::size_t line, const TMachine& machine) {
            states.Record(line, machine);
        };
    // "o<name> call" finds name.ngc beside the program (in the working folder for a pipe)
    const std::string_view file = options.File;
    reader.SubroutineFolder = file == "-" ? std::filesystem::current_path()
                                          : std::filesystem::absolute(file).parent_path();
    std::string failure;
    try {
        reader.Run(lines);
    } catch (const EMachineError& error) {
        failure = error.what();
    }
    const TMachineReading reading = reader.TakeResult();
    int status = 0;
    try {
        if (options.StateAt != 0) {
            Write(FormatMachineState(states.At(options.StateAt - 1, reading.Motions)));
        } else if (options.Motions) {
            Write(FormatMotions(reading.Motions));
        } else {
            TProgramSummary summary = SummarizeMachine(reading);
            summary.RapidRate = options.RapidRate;
            Write(FormatSummary(summary));
        }
        Flush();
    } catch (const EWriteError& error) {
        std::fprintf(stderr, "zorvit-table: %s\n", error.what());
        status = kExitUnwritable;
    }
    if (!failure.empty()) {
        std::fprintf(stderr, "%s\n", failure.c_str());
        return status == 0 ? kExitRunFailed : status;
    }
    return status;
}

}  // namespace

int main(int argc, char** argv)
{
    InitFloatingPoint();
    TOptions options;
    if (!ParseOptions(argc, argv, options)) {
        std::fprintf(stderr,
                     "usage: zorvit-table [--lenient] [--summary] [--rapid-rate RATE] FILE\n"
                     "       zorvit-table --machine --summary [--rapid-rate RATE] FILE\n"
                     "       zorvit-table --motions FILE\n"
                     "       zorvit-table [--lenient | --machine] --state-at LINE FILE\n");
        return kExitUnreadable;
    }
    std::string bytes;
    try {
        bytes = ReadCommandLineFile(options.File);
    } catch (const EZorvitError& error) {
        std::fprintf(stderr, "zorvit-table: %s\n", error.what());
        return kExitUnreadable;
    }

    if (options.Machine || options.Motions)
        return RunMachine(options, std::move(bytes));

    TGCodeEngine engine;
    engine.SetLenient(options.Lenient);
    TLineTable& table = *engine.Table();
    std::string failure;
    bool failed = false;
    try {
        engine.RunText(bytes);
    } catch (const std::exception& e) {
        failed = true;
        failure = e.what();
        // Only committed rows are printed: the failing line's partial row is dropped.
        table.DiscardRow();
    }
    int status = 0;
    try {
        if (options.StateAt != 0)
            Write(FormatTableState(TTableStateIndex(engine).At(options.StateAt - 1)));
        else if (options.Summary)
            WriteSummary(engine, options.RapidRate);
        else
            WriteTable(table);
    } catch (const EWriteError& error) {
        std::fprintf(stderr, "zorvit-table: %s\n", error.what());
        status = kExitUnwritable;
    }
    if (failed) {
        std::fprintf(stderr, "%s\n", failure.c_str());
        return status == 0 ? kExitRunFailed : status;
    }
    return status;
}
