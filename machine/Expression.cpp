#include "machine/Expression.h"

#include <charconv>
#include <string>

#include "machine/MachineError.h"
#include "machine/Parameters.h"

struct TExpression::TNodes
{
};

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// A number with an optional sign, digits and at most one decimal point: "1", "-.5", "+2.".
double ReadNumber(std::string_view text, std::size_t& pos)
{
    std::size_t end = pos;
    const bool negative = end < text.size() && text[end] == '-';
    if (end < text.size() && (text[end] == '+' || text[end] == '-'))
        ++end;
    const std::size_t digitsStart = end;
    bool point = false;
    bool digits = false;
    for (; end < text.size(); ++end) {
        if (IsDigit(text[end]))
            digits = true;
        else if (text[end] == '.' && !point)
            point = true;
        else
            break;
    }
    if (!digits)
        throw EMachineError("Bad number format");
    std::string number(text.substr(digitsStart, end - digitsStart));
    double value = 0;
    std::from_chars(number.data(), number.data() + number.size(), value);
    pos = end;
    return negative ? -value : value;
}

}  // namespace

TExpression TExpression::Read(std::string_view text, std::size_t& pos)
{
    if (pos < text.size() && (text[pos] == '#' || text[pos] == '[' ||
                              (text[pos] >= 'a' && text[pos] <= 'z')))
        throw EMachineError("Expressions and parameters are not read yet");
    return TExpression(ReadNumber(text, pos));
}

double TExpression::Evaluate(const TParameters&) const { return FConstant; }
