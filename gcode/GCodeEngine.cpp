#include "GCodeEngine.h"

#include <exception>
#include <string_view>
#include <utility>

#include "SameText.h"

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
void FillClassColumns(std::array<int, N>& columns, const TCodeClass (&classes)[M], const TLineTable& table)
{
    columns.fill(-1);
    for (const TCodeClass& codeClass : classes) {
        const int column = table.ColumnIndex(codeClass.Column);
        for (const int number : codeClass.Numbers)
            if (number != kNoNumber && columns[number] < 0)
                columns[number] = column;
    }
}

}  // namespace

TGCodeEngine::TGCodeEngine()
    : FTable(std::make_shared<TLineTable>()),
      FRowLines(std::make_shared<std::vector<std::uint32_t>>())
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

void TGCodeEngine::Run(TLineList lines)
{
    FLines = std::move(lines);
    TLineTable& table = *FTable;
    table.EmptyTable();
    // At most one row per line in practice: reserved once, trimmed to the rows at the end.
    FRowLines->clear();
    FRowLines->reserve(FLines.size());
    FFailedLine.reset();
    std::size_t i = 0;
    const TOnUnwind recordFailure([this, &i] { RecordFailure(i); });
    for (; i < FLines.size(); ++i) {
        // Error messages name the 1-based line of the text.
        FParser.SourceLine = static_cast<std::int32_t>(i + 1);
        for (int token = FParser.SetLine(FLines[i]); token != TParser::tkEnd; token = FParser.NextToken()) {
            if (!table.HasPendingRow())
                table.AppendRow();
            if (token == TParser::tkWord)
                HandleWord();
            else if (token == TParser::tkNewline)
                CommitRow(i);
        }
        // A line that stored nothing leaves its row pending for the next line to fill.
        if (table.HasPendingRow() && table.RowModified())
            CommitRow(i);
    }
    FRowLines->shrink_to_fit();
    table.MoveFirst();
}

void TGCodeEngine::CommitRow(std::size_t line)
{
    FTable->CommitRow();
    FRowLines->push_back(static_cast<std::uint32_t>(line));
}

// The failing line's values stay pending; the next read of the table commits them as a row of
// that line.
void TGCodeEngine::RecordFailure(std::size_t line)
{
    FFailedLine = line;
    if (FTable->HasPendingRow() && FTable->RowModified())
        FRowLines->push_back(static_cast<std::uint32_t>(line));
}

int TGCodeEngine::ClassColumn(TWordKind kind, std::int64_t number) const
{
    if (number < 0 || number >= static_cast<std::int64_t>(kClassNumberCount))
        return -1;
    const auto index = static_cast<std::size_t>(number);
    return kind == TWordKind::GCode ? FGColumns[index] : FMColumns[index];
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
    TLineTable& table = *FTable;
    switch (entry.Kind) {
    case TWordKind::Integer:
        // 64-bit numbers keep their low 32 bits; 16-bit columns then check their range.
        table.SetInteger(entry.Column, static_cast<std::int32_t>(FParser.TokenInt()));
        break;
    case TWordKind::Real:
        table.SetFloat(entry.Column, FParser.TokenFloat());
        break;
    case TWordKind::GCode:
    case TWordKind::MCode: {
        const std::int64_t number = FParser.TokenInt();
        const int column = ClassColumn(entry.Kind, number);
        if (column >= 0)
            table.SetInteger(column, static_cast<std::int32_t>(number));
        break;
    }
    case TWordKind::Ignored:
        break;
    }
}
