// zorvit-table FILE: prints the line table that the interpreter makes of a G-code file as CSV.
// A null is an empty field; reals are written in the shortest form that reads back exactly.
// Exit status: 0 on success; 1 when interpretation fails (the rows committed before the
// failure are still printed, the message goes to stderr); 2 when the file cannot be read, and
// also when the tool is not given exactly one argument; 3 when the table cannot be written
// (a full disk, for one), which wins over 1; both messages are printed then.
// FILE may be a pipe, and "-" reads standard input; devices are refused.

#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <exception>
#include <string>
#include <utility>

#include <sys/stat.h>

#include "Error.h"
#include "FileBytes.h"
#include "FloatEnvironment.h"
#include "GCodeEngine.h"
#include "LineList.h"

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
    {
    }
};

void Write(const std::string& bytes)
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

void AppendField(std::string& out, const TLineTable& table, int column)
{
    if (table.IsNull(column))
        return;
    char text[32];
    const auto result = table.ColumnType(column) == TFieldType::Float
                            ? std::to_chars(std::begin(text), std::end(text), table.GetFloat(column))
                            : std::to_chars(std::begin(text), std::end(text), table.GetInteger(column));
    out.append(text, result.ptr);
}

void WriteTable(TLineTable& table)
{
    std::string out;
    for (int column = 0; column < table.ColumnCount(); ++column) {
        if (column > 0)
            out += ',';
        out += table.ColumnName(column);
    }
    out += '\n';
    for (table.MoveFirst(); !table.AtEnd(); table.MoveNext()) {
        for (int column = 0; column < table.ColumnCount(); ++column) {
            if (column > 0)
                out += ',';
            AppendField(out, table, column);
        }
        out += '\n';
        if (out.size() >= kWriteChunkBytes) {
            Write(out);
            out.clear();
        }
    }
    Write(out);
    Flush();
}

// The path to read: "-" is standard input. A device is refused before it is opened, since it
// may never end (/dev/zero) or wait for a person (a terminal).
std::string InputPath(const std::string& argument)
{
    const std::string path = argument == "-" ? "/dev/stdin" : argument;
    struct stat status{};
    if (::stat(path.c_str(), &status) == 0 && !S_ISREG(status.st_mode) && !S_ISFIFO(status.st_mode) &&
        !S_ISSOCK(status.st_mode))
        throw EZorvitError("cannot read '" + argument + "': not a regular file or a pipe");
    return path;
}

}  // namespace

int main(int argc, char** argv)
{
    InitFloatingPoint();
    if (argc != 2) {
        std::fprintf(stderr, "usage: zorvit-table FILE\n");
        return kExitUnreadable;
    }
    std::string bytes;
    try {
        bytes = ReadFileBytes(InputPath(argv[1]));
    } catch (const EZorvitError& error) {
        std::fprintf(stderr, "zorvit-table: %s\n", error.what());
        return kExitUnreadable;
    }

    TGCodeEngine engine;
    TLineTable& table = *engine.Table();
    std::string failure;
    bool failed = false;
    try {
        engine.Run(TLineList(std::move(bytes)));
    } catch (const std::exception& e) {
        failed = true;
        failure = e.what();
        // Only committed rows are printed: the failing line's partial row is dropped.
        table.DiscardRow();
    }
    int status = 0;
    try {
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
