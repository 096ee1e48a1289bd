#pragma once
// TGCodeEngine transcribes G-code lines into a line table: one row per line that sets a value,
// each word's number in the column for its letter. It keeps no modal state and applies no
// units or distance modes.
//
// Strict reading (the default) accepts the subset the interpreter is built for and stops at the
// first error. Lenient reading, for programs from CAM systems and controllers, never stops at a
// syntax error: ";" comments, numbers like ".5", and reals after integer words are read; words
// whose value is an expression or a parameter, O-word lines, parameter assignments and
// over-long lines are passed over and counted in Skipped().

#include <array>
#include <atomic>
#include <cstdint>
#include <exception>
#include <functional>
#include <initializer_list>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/SourceLines.h"
#include "gcode/GCodeParser.h"
#include "gcode/LineList.h"
#include "gcode/LineTable.h"
#include "gcode/SkipReport.h"

class TGCodeEngine
{
public:
    TGCodeEngine();

    // Empties the table and interprets the lines into it. The first error ends the run: the
    // rows of earlier lines stay, and the failing line's values stay in the pending row.
    // The engine holds the lines it is given for the length of the run only, so a list that
    // views a text needs that text for no longer than the call.
    void Run(TLineList lines);
    void Run(std::vector<std::string> lines);
    // Lets a brace list of lines pick one overload.
    void Run(std::initializer_list<std::string> lines);
    // Reads the lines of a text, split at its breaks as the editor splits it, without listing
    // them first. The caller keeps the text unchanged for the length of the call.
    void RunText(std::string_view text);
    const std::shared_ptr<TLineTable>& Table() const { return FTable; }
    // The 0-based index of the source line of each committed row, in row order. After a failed
    // run the failing line's pending row, which the next read of the table commits, has its
    // entry already. Shared like the table, so both outlive the engine together.
    std::shared_ptr<const TSourceLines> RowSourceLines() const { return FRowLines; }
    // The 0-based index of the line the last Run stopped at; none after a run that succeeded.
    std::optional<std::size_t> FailedLine() const { return FFailedLine; }

    void SetLenient(bool lenient);
    bool Lenient() const { return FLenient; }
    // What the last lenient run passed over; empty after a strict run.
    const TSkipReport& Skipped() const { return FSkipped; }
    // The lines of the last run.
    std::size_t LineCount() const { return FLineCount; }

    // Told how far the run has come and how far it goes, in lines (Run) or bytes (RunText), at
    // the first line and then every kProgressLines lines.
    std::function<void(std::size_t done, std::size_t total)> OnProgress;
    static constexpr std::size_t kProgressLines = std::size_t{1} << 16;
    // Lines do not depend on each other, so from this many lines or bytes on a second thread
    // reads the later half into a table of its own, which then follows this one's rows.
    static constexpr std::size_t kSplitLines = std::size_t{1} << 16;
    static constexpr std::size_t kSplitBytes = std::size_t{1} << 20;

private:
    enum class TWordKind : std::uint8_t { Ignored, Integer, Real, GCode, MCode };

    struct TWordEntry
    {
        TWordKind Kind = TWordKind::Ignored;
        int Required = TGCodeParser::tkEnd;  // token that must follow the letter
        int Column = -1;
    };

    static constexpr std::size_t kLetterCount = 26;
    static constexpr std::size_t kClassNumberCount = 100;  // G and M numbers with a class are below

    friend class TRunAhead;

    void BeginRun(std::size_t expectedRows, std::size_t progressTotal);
    void EndRun();
    void RunTextPart(std::string_view text, std::size_t firstLine);
    // Reads the lines a source hands out, the first of them being line firstLine of the text.
    template <class TSource>
    void RunSource(TSource& source, std::size_t firstLine);
    template <bool kLenient, class TSource>
    void RunLines(TSource& source, std::size_t firstLine);
    // Runs earlier on this engine and later on a second one at once, then appends what the
    // second one read to this one's table.
    void RunHalves(const std::function<void(TGCodeEngine&)>& earlier,
                   const std::function<void(TGCodeEngine&)>& later);
    // Appends what an engine read of the lines after this one's; then rethrows its error.
    void Adopt(TGCodeEngine& later, const std::exception_ptr& laterError);
    void HandleWord();
    void CommitRow(std::size_t line);
    void RecordFailure(std::size_t line);
    void StoreInteger(const TWordEntry& entry, std::int64_t number);
    int ClassColumn(TWordKind kind, std::int64_t number) const;

    // Lenient reading. Each returns the token to go on with.
    bool SkipsWholeLine(int firstToken) const;
    int HandleLenientWord();
    bool StoreLenientNumber(const TWordEntry& entry, int token);
    bool StartsExpression(int token) const;
    int SkipValue(std::size_t start);

    TGCodeParser FParser;
    std::shared_ptr<TLineTable> FTable;
    std::size_t FProgressTotal = 0;
    std::size_t FLinesRead = 0;  // the index after the last line the last loop read
    // While the later half runs beside this engine: how far it has come, added to the progress.
    const std::atomic<std::size_t>* FLaterDone = nullptr;
    std::size_t FLineCount = 0;
    std::shared_ptr<TSourceLines> FRowLines;
    std::optional<std::size_t> FFailedLine;
    bool FLenient = false;
    TSkipReport FSkipped;
    std::size_t FLineIndex = 0;  // the line a lenient run is reading
    std::string_view FLine;
    // Column names resolved once: per letter, and per G and M number (-1 for none).
    std::array<TWordEntry, kLetterCount> FWords{};
    std::array<int, kClassNumberCount> FGColumns{};
    std::array<int, kClassNumberCount> FMColumns{};
};
