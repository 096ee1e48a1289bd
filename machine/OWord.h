#pragma once
// An O-word block: the control-flow line of LinuxCNC's RS274/NGC ("o100 while [#1 lt 5]",
// "o<name> call [1] [2]") or the start of a Fanuc-style numbered program ("o100" alone).

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "machine/Expression.h"

class TParameters;

enum class TOWordKind : std::uint8_t {
    Sub,
    EndSub,
    Call,
    Return,
    Do,
    While,
    EndWhile,
    If,
    ElseIf,
    Else,
    EndIf,
    Break,
    Continue,
    Repeat,
    EndRepeat,
    Program,  // "o100" with no keyword: a numbered program that M98 P100 calls, ended by M99
};

struct TOWord
{
    static constexpr int kMaxArguments = 30;

    TOWordKind Kind = TOWordKind::Program;
    // "100" for o100 and o0100, "name" for o<name>; empty while IndirectLabel decides it
    std::string Label;
    // o[#1+2]: the label computed when the block runs
    std::optional<TExpression> IndirectLabel;
    // the condition of if/elseif/while, the count of repeat, the value of return/endsub
    std::optional<TExpression> Value;
    std::vector<TExpression> Arguments;  // of a call

    // The label, computing an indirect one with the current parameters.
    std::string LabelNow(const TParameters& parameters) const;
};

// The keyword's text, as a block spells it ("endwhile").
std::string_view OWordKeyword(TOWordKind kind);
// A label as messages show it: "o110" or "o<name>".
std::string OWordName(std::string_view label);

// Reads a normalised block (lower case, blanks and comments removed) that starts with "o".
// Throws EMachineError in LinuxCNC's words when the block is malformed: an unknown keyword, a
// condition without brackets, more than 30 call arguments, anything after the O-word.
TOWord ParseOWord(std::string_view block);

// The number of times "repeat [count]" runs its body: LinuxCNC rounds half to even and runs a
// negative count no time.
int RepeatCount(double count);
