// zorvit-table FILE: prints the line table that the interpreter makes of a G-code file as CSV.
// A null is an empty field; reals are written in the shortest form that reads back exactly.
// Exit status: 0 on success; 1 when interpretation fails (the rows committed before the
// failure are still printed, the message goes to stderr); 2 when the file cannot be read.

#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <exception>
#include <memory>
#include <string>

#include "FloatEnvironment.h"
#include "GCodeEngine.h"
#include "LineSplit.h"

namespace {

constexpr int kExitRunFailed = 1;
constexpr int kExitUnreadable = 2;
constexpr std::size_t kReadChunkBytes = 1 << 16;
constexpr std::size_t kWriteChunkBytes = 1 << 20;  // output is written in pieces of about this size

struct TFileCloser
{
    void operator()(std::FILE* file) const { std::fclose(file); }
};

// Reads the whole file; on failure returns false with the system's reason in `error`.
bool ReadFileBytes(const char* path, std::string& bytes, std::string& error)
{
    const std::unique_ptr<std::FILE, TFileCloser> file(std::fopen(path, "rb"));
    if (!file) {
        error = std::strerror(errno);
        return false;
    }
    char chunk[kReadChunkBytes];
    std::size_t count = 0;
    while ((count = std::fread(chunk, 1, sizeof chunk, file.get())) > 0)
        bytes.append(chunk, count);
    if (std::ferror(file.get())) {
        error = std::strerror(errno);
        return false;
    }
    return true;
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
            std::fwrite(out.data(), 1, out.size(), stdout);
            out.clear();
        }
    }
    std::fwrite(out.data(), 1, out.size(), stdout);
    std::fflush(stdout);
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
    std::string error;
    if (!ReadFileBytes(argv[1], bytes, error)) {
        std::fprintf(stderr, "zorvit-table: cannot read '%s': %s\n", argv[1], error.c_str());
        return kExitUnreadable;
    }

    TGCodeEngine engine;
    TLineTable& table = *engine.Table();
    std::string failure;
    bool failed = false;
    try {
        engine.Run(SplitLines(bytes));
    } catch (const std::exception& e) {
        failed = true;
        failure = e.what();
        // Only committed rows are printed: the failing line's partial row is dropped.
        table.DiscardRow();
    }
    WriteTable(table);
    if (failed) {
        std::fprintf(stderr, "%s\n", failure.c_str());
        return kExitRunFailed;
    }
    return 0;
}
