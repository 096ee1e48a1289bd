#include "machine/Block.h"

#include "machine/MachineError.h"
#include "machine/Parameters.h"

namespace {

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v';
}

char Lower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool IsWordLetter(char c)
{
    return (c >= 'a' && c <= 'z') || c == '@' || c == '^';
}

// Copies the line into text without blanks and comments, in lower case, and keeps the comments.
void Normalise(std::string_view line, TBlock& block)
{
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (IsBlank(c))
            continue;
        if (c == ';') {
            block.Comments.push_back(line.substr(i + 1));
            return;
        }
        if (c == '(') {
            const std::size_t start = i + 1;
            std::size_t end = start;
            for (; end < line.size() && line[end] != ')'; ++end) {
                if (line[end] == '(')
                    throw EMachineError("Nested comment found");
            }
            if (end == line.size())
                throw EMachineError("Unclosed comment found");
            block.Comments.push_back(line.substr(start, end - start));
            i = end;
            continue;
        }
        block.Text += Lower(c);
    }
}

void ReadAssignment(const std::string& text, std::size_t& pos, TBlock& block)
{
    TAssignment& assignment = block.Assignments.emplace_back();
    ++pos;  // '#'
    if (pos < text.size() && text[pos] == '<') {
        const std::size_t close = text.find('>', pos);
        if (close == std::string::npos)
            throw EMachineError("Named parameter not terminated");
        assignment.Name = text.substr(pos + 1, close - pos - 1);
        assignment.NameId = TParameters::Intern(assignment.Name);
        pos = close + 1;
    } else {
        assignment.Index = TExpression::Read(text, pos);
    }
    if (pos >= text.size() || text[pos] != '=')
        throw EMachineError("Equal sign missing in parameter setting");
    ++pos;
    assignment.Value = TExpression::Read(text, pos);
}

}  // namespace

void ReadBlock(std::string_view line, TBlock& block)
{
    block.Kind = TBlockKind::Empty;
    block.BlockDelete = false;
    block.Text.clear();
    block.Comments.clear();
    block.Words.clear();
    block.Assignments.clear();
    block.OWordStart = 0;
    Normalise(line, block);

    const std::string& text = block.Text;
    if (text.empty())
        return;
    if (text == "%") {
        block.Kind = TBlockKind::ProgramDelimiter;
        return;
    }
    block.Kind = TBlockKind::Words;
    std::size_t pos = 0;
    if (text[pos] == '/') {
        block.BlockDelete = true;
        ++pos;
    }
    if (pos < text.size() && text[pos] == 'n') {
        ++pos;
        TExpression::Read(text, pos);
    }
    if (pos < text.size() && text[pos] == 'o') {
        block.Kind = TBlockKind::OWord;
        block.OWordStart = pos;
        return;
    }
    while (pos < text.size()) {
        const char letter = text[pos];
        if (letter == '#') {
            ReadAssignment(text, pos, block);
            continue;
        }
        if (letter == 'n')
            throw EMachineError("N word found other than at the start of the line");
        if (!IsWordLetter(letter))
            throw EMachineError(std::string("Bad character '") + letter + "' used");
        ++pos;
        if (pos == text.size())
            throw EMachineError(std::string("Value missing after the letter '") + letter + "'");
        block.Words.push_back({letter, TExpression::Read(text, pos)});
    }
}
