#include "machine/Expression.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "machine/MachineError.h"
#include "machine/Parameters.h"

namespace {

const std::string kData = std::string(ZORVIT_TEST_DATA) + "/machine/expressions/";

// A block as the reader hands it over: lower case, without blanks.
std::string Normalised(std::string text)
{
    std::erase_if(text, [](unsigned char c) { return std::isspace(c) != 0; });
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

double Value(const std::string& text, const TParameters& parameters = TParameters())
{
    const std::string block = Normalised(text);
    std::size_t pos = 0;
    const double value = TExpression::Read(block, pos).Evaluate(parameters);
    EXPECT_EQ(pos, block.size()) << text;
    return value;
}

std::string ReadFile(const std::string& path)
{
    std::ifstream file(path);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

// Every "G0 X..." line of values.ngc against the X that LinuxCNC's rs274 moved to for it
// (scripts/golden-expressions.sh), with the parameters that the program's first lines set.
TEST(TExpressionTest, ValuesMatchLinuxCnc)
{
    TParameters parameters;
    parameters.SetNumbered(1, 2);
    parameters.SetNumbered(2, 3);
    parameters.SetNumbered(3, -2.5);
    parameters.SetNumbered(31, 31);
    parameters.SetNamed("r", 4);
    parameters.SetNamed("_g", 0.5);
    parameters.SetPredefinedSource(
        [](TPredefined name) { return name == TPredefined::Metric ? 1.0 : 0.0; });

    std::istringstream program(ReadFile(kData + "values.ngc"));
    std::string actual;
    std::string line;
    for (int number = 1; std::getline(program, line); ++number) {
        if (!line.starts_with("G0 X"))
            continue;
        char text[64];
        std::snprintf(text, sizeof text, "%d %.4f\n", number, Value(line.substr(4), parameters));
        actual += text;
    }
    const std::string expectedPath = kData + "values.expected";
    const std::string expected = ReadFile(expectedPath);
    if (actual != expected)
        std::ofstream(kData + "values.new") << actual;
    EXPECT_EQ(actual, expected) << "actual values written to values.new";
}

struct TNumberCase
{
    const char* Text;
    double Value;
    std::size_t End;
};

class TExpressionNumberTest : public testing::TestWithParam<TNumberCase>
{};

TEST_P(TExpressionNumberTest, ReadsNumberAndStopsAfterIt)
{
    const TNumberCase& c = GetParam();
    std::size_t pos = 0;
    const TExpression value = TExpression::Read(c.Text, pos);
    EXPECT_TRUE(value.IsConstant());
    EXPECT_DOUBLE_EQ(value.Evaluate(TParameters()), c.Value);
    EXPECT_EQ(pos, c.End);
}

INSTANTIATE_TEST_SUITE_P(Forms, TExpressionNumberTest,
                         testing::Values(TNumberCase{"100.", 100, 4}, TNumberCase{".5x", 0.5, 2},
                                         TNumberCase{"-.25", -0.25, 4}, TNumberCase{"+1y2", 1, 2},
                                         TNumberCase{"[1+2]*3", 3, 5},
                                         TNumberCase{"sqrt[4]y", 2, 7},
                                         TNumberCase{"atan[1]/[1]z", 45, 11},
                                         TNumberCase{"-[2]x", -2, 4}));

struct TErrorCase
{
    const char* Text;
    const char* Message;  // as LinuxCNC's rs274 words it
};

class TExpressionErrorTest : public testing::TestWithParam<TErrorCase>
{};

TEST_P(TExpressionErrorTest, RefusesWithLinuxCncMessage)
{
    const TErrorCase& c = GetParam();
    try {
        const double value = Value(c.Text);
        ADD_FAILURE() << c.Text << " gave " << value;
    } catch (const EMachineError& error) {
        EXPECT_STREQ(error.what(), c.Message) << c.Text;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Syntax, TExpressionErrorTest,
    testing::Values(TErrorCase{"", "No characters found in reading real value"},
                    TErrorCase{"-", "bad number format (conversion failed) parsing '-'"},
                    TErrorCase{".", "bad number format (conversion failed) parsing '.'"},
                    TErrorCase{"1.2.3", "bad number format (trailing characters) parsing '1.2.3'"},
                    TErrorCase{"[1+]", "bad number format (conversion failed) parsing ''"},
                    TErrorCase{"[]", "bad number format (conversion failed) parsing ''"},
                    TErrorCase{"[1", "Unclosed expression"},
                    TErrorCase{"[1 e3]", "Unknown operation name starting with e"},
                    TErrorCase{"[1 mad 2]", "Unknown operation name starting with m"},
                    TErrorCase{"[1 foo 2]", "Unknown operation"},
                    TErrorCase{"[foo[1]]", "Unknown word starting with f"},
                    TErrorCase{"[g0]", "Unknown word where unary operation could be"},
                    TErrorCase{"[sin 30]", "Left bracket missing after unary operation name"},
                    TErrorCase{"[atan[1]]", "Slash missing after first atan argument"},
                    TErrorCase{"[atan[1]/2]", "Left bracket missing after slash with atan"},
                    TErrorCase{"[exists[1]]", "Expected # reading parameter"},
                    TErrorCase{"[exists[#<a>+1]]", "Expected ] reading bracketed parameter"},
                    TErrorCase{"#<a", "Named parameter not terminated"},
                    TErrorCase{"##", "No characters found in reading real value"}));

INSTANTIATE_TEST_SUITE_P(
    Evaluation, TExpressionErrorTest,
    testing::Values(TErrorCase{"[1/0]", "Attempt to divide by zero"},
                    TErrorCase{"[sqrt[-1]]", "Negative argument to sqrt"},
                    TErrorCase{"[ln[0]]", "Zero or negative argument to ln"},
                    TErrorCase{"[acos[1.0001]]", "Argument to acos out of range"},
                    TErrorCase{"[asin[-1.5]]", "Argument to asin out of range"},
                    TErrorCase{"[[-8]**[1/3]]", "Attempt to raise negative to non integer power"},
                    TErrorCase{"[5 mod 0]", "Calculation resulted in 'not a number'"},
                    TErrorCase{"[0**-1]", "Calculation resulted in 'infinity'"},
                    TErrorCase{"[exp[1000]]", "Calculation resulted in 'infinity'"},
                    TErrorCase{"#0", "Parameter number out of range"},
                    TErrorCase{"#5602", "Parameter number out of range"},
                    TErrorCase{"#-1", "Parameter number out of range"},
                    TErrorCase{"#1.5", "Non integer value for integer"},
                    TErrorCase{"#[1e]", "Unknown operation name starting with e"},
                    TErrorCase{"#<nosuch>", "Named parameter #<nosuch> not defined"},
                    TErrorCase{"#<_nosuch>", "Named parameter #<_nosuch> not defined"}));

TEST(TExpressionTest, CompiledOnceFollowsParameterChanges)
{
    const std::string block = "[#1*2+#<step>]";
    std::size_t pos = 0;
    const TExpression expression = TExpression::Read(block, pos);
    EXPECT_FALSE(expression.IsConstant());
    TParameters parameters;
    parameters.SetNamed("step", 0.5);
    for (int turn = 0; turn < 3; ++turn) {
        parameters.SetNumbered(1, turn);
        EXPECT_DOUBLE_EQ(expression.Evaluate(parameters), turn * 2 + 0.5);
    }
}

TEST(TExpressionTest, ValuesKnownWithoutParametersAreConstant)
{
    for (const char* text : {"[1+2*3]", "sin[30]", "-[2]", "atan[1]/[1]"}) {
        std::size_t pos = 0;
        EXPECT_TRUE(TExpression::Read(text, pos).IsConstant()) << text;
    }
    // a calculation that fails is read, and fails only when its block runs
    std::size_t pos = 0;
    const TExpression failing = TExpression::Read("[1/0]", pos);
    EXPECT_FALSE(failing.IsConstant());
    EXPECT_THROW(failing.Evaluate(TParameters()), EMachineError);
}

TEST(TExpressionTest, DeepNestingIsRefusedNotOverflowed)
{
    const std::string deep = std::string(100000, '[') + "1" + std::string(100000, ']');
    std::size_t pos = 0;
    EXPECT_THROW(TExpression::Read(deep, pos), EMachineError);
    const std::string nested = std::string(60, '[') + "1" + std::string(60, ']');
    pos = 0;
    EXPECT_DOUBLE_EQ(TExpression::Read(nested, pos).Evaluate(TParameters()), 1);
}

TEST(TExpressionTest, LongOperandChainsNeedADeepStack)
{
    // 1+[2*[3+[...]]] keeps one value per level on the stack, past the fixed part of it
    std::string text = "#1";
    for (int level = 0; level < 40; ++level)
        text = "[1+[2*" + text + "]]";
    std::size_t pos = 0;
    const TExpression expression = TExpression::Read(text, pos);
    TParameters parameters;
    parameters.SetNumbered(1, 1);
    double expected = 1;
    for (int level = 0; level < 40; ++level)
        expected = 1 + 2 * expected;
    EXPECT_DOUBLE_EQ(expression.Evaluate(parameters), expected);
}

struct TIntegerCase
{
    double Value;
    int Integer;  // or kRefused
};

constexpr int kRefused = -999;

TEST(TExpressionTest, IntegersWithinLinuxCncTolerance)
{
    for (const TIntegerCase c :
         {TIntegerCase{3, 3}, TIntegerCase{2.99995, 3}, TIntegerCase{3.00005, 3},
          TIntegerCase{-2.00001, -2}, TIntegerCase{2.5, kRefused}, TIntegerCase{3.0002, kRefused},
          TIntegerCase{1e12, kRefused}}) {
        if (c.Integer == kRefused)
            EXPECT_THROW(TExpression::ToInteger(c.Value), EMachineError) << c.Value;
        else
            EXPECT_EQ(TExpression::ToInteger(c.Value), c.Integer) << c.Value;
    }
}

}  // namespace
