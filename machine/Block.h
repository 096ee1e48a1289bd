#pragma once
// TBlock: one line of a program as a machine reads it. ReadBlock normalises the line (lower case,
// blanks and comments taken out) and splits it into words whose values are expressions, kept
// unevaluated so that a block can run again with other parameter values. O-word lines and
// parameter assignments are recognised and kept for the layer that evaluates them.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "machine/Expression.h"

struct TBlockWord
{
    char Letter = 0;  // 'a' to 'z', or '@' and '^' for polar words
    TExpression Value;
};

// "#12=3", "#<depth>=-2": Name is empty for a numbered parameter, whose number is Index.
struct TAssignment
{
    std::string Name;
    int NameId = 0;  // TParameters::Intern(Name), for a named parameter
    TExpression Index;
    TExpression Value;
};

enum class TBlockKind {
    Empty,             // nothing but blanks and comments
    Words,             // words and assignments
    OWord,             // "o100 sub", "o<name> call [1]", ...: Text from OWordStart on
    ProgramDelimiter,  // a line of "%" alone
};

struct TBlock
{
    TBlockKind Kind = TBlockKind::Empty;
    bool BlockDelete = false;  // the line starts with "/"
    std::string Text;          // lower case, without blanks and comments
    // The comments of the line as written, without their parentheses or ";", for "(MSG,...)".
    std::vector<std::string_view> Comments;
    std::vector<TBlockWord> Words;  // in the order written, N words left out
    std::vector<TAssignment> Assignments;
    std::size_t OWordStart = 0;
};

// Reads one line into block, reusing its storage. The comments view the line, so they are valid
// while the line's text is. Throws EMachineError for a line no machine would read.
void ReadBlock(std::string_view line, TBlock& block);
