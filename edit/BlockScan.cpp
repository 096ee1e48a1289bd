#include "edit/BlockScan.h"

#include <cctype>
#include <charconv>
#include <cmath>

namespace {

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}
bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}
bool IsLetter(char c)
{
    return std::isalpha(static_cast<unsigned char>(c)) != 0;
}

std::size_t SkipBlanks(std::string_view line, std::size_t pos)
{
    while (pos < line.size() && IsBlank(line[pos]))
        ++pos;
    return pos;
}

// Just after the "]" that closes the "[" at pos; the line end when it is never closed.
std::size_t SkipBrackets(std::string_view line, std::size_t pos)
{
    int depth = 0;
    for (; pos < line.size(); ++pos) {
        if (line[pos] == '[') {
            ++depth;
        } else if (line[pos] == ']' && --depth == 0) {
            return pos + 1;
        }
    }
    return pos;
}

// A plain number at pos: an optional sign, digits and at most one point, at least one digit.
// Returns its end, or pos when there is none.
std::size_t ScanNumber(std::string_view line, std::size_t pos)
{
    std::size_t end = pos;
    if (end < line.size() && (line[end] == '+' || line[end] == '-'))
        ++end;
    bool digits = false;
    bool point = false;
    for (; end < line.size(); ++end) {
        if (IsDigit(line[end])) {
            digits = true;
        } else if (line[end] == '.' && !point) {
            point = true;
        } else {
            break;
        }
    }
    return digits ? end : pos;
}

// A parameter reference at pos ("#12", "#<name>", "##1", "#[1+2]"); returns its end or pos.
std::size_t ScanParameter(std::string_view line, std::size_t pos)
{
    if (pos >= line.size() || line[pos] != '#')
        return pos;
    std::size_t end = SkipBlanks(line, pos + 1);
    if (end >= line.size())
        return pos;
    if (line[end] == '<') {
        const std::size_t close = line.find('>', end);
        return close == std::string_view::npos ? pos : close + 1;
    }
    if (line[end] == '[')
        return SkipBrackets(line, end);
    if (line[end] == '#') {
        const std::size_t inner = ScanParameter(line, end);
        return inner == end ? pos : inner;
    }
    const std::size_t number = ScanNumber(line, end);
    return number == end ? pos : number;
}

// A value that is not a plain number: a parameter, a bracketed expression, or a function such
// as "sqrt[2]" (and "atan[1]/[2]"), with an optional sign. Returns its end or pos.
std::size_t ScanExpression(std::string_view line, std::size_t pos)
{
    std::size_t start = pos;
    if (start < line.size() && (line[start] == '+' || line[start] == '-'))
        ++start;
    if (start >= line.size())
        return pos;
    if (line[start] == '#') {
        const std::size_t end = ScanParameter(line, start);
        return end == start ? pos : end;
    }
    if (line[start] == '[')
        return SkipBrackets(line, start);
    std::size_t name = start;
    while (name < line.size() && IsLetter(line[name]))
        ++name;
    if (name == start || name >= line.size() || line[name] != '[')
        return pos;
    std::size_t end = SkipBrackets(line, name);
    if (end + 1 < line.size() && line[end] == '/' && line[end + 1] == '[')
        end = SkipBrackets(line, end + 1);
    return end;
}

double ParseNumber(std::string_view text)
{
    if (!text.empty() && text.front() == '+')
        text.remove_prefix(1);
    double value = 0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
}

}  // namespace

const TBlockItem* TScannedBlock::Find(char letter) const
{
    for (const TBlockItem& item : Items)
        if (item.Kind == TItemKind::Word && item.Letter == letter)
            return &item;
    return nullptr;
}

std::vector<const TBlockItem*> TScannedBlock::FindAll(char letter) const
{
    std::vector<const TBlockItem*> found;
    for (const TBlockItem& item : Items)
        if (item.Kind == TItemKind::Word && item.Letter == letter)
            found.push_back(&item);
    return found;
}

TScannedBlock ScanBlock(std::string_view line)
{
    TScannedBlock block;
    ScanBlock(line, block);
    return block;
}

void ScanBlock(std::string_view line, TScannedBlock& block)
{
    block.Items.clear();
    block.HasControl = false;
    block.HasUnknown = false;
    std::size_t pos = 0;
    const auto add = [&](TItemKind kind, std::size_t end) {
        TBlockItem item;
        item.Kind = kind;
        item.Begin = pos;
        item.End = end;
        block.Items.push_back(item);
        pos = end;
    };
    bool sawWord = false;
    while (pos < line.size()) {
        const char c = line[pos];
        if (IsBlank(c)) {
            std::size_t end = pos;
            while (end < line.size() && IsBlank(line[end]))
                ++end;
            add(TItemKind::Blank, end);
        } else if (c == '(') {
            const std::size_t close = line.find(')', pos);
            add(TItemKind::Comment, close == std::string_view::npos ? line.size() : close + 1);
        } else if (c == ';') {
            add(TItemKind::Comment, line.size());
        } else if (c == '%') {
            add(TItemKind::Percent, pos + 1);
        } else if (c == '/' && !sawWord) {
            add(TItemKind::BlockDelete, pos + 1);
        } else if (c == '#') {
            std::size_t end = SkipBlanks(line, ScanParameter(line, pos));
            if (end > pos + 1 && end < line.size() && line[end] == '=') {
                const std::size_t value = SkipBlanks(line, end + 1);
                std::size_t valueEnd = ScanNumber(line, value);
                if (valueEnd == value)
                    valueEnd = ScanExpression(line, value);
                end = valueEnd == value ? pos + 1 : valueEnd;
                add(valueEnd == value ? TItemKind::Unknown : TItemKind::Assignment, end);
            } else {
                add(TItemKind::Unknown, pos + 1);
            }
            sawWord = true;
        } else if (c == 'O' || c == 'o') {
            // The O word's keyword and condition belong to it; a comment after them does not.
            std::size_t end = pos + 1;
            while (end < line.size() && line[end] != '(' && line[end] != ';') {
                end = line[end] == '[' ? SkipBrackets(line, end) : end + 1;
            }
            while (end > pos + 1 && IsBlank(line[end - 1]))
                --end;
            add(TItemKind::Control, end);
            block.HasControl = true;
            sawWord = true;
        } else if (IsLetter(c)) {
            const std::size_t value = SkipBlanks(line, pos + 1);
            std::size_t end = ScanNumber(line, value);
            const bool numeric = end != value;
            if (!numeric)
                end = ScanExpression(line, value);
            if (end == value) {
                add(TItemKind::Unknown, pos + 1);
            } else {
                TBlockItem item;
                item.Kind = TItemKind::Word;
                item.Begin = pos;
                item.End = end;
                item.Letter = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
                item.ValueBegin = value;
                item.Numeric = numeric;
                if (numeric)
                    item.Value = ParseNumber(line.substr(value, end - value));
                block.Items.push_back(item);
                pos = end;
            }
            sawWord = true;
        } else {
            add(TItemKind::Unknown, pos + 1);
        }
        if (block.Items.back().Kind == TItemKind::Unknown)
            block.HasUnknown = true;
    }
}

int CodeOf(const TBlockItem& word)
{
    if (!word.Numeric)
        return -1;
    constexpr double kTenths = 10;
    constexpr double kTolerance = 1e-6;
    const double tenths = word.Value * kTenths;
    const double rounded = std::round(tenths);
    constexpr double kLargestCode = 1e6;  // beyond every G and M code, well within an int
    if (rounded < 0 || rounded > kLargestCode || std::fabs(tenths - rounded) > kTolerance)
        return -1;
    return static_cast<int>(rounded);
}
