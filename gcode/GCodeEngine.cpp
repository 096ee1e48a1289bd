#include "gcode/GCodeEngine.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <exception>
#include <string_view>
#include <thread>
#include <utility>

#include "common/SameText.h"
#include "gcode/FloatEnvironment.h"
#include "gcode/LineSplit.h"

namespace {

using TParser = TGCodeParser;

struct TWordDef
{
    char Letter;
    int Required;
    std::string_view Column;  // empty for G and M, whose column depends on the number
};

// Letters without an entry (A-E, L, O, Q, U, V, W) are ignored along with their numbers.
constexpr TWordDef kWordDefs[] = {
    {'F', TParser::tkInteger, "Feedrate"},
    {'G', TParser::tkInteger, ""},
    {'H', TParser::tkInteger, "ToolLengthOffset"},
    {'I', TParser::tkFloat, "ArcOffsetX"},
    {'J', TParser::tkFloat, "ArcOffsetY"},
    {'K', TParser::tkFloat, "ArcOffsetZ"},
    {'M', TParser::tkInteger, ""},
    {'N', TParser::tkInteger, "LineNumber"},
    {'P', TParser::tkInteger, "Dwell"},
    {'R', TParser::tkFloat, "Radius"},
    {'S', TParser::tkInteger, "SpindleSpeed"},
    {'T', TParser::tkInteger, "ToolChange"},
    {'X', TParser::tkFloat, "AxisX"},
    {'Y', TParser::tkFloat, "AxisY"},
    {'Z', TParser::tkFloat, "AxisZ"},
};

constexpr int kNoNumber = -1;

struct TCodeClass
{
    std::string_view Column;
    std::array<int, 4> Numbers;  // padded with kNoNumber
};

// Tested in this order: the first class that holds the number receives it.
constexpr TCodeClass kGClasses[] = {
    {"GMotion", {0, 1, 2, 3}},
    {"GPlane", {17, 18, 19, kNoNumber}},
    {"GDistance", {90, 91, kNoNumber, kNoNumber}},
    {"GUnits", {20, 21, kNoNumber, kNoNumber}},
    {"GCutterComp", {40, 41, 42, kNoNumber}},
};

constexpr TCodeClass kMClasses[] = {
    {"MStop", {0, 1, 2, 30}},
    {"MToolSelect", {6, kNoNumber, kNoNumber, kNoNumber}},
    {"MSpindleRotation", {3, 4, 5, kNoNumber}},
    {"MCoolant", {7, 8, 9, kNoNumber}},
};

// Runs a step when its scope is left by an exception, which then goes on unwinding.
template <class TStep>
class TOnUnwind
{
public:
    explicit TOnUnwind(TStep step) : FStep(std::move(step)) {}
    TOnUnwind(const TOnUnwind&) = delete;
    TOnUnwind& operator=(const TOnUnwind&) = delete;
    ~TOnUnwind()
    {
        if (std::uncaught_exceptions() > FExceptions)
            FStep();
    }

private:
    TStep FStep;
    int FExceptions = std::uncaught_exceptions();
};

template <std::size_t N, std::size_t M>
void FillClassColumns(std::array<int, N>& columns, const TCodeClass (&classes)[M],
                      const TLineTable& table)
{
    columns.fill(-1);
    for (const TCodeClass& codeClass : classes) {
        const int column = table.ColumnIndex(codeClass.Column);
        for (const int number : codeClass.Numbers)
            if (number != kNoNumber && columns[number] < 0)
                columns[number] = column;
    }
}

constexpr double kHalf = 0.5;
constexpr double kInt64Limit = 9223372036854775808.0;  // 2^63

// The nearest integer, halves to the even neighbour, whatever rounding mode is in force.
double RoundHalfEven(double value)
{
    if (std::fabs(value - std::trunc(value)) == kHalf)
        return 2 * std::round(value / 2);
    return std::round(value);
}

// A whole real as a 64-bit integer; false when it is outside that range (or not a number).
bool WholeToInt64(double whole, std::int64_t& number)
{
    if (!(whole >= -kInt64Limit && whole < kInt64Limit))
        return false;
    number = static_cast<std::int64_t>(whole);
    return true;
}

// The lines [Index, End) of a list; progress counts lines from Begin.
struct TListSource
{
    const TLineList& Lines;
    std::size_t Index;
    std::size_t End;
    std::size_t Begin;

    bool Next(std::string_view& line)
    {
        if (Index == End)
            return false;
        line = Lines[Index++];
        return true;
    }
    std::size_t Done() const { return Index - Begin; }
};

// The lines of a text; progress counts bytes.
struct TTextSource
{
    explicit TTextSource(std::string_view text) : Cursor(text), Start(text.data()) {}

    bool Next(std::string_view& line) { return Cursor.Next(line); }
    std::size_t Done() const { return static_cast<std::size_t>(Cursor.Position() - Start); }

    TLineCursor Cursor;
    const char* Start;
};

}  // namespace

TGCodeEngine::TGCodeEngine()
    : FTable(std::make_shared<TLineTable>()), FRowLines(std::make_shared<TSourceLines>())
{
    for (const TWordDef& def : kWordDefs) {
        TWordEntry& entry = FWords[def.Letter - 'A'];
        entry.Required = def.Required;
        if (def.Letter == 'G')
            entry.Kind = TWordKind::GCode;
        else if (def.Letter == 'M')
            entry.Kind = TWordKind::MCode;
        else {
            entry.Column = FTable->ColumnIndex(def.Column);
            entry.Kind = FTable->ColumnType(entry.Column) == TFieldType::Float ? TWordKind::Real
                                                                               : TWordKind::Integer;
        }
    }
    FillClassColumns(FGColumns, kGClasses, *FTable);
    FillClassColumns(FMColumns, kMClasses, *FTable);
}

void TGCodeEngine::Run(std::vector<std::string> lines)
{
    Run(TLineList(lines));
}

void TGCodeEngine::Run(std::initializer_list<std::string> lines)
{
    Run(TLineList(std::vector<std::string>(lines)));
}

void TGCodeEngine::SetLenient(bool lenient)
{
    FLenient = lenient;
    FParser.SetLenient(lenient);
}

void TGCodeEngine::Run(TLineList lines)
{
    const std::size_t count = lines.size();
    FLineCount = count;
    BeginRun(count, count);
    if (count >= kSplitLines && std::thread::hardware_concurrency() > 1) {
        const std::size_t middle = count / 2;
        RunHalves(
            [&](TGCodeEngine& engine) {
                TListSource source{lines, 0, middle, 0};
                engine.RunSource(source, 0);
            },
            [&](TGCodeEngine& engine) {
                TListSource source{lines, middle, count, middle};
                engine.RunSource(source, middle);
            });
    } else {
        TListSource source{lines, 0, count, 0};
        RunSource(source, 0);
    }
    EndRun();
}

void TGCodeEngine::RunText(std::string_view text)
{
    BeginRun(0, text.size());
    try {
        const std::optional<TBreakSpan> middle =
            text.size() >= kSplitBytes && std::thread::hardware_concurrency() > 1
                ? BreakFrom(text, text.size() / 2)
                : std::nullopt;
        if (middle) {
            const std::string_view earlierText = text.substr(0, middle->Begin);
            const std::string_view laterText = text.substr(middle->End);
            RunHalves([&](TGCodeEngine& engine) { engine.RunTextPart(earlierText, 0); },
                      [&](TGCodeEngine& engine) {
                          engine.RunTextPart(laterText, CountLines(earlierText));
                      });
        } else {
            RunTextPart(text, 0);
        }
    } catch (...) {
        FLineCount = CountLines(text);
        throw;
    }
    FLineCount = FLinesRead;
    EndRun();
}

void TGCodeEngine::BeginRun(std::size_t expectedRows, std::size_t progressTotal)
{
    FSkipped.Clear();
    FTable->EmptyTable();
    // At most one row per line in practice: reserved once, trimmed to the rows at the end.
    FRowLines->Reset(expectedRows);
    FFailedLine.reset();
    FProgressTotal = progressTotal;
}

void TGCodeEngine::EndRun()
{
    FRowLines->Trim();
    FTable->MoveFirst();
}

void TGCodeEngine::RunTextPart(std::string_view text, std::size_t firstLine)
{
    TTextSource source(text);
    RunSource(source, firstLine);
}

template <class TSource>
void TGCodeEngine::RunSource(TSource& source, std::size_t firstLine)
{
    if (FLenient)
        RunLines<true>(source, firstLine);
    else
        RunLines<false>(source, firstLine);
}

// The later half runs on a thread of its own; this one reads the earlier half and reports the
// progress of both. The run ends at the first error in reading order: an error in the earlier
// half stops the later one, whose rows are then dropped.
void TGCodeEngine::RunHalves(const std::function<void(TGCodeEngine&)>& earlier,
                             const std::function<void(TGCodeEngine&)>& later)
{
    struct ELaterHalfStopped
    {};
    TGCodeEngine second;
    second.SetLenient(FLenient);
    std::atomic<std::size_t> laterDone{0};
    std::atomic<bool> stop{false};
    second.OnProgress = [&](std::size_t done, std::size_t) {
        laterDone.store(done, std::memory_order_relaxed);
        if (stop.load(std::memory_order_relaxed))
            throw ELaterHalfStopped();
    };
    std::exception_ptr laterError;
    std::thread worker([&] {
        InitFloatingPoint();
        try {
            later(second);
        } catch (...) {
            laterError = std::current_exception();
        }
    });
    FLaterDone = &laterDone;
    try {
        earlier(*this);
    } catch (...) {
        FLaterDone = nullptr;
        stop = true;
        worker.join();
        throw;
    }
    FLaterDone = nullptr;
    worker.join();
    Adopt(second, laterError);
}

void TGCodeEngine::Adopt(TGCodeEngine& later, const std::exception_ptr& laterError)
{
    FTable->AppendTable(std::move(*later.FTable));
    FRowLines->Append(*later.FRowLines);
    FSkipped.Append(later.FSkipped);
    FLinesRead = later.FLinesRead;
    if (laterError) {
        FFailedLine = later.FFailedLine;
        std::rethrow_exception(laterError);
    }
}

// One loop for both readings; the strict one compiles without the lenient branches.
template <bool kLenient, class TSource>
void TGCodeEngine::RunLines(TSource& source, std::size_t firstLine)
{
    TLineTable& table = *FTable;
    std::size_t i = firstLine;
    const TOnUnwind recordFailure([this, &i] { RecordFailure(i); });
    std::string_view line;
    for (;; ++i) {
        if ((i - firstLine) % kProgressLines == 0 && OnProgress)
            OnProgress(source.Done() +
                           (FLaterDone ? FLaterDone->load(std::memory_order_relaxed) : 0),
                       FProgressTotal);
        if (!source.Next(line))
            break;
        const auto lineNumber = static_cast<std::int32_t>(i + 1);
        // Error messages name the 1-based line of the text.
        FParser.SourceLine = lineNumber;
        if constexpr (kLenient) {
            FLineIndex = i;
            FLine = line;
            // The tokenizer cannot scan such a line at all.
            if (line.size() >= TParser::kBufferSize) {
                FSkipped.AddLine(lineNumber, line);
                continue;
            }
        }
        int token = FParser.SetLine(line);
        if constexpr (kLenient) {
            if (SkipsWholeLine(token)) {
                FSkipped.AddLine(lineNumber, line);
                continue;
            }
        }
        while (token != TParser::tkEnd) {
            if (!table.HasPendingRow())
                table.AppendRow();
            if constexpr (kLenient) {
                if (token == TParser::tkWord) {
                    token = HandleLenientWord();
                    continue;
                }
                if (token == '#') {  // a parameter assignment within the line
                    token = SkipValue(FParser.TokenOffset());
                    continue;
                }
            } else {
                if (token == TParser::tkWord)
                    HandleWord();
            }
            if (token == TParser::tkNewline)
                CommitRow(i);
            token = FParser.NextToken();
        }
        // A line that stored nothing leaves its row pending for the next line to fill.
        if (table.HasPendingRow() && table.RowModified())
            CommitRow(i);
    }
    FLinesRead = i;
}

void TGCodeEngine::CommitRow(std::size_t line)
{
    FTable->CommitRow();
    FRowLines->Add(static_cast<std::uint32_t>(line));
}

// The failing line's values stay pending; the next read of the table commits them as a row of
// that line.
void TGCodeEngine::RecordFailure(std::size_t line)
{
    FFailedLine = line;
    if (FTable->HasPendingRow() && FTable->RowModified())
        FRowLines->Add(static_cast<std::uint32_t>(line));
}

int TGCodeEngine::ClassColumn(TWordKind kind, std::int64_t number) const
{
    if (number < 0 || number >= static_cast<std::int64_t>(kClassNumberCount))
        return -1;
    const auto index = static_cast<std::size_t>(number);
    return kind == TWordKind::GCode ? FGColumns[index] : FMColumns[index];
}

void TGCodeEngine::StoreInteger(const TWordEntry& entry, std::int64_t number)
{
    TLineTable& table = *FTable;
    if (entry.Kind == TWordKind::Integer) {
        // 64-bit numbers keep their low 32 bits; 16-bit columns then check their range.
        table.SetInteger(entry.Column, static_cast<std::int32_t>(number));
        return;
    }
    const int column = ClassColumn(entry.Kind, number);
    if (column >= 0)
        table.SetInteger(column, static_cast<std::int32_t>(number));
}

void TGCodeEngine::HandleWord()
{
    // Only the first letter counts: GX is a G word.
    const char letter = AsciiUpper(FParser.TokenView().front());
    const TWordEntry& entry = FWords[static_cast<std::size_t>(letter - 'A')];
    if (entry.Kind == TWordKind::Ignored)
        return;
    FParser.NextToken();
    FParser.CheckToken(entry.Required);
    if (entry.Kind == TWordKind::Real)
        FTable->SetFloat(entry.Column, FParser.TokenFloat());
    else
        StoreInteger(entry, FParser.TokenInt());
}

bool TGCodeEngine::SkipsWholeLine(int firstToken) const
{
    // O-word lines (subroutines, loops, conditions) and parameter assignments.
    if (firstToken == '#')
        return true;
    return firstToken == TParser::tkWord && AsciiUpper(FParser.TokenView().front()) == 'O';
}

int TGCodeEngine::HandleLenientWord()
{
    const std::size_t start = FParser.TokenOffset();
    const char letter = AsciiUpper(FParser.TokenView().front());
    const TWordEntry& entry = FWords[static_cast<std::size_t>(letter - 'A')];
    const int token = FParser.NextToken();
    if (entry.Kind == TWordKind::Ignored) {
        // As in strict reading a number after an ignored letter is passed over as it comes.
        if (!StartsExpression(token))
            return token;
    } else if ((token == TParser::tkInteger || token == TParser::tkFloat) &&
               StoreLenientNumber(entry, token)) {
        return FParser.NextToken();
    }
    return SkipValue(start);
}

bool TGCodeEngine::StoreLenientNumber(const TWordEntry& entry, int token)
{
    try {
        if (entry.Kind == TWordKind::Real) {
            FTable->SetFloat(entry.Column, FParser.TokenFloat());
            return true;
        }
        if (token == TParser::tkInteger) {
            StoreInteger(entry, FParser.TokenInt());
            return true;
        }
        const double value = FParser.TokenFloat();
        const bool isCode = entry.Kind == TWordKind::GCode || entry.Kind == TWordKind::MCode;
        // G64.1 or M100.5 name codes without a column, like unknown whole codes.
        if (isCode && value != std::trunc(value))
            return true;
        std::int64_t number = 0;
        if (!WholeToInt64(isCode ? value : RoundHalfEven(value), number))
            return false;
        StoreInteger(entry, number);
        return true;
    } catch (const EZorvitError&) {
        // A number that does not convert, or a value its column cannot hold.
        return false;
    }
}

bool TGCodeEngine::StartsExpression(int token) const
{
    if (token == '#' || token == '[')
        return true;
    if (token == TParser::tkWord)  // a function such as SIN[30]
        return FParser.PeekNonBlank() == '[';
    // A sign that is not followed by digits: -[...] or -#1.
    const std::string_view text = FParser.TokenView();
    return token == TParser::tkInteger && text.size() == 1 && (text[0] == '-' || text[0] == '+');
}

int TGCodeEngine::SkipValue(std::size_t start)
{
    int token = FParser.Token();
    if (token == TParser::tkWord && FParser.PeekNonBlank() == '[')
        token = FParser.NextToken();  // the name of a function
    // Up to the next word letter or comment outside brackets; words in brackets are operators
    // or names.
    int depth = 0;
    const auto endsValue = [&depth](int code) {
        return code == TParser::tkEnd || code == TParser::tkNewline ||
               (depth == 0 && (code == TParser::tkWord || code == TParser::tkComment));
    };
    while (!endsValue(token)) {
        if (token == '[' || token == '<')
            ++depth;
        else if ((token == ']' || token == '>') && depth > 0)
            --depth;
        token = FParser.NextToken();
    }
    const std::size_t end = std::min(FParser.TokenOffset(), FLine.size());
    FSkipped.AddWord(static_cast<std::int32_t>(FLineIndex + 1), FLine.substr(start, end - start));
    return token;
}
