#pragma once
// TExpression: the real value of a word, a parameter assignment or an O-word condition, kept as
// written so that it is evaluated again each time its block runs (in loops and calls). A plain
// number, the common case, is kept as that number and allocates nothing; anything else is
// compiled once into a short postfix program that evaluation runs on a small stack.

#include <cstddef>
#include <memory>
#include <string_view>

class TParameters;

class TExpression
{
public:
    // Two values closer than this are equal for EQ and NE (LinuxCNC's TOLERANCE_EQUAL).
    static constexpr double kEqualTolerance = 0.0001;
    // Brackets, functions and signs nest at most this deep in one value.
    static constexpr int kMaxNesting = 100;

    TExpression() = default;
    explicit TExpression(double constant) : FConstant(constant) {}

    // Reads one value of a block at text[pos] and leaves pos just after it. The text is the
    // block as the reader normalises it: lower case, blanks and comments removed. A value is a
    // number ("1", "-.5", "+2."), a parameter ("#12", "#<name>", "##1"), an expression in
    // brackets, a unary function ("sin[30]", "atan[1]/[2]"), or a sign before any of these.
    // Throws EMachineError naming what is wrong in LinuxCNC's words. A value whose evaluation
    // must fail (a division by zero) is still read; Evaluate throws.
    static TExpression Read(std::string_view text, std::size_t& pos);

    // True when the value is a number known without parameters.
    bool IsConstant() const { return !FProgram; }
    double Constant() const { return FConstant; }
    // Throws EMachineError for a parameter out of range or not defined, and for a calculation
    // LinuxCNC refuses (division by zero, SQRT of a negative, a result that is not a number).
    double Evaluate(const TParameters& parameters) const
    {
        return FProgram ? Run(parameters) : FConstant;
    }

    // Reads an integer the way LinuxCNC reads parameter numbers and O labels: within 0.0001 of
    // an integer, else EMachineError "Non integer value for integer".
    static int ToInteger(double value);

    struct TProgram;  // the compiled form; shared by copies

private:
    double Run(const TParameters& parameters) const;

    double FConstant = 0;
    std::shared_ptr<const TProgram> FProgram;
};
