#include "gcode/GCodeParser.h"

#include <gtest/gtest.h>

#include <charconv>
#include <clocale>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

namespace {

using P = TGCodeParser;
using TTokens = std::vector<std::pair<int, std::string>>;  // code and text of each token

class TGCodeParserTest : public ::testing::Test
{
protected:
    TTokens Tokens(std::string_view text)
    {
        TTokens tokens;
        for (int code = Parser.SetLine(text); code != P::tkEnd; code = Parser.NextToken())
            tokens.emplace_back(code, Parser.TokenString());
        return tokens;
    }

    // The message of the error that `action` raises, or "" when it raises none.
    template <typename TError, typename TAction>
    static std::string ErrorOf(TAction action)
    {
        try {
            action();
        } catch (const TError& e) {
            return e.what();
        }
        return "";
    }

    TGCodeParser Parser;
};

struct TTokenCase
{
    std::string Text;
    TTokens Expected;
};

class TGCodeParserTokenTest : public TGCodeParserTest,
                              public ::testing::WithParamInterface<TTokenCase>
{};

TEST_P(TGCodeParserTokenTest, CutsTextIntoTokens)
{
    EXPECT_EQ(Tokens(GetParam().Text), GetParam().Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Shapes, TGCodeParserTokenTest,
    ::testing::Values(
        TTokenCase{" \t\r\v\x01 ", {}},
        TTokenCase{"G1X2.5",
                   {{P::tkWord, "G"}, {P::tkInteger, "1"}, {P::tkWord, "X"}, {P::tkFloat, "2.5"}}},
        TTokenCase{
            "g01 x-1.5",
            {{P::tkWord, "g"}, {P::tkInteger, "01"}, {P::tkWord, "x"}, {P::tkFloat, "-1.5"}}},
        TTokenCase{"(a (b) c)", {{P::tkComment, "(a (b)"}, {P::tkWord, "c"}, {')', ")"}}},
        TTokenCase{"X1 (no end",
                   {{P::tkWord, "X"}, {P::tkInteger, "1"}, {P::tkComment, "(no end"}}},
        TTokenCase{"(to\n%", {{P::tkComment, "(to"}, {P::tkNewline, "\n"}, {P::tkPercent, "%"}}},
        TTokenCase{"X.5 1,5",
                   {{P::tkWord, "X"},
                    {'.', "."},
                    {P::tkInteger, "5"},
                    {P::tkInteger, "1"},
                    {',', ","},
                    {P::tkInteger, "5"}}},
        TTokenCase{"-3 +0 007 1E5 1e-3 7.",
                   {{P::tkInteger, "-3"},
                    {P::tkInteger, "+0"},
                    {P::tkInteger, "007"},
                    {P::tkFloat, "1E5"},
                    {P::tkFloat, "1e-3"},
                    {P::tkFloat, "7."}}},
        TTokenCase{"1-2 3.4.5 -",
                   {{P::tkFloat, "1-2"}, {P::tkFloat, "3.4.5"}, {P::tkInteger, "-"}}},
        TTokenCase{
            "GX12Y ; =",
            {{P::tkWord, "GX"}, {P::tkInteger, "12"}, {P::tkWord, "Y"}, {';', ";"}, {'=', "="}}},
        TTokenCase{"\xC3\xA9", {{0xC3, "\xC3"}, {0xA9, "\xA9"}}},
        TTokenCase{std::string("X1\0Y2", 5), {{P::tkWord, "X"}, {P::tkInteger, "1"}}}));

TEST_F(TGCodeParserTest, EndRepeatsAndSetLineStartsAfresh)
{
    Parser.SourceLine = 5;
    Tokens("X1\nY2\n\nZ3 A");
    EXPECT_EQ(Parser.SourceLine, 8);  // one per LF; SetLine leaves it alone
    EXPECT_EQ(Parser.NextToken(), P::tkEnd);
    EXPECT_EQ(Parser.TokenString(), "");
    EXPECT_EQ(Parser.SetLine("G1 X2"), P::tkWord);
    EXPECT_EQ(Tokens("Y3"), (TTokens{{P::tkWord, "Y"}, {P::tkInteger, "3"}}));
    EXPECT_EQ(Parser.SourceLine, 8);
}

TEST_F(TGCodeParserTest, WindowHoldsLinesOfUpTo4095Bytes)
{
    const std::string comment = "(" + std::string(P::kBufferSize - 3, 'c') + ")";
    EXPECT_EQ(Tokens(comment), (TTokens{{P::tkComment, comment}}));
    Parser.SourceLine = 7;
    for (const std::string& text :
         {std::string(P::kBufferSize, 'X'), std::string(P::kBufferSize - 1, ' ') + "\n"})
        EXPECT_EQ(ErrorOf<EParserError>([&] { Tokens(text); }), "Line too long on line 7");
}

TEST_F(TGCodeParserTest, LongTextIsReadWindowByWindowWithoutSplittingTokens)
{
    // Numbers of varying length put token boundaries at every position of the window cut.
    std::string text;
    TTokens expected;
    for (int i = 0; i < 2000; ++i) {
        const std::string number = std::to_string(i * 7919 % 100003) + "." + std::to_string(i);
        text += "X" + number + "\n";
        expected.insert(expected.end(),
                        {{P::tkWord, "X"}, {P::tkFloat, number}, {P::tkNewline, "\n"}});
    }
    ASSERT_GT(text.size(), 4 * P::kBufferSize);
    EXPECT_EQ(Tokens(text), expected);
}

TEST_F(TGCodeParserTest, TooLongLineAfterShortOnesFailsWhenItsWindowIsReached)
{
    Parser.SourceLine = 1;
    EXPECT_EQ(Parser.SetLine("X1\nY2\n" + std::string(P::kBufferSize + 10, 'Z')), P::tkWord);
    for (int i = 0; i < 5; ++i)
        Parser.NextToken();
    EXPECT_EQ(Parser.Token(), P::tkNewline);
    EXPECT_EQ(ErrorOf<EParserError>([&] { Parser.NextToken(); }), "Line too long on line 3");
    // Scanning on stays inside the buffer and reports again.
    EXPECT_THROW(Parser.NextToken(), EParserError);
    EXPECT_EQ(Parser.SetLine("X1"), P::tkWord);
}

struct TCheckCase
{
    std::string Text;
    int Expected;
    std::string Message;  // empty when the token fits
};

class TGCodeParserCheckTest : public TGCodeParserTest,
                              public ::testing::WithParamInterface<TCheckCase>
{};

TEST_P(TGCodeParserCheckTest, ChecksTheCurrentTokenAndKeepsItOnFailure)
{
    const TCheckCase& c = GetParam();
    Parser.SourceLine = 12;
    Parser.SetLine(c.Text);
    const std::string token = Parser.TokenString();
    EXPECT_EQ(ErrorOf<EParserError>([&] { Parser.CheckToken(c.Expected); }),
              c.Message.empty() ? "" : c.Message + " on line 12");
    EXPECT_EQ(Parser.TokenString(), token);
}

INSTANTIATE_TEST_SUITE_P(Codes, TGCodeParserCheckTest,
                         ::testing::Values(TCheckCase{"X", P::tkWord, ""},
                                           TCheckCase{"12", P::tkWord, "Identifier expected"},
                                           TCheckCase{"12", P::tkInteger, ""},
                                           TCheckCase{"12", P::tkFloat, ""},
                                           TCheckCase{"1.5", P::tkFloat, ""},
                                           TCheckCase{"1.5", P::tkInteger, "Number expected"},
                                           TCheckCase{"(c)", P::tkFloat, "Number expected"},
                                           TCheckCase{".5", P::tkFloat, "Number expected"},
                                           TCheckCase{"=", '=', ""},
                                           TCheckCase{";", '=', "''='' expected"}));

TEST_F(TGCodeParserTest, HookSeesParserErrorsAndMayAbsorbThem)
{
    std::vector<std::string> seen;
    bool absorb = true;
    Parser.OnError = [&](TGCodeParser& sender, const std::string& message, bool& handled) {
        EXPECT_EQ(&sender, &Parser);
        seen.push_back(message);
        handled = absorb;
    };
    Parser.SetLine("X");
    EXPECT_NO_THROW(Parser.CheckToken(P::tkInteger));
    EXPECT_EQ(Parser.SetLine(std::string(2 * P::kBufferSize, 'X')), P::tkEnd);  // empty window
    Parser.SetLine("1-2");
    EXPECT_THROW(Parser.TokenFloat(), EConvertError);  // conversions bypass the hook
    absorb = false;
    EXPECT_THROW(Parser.CheckToken(P::tkWord), EParserError);
    EXPECT_EQ(seen, (std::vector<std::string>{"Number expected", "Line too long",
                                              "Identifier expected"}));
}

TEST_F(TGCodeParserTest, TokenIntConvertsSignedDecimalsOf64Bits)
{
    const std::vector<std::pair<std::string, std::int64_t>> cases = {
        {"01", 1},
        {"-3", -3},
        {"+0", 0},
        {"000000000000000000000042", 42},
        {"9223372036854775807", std::numeric_limits<std::int64_t>::max()},
        {"-9223372036854775808", std::numeric_limits<std::int64_t>::min()}};
    for (const auto& [text, value] : cases) {
        Parser.SetLine(text);
        EXPECT_EQ(Parser.TokenInt(), value) << text;
    }
}

TEST_F(TGCodeParserTest, FailedConversionsQuoteTheText)
{
    for (const std::string text :
         {"-", "1.5", "9223372036854775808", "-9223372036854775809", "X"}) {
        Parser.SetLine(text);
        EXPECT_EQ(ErrorOf<EConvertError>([&] { Parser.TokenInt(); }),
                  "'" + text + "' is not a valid integer value");
    }
    Parser.SetLine("\n");  // control bytes are stripped from the quoted text
    EXPECT_EQ(ErrorOf<EConvertError>([&] { Parser.TokenInt(); }),
              "'' is not a valid integer value");
    for (const std::string text : {"1-2", "3.4.5", "-", "1e5e", "X"}) {
        Parser.SetLine(text);
        EXPECT_EQ(ErrorOf<EConvertError>([&] { Parser.TokenFloat(); }),
                  "'" + text + "' is not a valid floating point value");
    }
}

TEST_F(TGCodeParserTest, TokenFloatConvertsExactly)
{
    constexpr double kInf = std::numeric_limits<double>::infinity();
    const std::vector<std::pair<std::string, double>> cases = {
        {"1.5", 1.5},
        {"-0.350", -0.35},
        {"1E5", 1e5},
        {"1e-3", 0.001},
        {"1E", 1},
        {"2e+", 2},
        {"7.", 7},
        {"-0.0", -0.0},
        {"12.3456", 12.3456},
        {"0.1000000000000000055511151231257827", 0.1},
        {"9007199254740993", 9007199254740992.0},
        {"1E400", kInf},
        {"-1E400", -kInf},
        {"0.00001E-400", 0},
        {"4.9E-324", std::numeric_limits<double>::denorm_min()}};
    for (const auto& [text, value] : cases) {
        Parser.SetLine(text);
        const double converted = Parser.TokenFloat();
        EXPECT_EQ(converted, value) << text;
        EXPECT_EQ(std::signbit(converted), std::signbit(value)) << text;
    }
}

TEST_F(TGCodeParserTest, TokenFloatRoundsCorrectlyOnManyValues)
{
    // Mantissas of up to 19 digits with exponents around the exact-power range, against the
    // standard library's correctly rounded conversion.
    std::uint64_t state = 88172645463325252u;
    for (int i = 0; i < 20000; ++i) {
        state ^= state << 13;
        state ^= state >> 7;
        state ^= state << 17;
        const std::string digits = std::to_string(state % 10000000000000000000u);
        const auto point = 1 + state % digits.size();  // a number token starts with a digit
        const int exponent = static_cast<int>(state >> 40) % 61 - 30;
        const std::string text =
            digits.substr(0, point) + "." + digits.substr(point) + "e" + std::to_string(exponent);
        double expected = 0;
        std::from_chars(text.data(), text.data() + text.size(), expected);
        Parser.SetLine(text);
        ASSERT_EQ(Parser.TokenFloat(), expected) << text;
    }
}

TEST_F(TGCodeParserTest, DecimalPointStaysAPointUnderACommaLocale)
{
    const std::string previous = std::setlocale(LC_ALL, nullptr);
    const char* locale = nullptr;
    for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "fr_FR.utf8"})
        if ((locale = std::setlocale(LC_ALL, name)) != nullptr)
            break;
    if (locale == nullptr)
        GTEST_SKIP() << "no comma-decimal locale installed";
    ASSERT_STREQ(std::localeconv()->decimal_point, ",");
    Parser.SetLine("1.5");
    const double point = Parser.TokenFloat();
    const TTokens comma = Tokens("1,5");
    std::setlocale(LC_ALL, previous.c_str());
    EXPECT_EQ(point, 1.5);
    EXPECT_EQ(comma, (TTokens{{P::tkInteger, "1"}, {',', ","}, {P::tkInteger, "5"}}));
}

}  // namespace
