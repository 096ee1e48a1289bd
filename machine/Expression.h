#pragma once
// TExpression: the real value of a word, a parameter assignment or an O-word condition, kept as
// written so that it is evaluated again each time its block runs (in loops and calls). A plain
// number, the common case, is kept as that number and allocates nothing.

#include <cstddef>
#include <memory>
#include <string_view>

class TParameters;

class TExpression
{
public:
    TExpression() = default;
    explicit TExpression(double constant) : FConstant(constant) {}

    // Reads one value of a block at text[pos] and leaves pos just after it. The text is the
    // block as the reader normalises it: lower case, blanks and comments removed. A value is a
    // number ("1", "-.5", "+2."), a parameter ("#12", "#<name>", "##1"), an expression in
    // brackets, or a unary function ("sin[30]"). Throws EMachineError naming what is wrong.
    static TExpression Read(std::string_view text, std::size_t& pos);

    // True when the value is a number known without parameters.
    bool IsConstant() const { return !FNodes; }
    double Constant() const { return FConstant; }
    double Evaluate(const TParameters& parameters) const;

private:
    struct TNodes;  // the compiled form of what is not a plain number; shared by copies

    double FConstant = 0;
    std::shared_ptr<const TNodes> FNodes;
};
