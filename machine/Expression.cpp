#include "machine/Expression.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <string>
#include <vector>

#include "machine/MachineError.h"
#include "machine/Parameters.h"

namespace {

enum class TOp : std::uint8_t {
    Constant,        // pushes Value
    Numbered,        // pushes #Index
    Indirect,        // replaces the top with the parameter it numbers
    Named,           // pushes the named parameter of id Index
    ExistsNamed,     // pushes 1 when the name of id Index exists
    ExistsIndirect,  // replaces the top with 1 when it numbers a parameter
    Negate,
    Abs,
    Acos,
    Asin,
    Cos,
    Exp,
    Fix,
    Fup,
    Ln,
    Round,
    Sin,
    Sqrt,
    Tan,
    Atan,  // binary from here on: pops the right operand, combines it with the top
    Power,
    Times,
    Divide,
    Modulo,
    Plus,
    Minus,
    Eq,
    Ne,
    Gt,
    Ge,
    Lt,
    Le,
    And,
    Or,
    Xor,
    Close,  // not an operation: the closing bracket where an operator may stand
};

bool IsBinary(TOp op)
{
    return op >= TOp::Atan && op < TOp::Close;
}

// LinuxCNC's precedence groups, lowest first; all operators group from the left.
int Precedence(TOp op)
{
    switch (op) {
    case TOp::And:
    case TOp::Or:
    case TOp::Xor:
        return 1;
    case TOp::Eq:
    case TOp::Ne:
    case TOp::Gt:
    case TOp::Ge:
    case TOp::Lt:
    case TOp::Le:
        return 2;
    case TOp::Plus:
    case TOp::Minus:
        return 3;
    case TOp::Times:
    case TOp::Divide:
    case TOp::Modulo:
        return 4;
    default:
        return 5;  // **
    }
}

struct TName
{
    const char* Text;
    TOp Op;
};

constexpr TName kFunctions[] = {
    {"abs", TOp::Abs},   {"acos", TOp::Acos},   {"asin", TOp::Asin},
    {"atan", TOp::Atan}, {"cos", TOp::Cos},     {"exists", TOp::ExistsNamed},
    {"exp", TOp::Exp},   {"fix", TOp::Fix},     {"fup", TOp::Fup},
    {"ln", TOp::Ln},     {"round", TOp::Round}, {"sin", TOp::Sin},
    {"sqrt", TOp::Sqrt}, {"tan", TOp::Tan},
};

// Operators by their first letter, as LinuxCNC reads them; longer names first.
constexpr TName kOperators[] = {
    {"and", TOp::And}, {"mod", TOp::Modulo}, {"or", TOp::Or}, {"xor", TOp::Xor}, {"eq", TOp::Eq},
    {"ne", TOp::Ne},   {"ge", TOp::Ge},      {"gt", TOp::Gt}, {"le", TOp::Le},   {"lt", TOp::Lt},
};

constexpr double kDegree = std::numbers::pi / 180;

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

char At(std::string_view text, std::size_t pos)
{
    return pos < text.size() ? text[pos] : '\0';
}

[[noreturn]] void BadNumber(const char* why, std::string_view number)
{
    throw EMachineError(std::string("bad number format (") + why + ") parsing '" +
                        std::string(number) + "'");
}

// A number with an optional sign, digits and a decimal point: "1", "-.5", "+2.". Like LinuxCNC
// it takes every digit and point that follows, so "1.2.3" is refused rather than read as 1.2.
double ReadNumber(std::string_view text, std::size_t& pos)
{
    const std::size_t start = pos;
    std::size_t end = pos;
    if (At(text, end) == '+' || At(text, end) == '-')
        ++end;
    const std::size_t digitsStart = end;
    while (IsDigit(At(text, end)) || At(text, end) == '.')
        ++end;
    const std::string_view number = text.substr(start, end - start);
    const std::string_view digits = text.substr(digitsStart, end - digitsStart);
    if (digits.find_first_of("0123456789") == std::string_view::npos)
        BadNumber("conversion failed", number);
    double value = 0;
    const auto [last, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (error != std::errc() || last != digits.data() + digits.size())
        BadNumber("trailing characters", number);
    pos = end;
    return text[start] == '-' ? -value : value;
}

void CheckResult(double value)
{
    if (std::isnan(value))
        throw EMachineError("Calculation resulted in 'not a number'");
    if (std::isinf(value))
        throw EMachineError("Calculation resulted in 'infinity'");
}

double Unary(TOp op, double x)
{
    switch (op) {
    case TOp::Negate:
        return -x;
    case TOp::Abs:
        return std::fabs(x);
    case TOp::Acos:
        if (x < -1 || x > 1)
            throw EMachineError("Argument to acos out of range");
        return std::acos(x) / kDegree;
    case TOp::Asin:
        if (x < -1 || x > 1)
            throw EMachineError("Argument to asin out of range");
        return std::asin(x) / kDegree;
    case TOp::Cos:
        return std::cos(x * kDegree);
    case TOp::Exp:
        return std::exp(x);
    case TOp::Fix:
        return std::floor(x);
    case TOp::Fup:
        return std::ceil(x);
    case TOp::Ln:
        if (x <= 0)
            throw EMachineError("Zero or negative argument to ln");
        return std::log(x);
    case TOp::Round:
        // halves away from zero; LinuxCNC's conversion to int overflows past 2^31, this does not
        return std::trunc(x + (x < 0 ? -0.5 : 0.5));
    case TOp::Sin:
        return std::sin(x * kDegree);
    case TOp::Sqrt:
        if (x < 0)
            throw EMachineError("Negative argument to sqrt");
        return std::sqrt(x);
    default:  // TOp::Tan
        return std::tan(x * kDegree);
    }
}

double Truth(bool value)
{
    return value ? 1 : 0;
}

double Binary(TOp op, double left, double right)
{
    switch (op) {
    case TOp::Atan:
        return std::atan2(left, right) / kDegree;
    case TOp::Power:
        if (left < 0 && std::floor(right) != right)
            throw EMachineError("Attempt to raise negative to non integer power");
        return std::pow(left, right);
    case TOp::Times:
        return left * right;
    case TOp::Divide:
        if (right == 0)
            throw EMachineError("Attempt to divide by zero");
        return left / right;
    case TOp::Modulo: {
        // never negative, whatever the signs
        const double rest = std::fmod(left, right);
        return rest < 0 ? rest + std::fabs(right) : rest;
    }
    case TOp::Plus:
        return left + right;
    case TOp::Minus:
        return left - right;
    case TOp::Eq:
        return Truth(std::fabs(left - right) < TExpression::kEqualTolerance);
    case TOp::Ne:
        return Truth(std::fabs(left - right) >= TExpression::kEqualTolerance);
    case TOp::Gt:
        return Truth(left > right);
    case TOp::Ge:
        return Truth(left >= right);
    case TOp::Lt:
        return Truth(left < right);
    case TOp::Le:
        return Truth(left <= right);
    case TOp::And:
        return Truth(left != 0 && right != 0);
    case TOp::Or:
        return Truth(left != 0 || right != 0);
    default:  // TOp::Xor
        return Truth((left != 0) != (right != 0));
    }
}

struct TStep
{
    TOp Op;
    int Index;
    double Value;
};

}  // namespace

struct TExpression::TProgram
{
    std::vector<TStep> Steps;
    int StackDepth = 0;
    bool ReadsParameters = false;
};

namespace {

// Compiles one value into postfix steps, reading the text as LinuxCNC's read_real_value does.
class TCompiler
{
public:
    TCompiler(std::string_view text, std::size_t& pos) : FText(text), FPos(pos) {}

    TExpression::TProgram Compile()
    {
        Value();
        return std::move(FProgram);
    }

private:
    char Peek(std::size_t ahead = 0) const { return At(FText, FPos + ahead); }

    void Emit(TOp op, int index = 0, double value = 0)
    {
        FProgram.Steps.push_back({op, index, value});
        if (op == TOp::Constant || op == TOp::Numbered || op == TOp::Named ||
            op == TOp::ExistsNamed) {
            ++FDepth;
            FProgram.StackDepth = std::max(FProgram.StackDepth, FDepth);
        } else if (IsBinary(op)) {
            --FDepth;
        }
        if (op == TOp::Numbered || op == TOp::Indirect || op == TOp::Named ||
            op == TOp::ExistsNamed || op == TOp::ExistsIndirect)
            FProgram.ReadsParameters = true;
    }

    void Enter()
    {
        if (++FNesting > TExpression::kMaxNesting)
            throw EMachineError("Expression nested too deeply");
    }

    void Value()
    {
        Enter();
        const char c = Peek();
        const char next = Peek(1);
        if (c == '\0')
            throw EMachineError("No characters found in reading real value");
        if (c == '[') {
            ++FPos;
            Bracketed();
        } else if (c == '#') {
            Parameter();
        } else if ((c == '+' || c == '-') && next != '\0' && !IsDigit(next) && next != '.') {
            ++FPos;
            Value();
            if (c == '-')
                Emit(TOp::Negate);
        } else if (c >= 'a' && c <= 'z') {
            Function();
        } else {
            Emit(TOp::Constant, 0, ReadNumber(FText, FPos));
        }
        --FNesting;
    }

    // After "[": operands and operators up to the matching "]".
    void Bracketed()
    {
        Operands(1);
        ++FPos;  // the "]" that Operands stopped at
    }

    // Precedence climbing: LinuxCNC's operator stack gives the same left-to-right grouping.
    void Operands(int lowest)
    {
        Value();
        for (;;) {
            std::size_t length = 0;
            const TOp op = PeekOperator(length);
            if (op == TOp::Close || Precedence(op) < lowest)
                return;
            FPos += length;
            Operands(Precedence(op) + 1);
            Emit(op);
        }
    }

    TOp PeekOperator(std::size_t& length) const
    {
        length = 1;
        switch (Peek()) {
        case '\0':
            throw EMachineError("Unclosed expression");
        case ']':
            return TOp::Close;
        case '+':
            return TOp::Plus;
        case '-':
            return TOp::Minus;
        case '/':
            return TOp::Divide;
        case '*':
            if (Peek(1) == '*') {
                length = 2;
                return TOp::Power;
            }
            return TOp::Times;
        default:
            break;
        }
        bool known = false;
        const std::string_view rest = FText.substr(FPos);
        for (const TName& name : kOperators) {
            if (name.Text[0] != rest[0])
                continue;
            known = true;
            if (rest.starts_with(name.Text)) {
                length = std::char_traits<char>::length(name.Text);
                return name.Op;
            }
        }
        if (known)
            throw EMachineError(std::string("Unknown operation name starting with ") + rest[0]);
        throw EMachineError("Unknown operation");
    }

    void Parameter()
    {
        ++FPos;  // "#"
        if (Peek() == '<') {
            Emit(TOp::Named, TParameters::Intern(NamedParameter()));
            return;
        }
        const std::size_t first = FProgram.Steps.size();
        Value();
        // "#12": a number known now needs no indirection
        if (FProgram.Steps.size() == first + 1 && FProgram.Steps[first].Op == TOp::Constant) {
            const double index = FProgram.Steps[first].Value;
            if (index == std::floor(index) && std::fabs(index) <= TParameters::kLastNumbered + 1) {
                FProgram.Steps.pop_back();
                --FDepth;
                Emit(TOp::Numbered, static_cast<int>(index));
                return;
            }
        }
        Emit(TOp::Indirect);
    }

    // After "#": "<name>", giving the name.
    std::string_view NamedParameter()
    {
        const std::size_t close = FText.find('>', FPos);
        if (close == std::string_view::npos)
            throw EMachineError("Named parameter not terminated");
        const std::string_view name = FText.substr(FPos + 1, close - FPos - 1);
        FPos = close + 1;
        return name;
    }

    void Function()
    {
        const std::string_view rest = FText.substr(FPos);
        bool known = false;
        const TName* found = nullptr;
        for (const TName& name : kFunctions) {
            if (name.Text[0] != rest[0])
                continue;
            known = true;
            if (rest.starts_with(name.Text)) {
                found = &name;
                break;
            }
        }
        if (!known)
            throw EMachineError("Unknown word where unary operation could be");
        if (!found)
            throw EMachineError(std::string("Unknown word starting with ") + rest[0]);
        FPos += std::char_traits<char>::length(found->Text);
        if (Peek() != '[')
            throw EMachineError("Left bracket missing after unary operation name");
        ++FPos;
        if (found->Op == TOp::ExistsNamed) {
            Exists();
            return;
        }
        Bracketed();
        if (found->Op == TOp::Atan) {
            if (Peek() != '/')
                throw EMachineError("Slash missing after first atan argument");
            ++FPos;
            if (Peek() != '[')
                throw EMachineError("Left bracket missing after slash with atan");
            ++FPos;
            Bracketed();
        }
        Emit(found->Op);
    }

    // After "exists[": one parameter, then "]".
    void Exists()
    {
        if (Peek() != '#')
            throw EMachineError("Expected # reading parameter");
        ++FPos;
        if (Peek() == '<') {
            Emit(TOp::ExistsNamed, TParameters::Intern(NamedParameter()));
        } else {
            Value();
            Emit(TOp::ExistsIndirect);
        }
        if (Peek() != ']')
            throw EMachineError("Expected ] reading bracketed parameter");
        ++FPos;
    }

    std::string_view FText;
    std::size_t& FPos;
    TExpression::TProgram FProgram;
    int FDepth = 0;
    int FNesting = 0;
};

double Run(const TExpression::TProgram& program, const TParameters& parameters)
{
    constexpr int kFixedStack = 32;
    // Left unset but for the result slot: each step writes a slot before reading it.
    double fixed[kFixedStack];
    fixed[0] = 0;
    std::vector<double> large;
    double* stack = fixed;
    if (program.StackDepth > kFixedStack) {
        large.resize(static_cast<std::size_t>(program.StackDepth));
        stack = large.data();
    }
    int top = -1;
    for (const TStep& step : program.Steps) {
        switch (step.Op) {
        case TOp::Constant:
            stack[++top] = step.Value;
            break;
        case TOp::Numbered:
            stack[++top] = parameters.Numbered(step.Index);
            break;
        case TOp::Indirect:
            stack[top] = parameters.Numbered(TExpression::ToInteger(stack[top]));
            break;
        case TOp::Named:
            stack[++top] = parameters.Named(step.Index);
            break;
        case TOp::ExistsNamed:
            stack[++top] = Truth(parameters.NamedExists(step.Index));
            break;
        case TOp::ExistsIndirect: {
            const int index = TExpression::ToInteger(stack[top]);
            stack[top] = Truth(index >= 1 && index <= TParameters::kLastNumbered);
            break;
        }
        default:
            if (IsBinary(step.Op)) {
                --top;
                stack[top] = Binary(step.Op, stack[top], stack[top + 1]);
            } else {
                stack[top] = Unary(step.Op, stack[top]);
            }
            CheckResult(stack[top]);
            break;
        }
    }
    return stack[0];
}

}  // namespace

TExpression TExpression::Read(std::string_view text, std::size_t& pos)
{
    // The common case, a plain number, compiles nothing.
    const char c = At(text, pos);
    const char next = At(text, pos + 1);
    if (IsDigit(c) || c == '.' ||
        ((c == '+' || c == '-') && (next == '\0' || IsDigit(next) || next == '.')))
        return TExpression(ReadNumber(text, pos));

    TProgram program = TCompiler(text, pos).Compile();
    TExpression expression;
    if (!program.ReadsParameters) {
        // Known now: keep the number. A calculation that fails stays compiled, so that it
        // fails when (and only if) its block runs.
        static const TParameters kNone;
        try {
            return TExpression(::Run(program, kNone));
        } catch (const EMachineError&) {}
    }
    expression.FProgram = std::make_shared<const TProgram>(std::move(program));
    return expression;
}

double TExpression::Run(const TParameters& parameters) const
{
    return ::Run(*FProgram, parameters);
}

int TExpression::ToInteger(double value)
{
    // LinuxCNC's read_integer_value: within 0.0001 below or above an integer
    constexpr double kIntegerTolerance = 0.0001;
    constexpr double kLargest = 1e9;
    if (std::fabs(value) > kLargest)
        throw EMachineError("Non integer value for integer");
    double whole = std::floor(value);
    if (value - whole > 1 - kIntegerTolerance)
        whole = std::ceil(value);
    else if (value - whole > kIntegerTolerance)
        throw EMachineError("Non integer value for integer");
    return static_cast<int>(whole);
}
