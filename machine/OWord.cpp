#include "machine/OWord.h"

#include <climits>
#include <cmath>

#include "machine/MachineError.h"

namespace {

// What may follow a keyword.
enum class TFollows : std::uint8_t {
    Nothing,
    Condition,  // "[...]", required
    Value,      // "[...]", optional
    Ignored,    // "[...]", optional and without meaning (LinuxCNC reads "else [1]")
    Arguments,  // up to 30 "[...]"
};

struct TKeyword
{
    const char* Text;
    TOWordKind Kind;
    TFollows Follows;
};

// A keyword that starts another comes after it ("elseif" before "else").
constexpr TKeyword kKeywords[] = {
    {"sub", TOWordKind::Sub, TFollows::Nothing},
    {"endsub", TOWordKind::EndSub, TFollows::Value},
    {"call", TOWordKind::Call, TFollows::Arguments},
    {"return", TOWordKind::Return, TFollows::Value},
    {"do", TOWordKind::Do, TFollows::Nothing},
    {"while", TOWordKind::While, TFollows::Condition},
    {"endwhile", TOWordKind::EndWhile, TFollows::Nothing},
    {"if", TOWordKind::If, TFollows::Condition},
    {"elseif", TOWordKind::ElseIf, TFollows::Condition},
    {"else", TOWordKind::Else, TFollows::Ignored},
    {"endif", TOWordKind::EndIf, TFollows::Nothing},
    {"break", TOWordKind::Break, TFollows::Nothing},
    {"continue", TOWordKind::Continue, TFollows::Nothing},
    {"repeat", TOWordKind::Repeat, TFollows::Condition},
    {"endrepeat", TOWordKind::EndRepeat, TFollows::Nothing},
    {"", TOWordKind::Program, TFollows::Nothing},
};

const TKeyword* MatchKeyword(std::string_view rest)
{
    const TKeyword* best = nullptr;
    for (const TKeyword& keyword : kKeywords) {
        const std::string_view text = keyword.Text;
        if (!text.empty() && rest.starts_with(text) &&
            (!best || text.size() > std::string_view(best->Text).size()))
            best = &keyword;
    }
    return best;
}

std::string NumberLabel(double value)
{
    return std::to_string(TExpression::ToInteger(value));
}

}  // namespace

std::string_view OWordKeyword(TOWordKind kind)
{
    for (const TKeyword& keyword : kKeywords)
        if (keyword.Kind == kind)
            return keyword.Text;
    return {};
}

std::string TOWord::LabelNow(const TParameters& parameters) const
{
    return IndirectLabel ? NumberLabel(IndirectLabel->Evaluate(parameters)) : Label;
}

std::string OWordName(std::string_view label)
{
    const bool number =
        !label.empty() && label.find_first_not_of("-0123456789") == std::string_view::npos;
    return number ? "o" + std::string(label) : "o<" + std::string(label) + ">";
}

TOWord ParseOWord(std::string_view block)
{
    TOWord word;
    std::size_t pos = 1;  // after "o"
    if (pos < block.size() && block[pos] == '<') {
        const std::size_t close = block.find('>', pos);
        if (close == std::string_view::npos)
            throw EMachineError("Named O-word not terminated");
        word.Label = block.substr(pos + 1, close - pos - 1);
        pos = close + 1;
    } else {
        const TExpression label = TExpression::Read(block, pos);
        if (label.IsConstant())
            word.Label = NumberLabel(label.Constant());
        else
            word.IndirectLabel = label;
    }
    if (pos == block.size())
        return word;  // a numbered program

    const TKeyword* keyword = MatchKeyword(block.substr(pos));
    if (!keyword)
        throw EMachineError("Unknown control command in o word");
    word.Kind = keyword->Kind;
    pos += std::string_view(keyword->Text).size();
    const bool bracket = pos < block.size() && block[pos] == '[';
    switch (keyword->Follows) {
    case TFollows::Nothing:
        break;
    case TFollows::Condition:
        if (!bracket)
            throw EMachineError(std::string("Left bracket missing after '") + keyword->Text + "'");
        word.Value = TExpression::Read(block, pos);
        break;
    case TFollows::Value:
    case TFollows::Ignored:
        if (bracket) {
            const TExpression value = TExpression::Read(block, pos);
            if (keyword->Follows == TFollows::Value)
                word.Value = value;
        }
        break;
    case TFollows::Arguments:
        while (pos < block.size() && block[pos] == '[') {
            if (word.Arguments.size() == TOWord::kMaxArguments)
                throw EMachineError("Too many subroutine parameters");
            word.Arguments.push_back(TExpression::Read(block, pos));
        }
        break;
    }
    if (pos != block.size())
        throw EMachineError("Unexpected character after O-word");
    return word;
}

int RepeatCount(double count)
{
    if (!(count > 0))
        return 0;
    return count >= INT_MAX ? INT_MAX : static_cast<int>(std::nearbyint(count));
}
