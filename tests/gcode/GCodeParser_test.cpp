#include "GCodeParser.h"

#include <gtest/gtest.h>

#include <charconv>
#include <clocale>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

namespace {

using P = TGCodeParser;

struct TToken
{
    int Code;
    std::string Text;
    bool operator==(const TToken&) const = default;
};

void PrintTo(const TToken& token, std::ostream* out)
{
    *out << "{" << token.Code << ", \"" << token.Text << "\"}";
}

class TGCodeParserTest : public ::testing::Test
{
protected:
    // Every token of the text up to End, with its text.
    std::vector<TToken> Tokens(std::string_view text)
    {
        std::vector<TToken> tokens;
        for (int code = Parser.SetLine(text); code != P::tkEnd; code = Parser.NextToken())
            tokens.push_back({code, Parser.TokenString()});
        return tokens;
    }

    // Expects the text to fail with EParserError carrying this message.
    void ExpectParserError(std::string_view text, const std::string& message)
    {
        try {
            Tokens(text);
            ADD_FAILURE() << "no error for a text of " << text.size() << " bytes";
        } catch (const EParserError& e) {
            EXPECT_EQ(e.what(), message);
        }
    }

    TGCodeParser Parser;
};

// --- Tokens -------------------------------------------------------------------------------

struct TTokenCase
{
    std::string Text;
    std::vector<TToken> Expected;
};

class TGCodeParserTokenTest : public TGCodeParserTest, public ::testing::WithParamInterface<TTokenCase>
{
};

TEST_P(TGCodeParserTokenTest, CutsTextIntoTokens)
{
    EXPECT_EQ(Tokens(GetParam().Text), GetParam().Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Shapes, TGCodeParserTokenTest,
    ::testing::Values(
        TTokenCase{"", {}},
        TTokenCase{" \t\r\v\x01 ", {}},
        TTokenCase{"G1X2.5", {{P::tkWord, "G"}, {P::tkInteger, "1"}, {P::tkWord, "X"}, {P::tkFloat, "2.5"}}},
        TTokenCase{"g01 x-1.5", {{P::tkWord, "g"}, {P::tkInteger, "01"}, {P::tkWord, "x"}, {P::tkFloat, "-1.5"}}},
        TTokenCase{"(set up) X1", {{P::tkComment, "(set up)"}, {P::tkWord, "X"}, {P::tkInteger, "1"}}},
        TTokenCase{"(a (b) c)", {{P::tkComment, "(a (b)"}, {P::tkWord, "c"}, {')', ")"}}},
        TTokenCase{"X1 (no end", {{P::tkWord, "X"}, {P::tkInteger, "1"}, {P::tkComment, "(no end"}}},
        TTokenCase{"(to\nX1", {{P::tkComment, "(to"}, {P::tkNewline, "\n"}, {P::tkWord, "X"}, {P::tkInteger, "1"}}},
        TTokenCase{"X.5", {{P::tkWord, "X"}, {'.', "."}, {P::tkInteger, "5"}}},
        TTokenCase{"1,5", {{P::tkInteger, "1"}, {',', ","}, {P::tkInteger, "5"}}},
        TTokenCase{"12 -3 +0 007", {{P::tkInteger, "12"}, {P::tkInteger, "-3"}, {P::tkInteger, "+0"}, {P::tkInteger, "007"}}},
        TTokenCase{"1.5 -0.350 1E5 1e-3 7.", {{P::tkFloat, "1.5"}, {P::tkFloat, "-0.350"}, {P::tkFloat, "1E5"},
                                              {P::tkFloat, "1e-3"}, {P::tkFloat, "7."}}},
        TTokenCase{"1-2 3.4.5 - +", {{P::tkFloat, "1-2"}, {P::tkFloat, "3.4.5"}, {P::tkInteger, "-"}, {P::tkInteger, "+"}}},
        TTokenCase{"GX12Y", {{P::tkWord, "GX"}, {P::tkInteger, "12"}, {P::tkWord, "Y"}}},
        TTokenCase{"G0 ; rapid", {{P::tkWord, "G"}, {P::tkInteger, "0"}, {';', ";"}, {P::tkWord, "rapid"}}},
        TTokenCase{"%\n%", {{P::tkPercent, "%"}, {P::tkNewline, "\n"}, {P::tkPercent, "%"}}},
        TTokenCase{"*/=)", {{'*', "*"}, {'/', "/"}, {'=', "="}, {')', ")"}}},
        TTokenCase{"\xC3\xA9X", {{0xC3, "\xC3"}, {0xA9, "\xA9"}, {P::tkWord, "X"}}},
        TTokenCase{std::string("X1\0Y2", 5), {{P::tkWord, "X"}, {P::tkInteger, "1"}}}));

TEST_F(TGCodeParserTest, EndRepeatsAndGivesAnEmptyTokenString)
{
    EXPECT_EQ(Parser.SetLine("X"), P::tkWord);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(Parser.NextToken(), P::tkEnd);
        EXPECT_EQ(Parser.Token(), P::tkEnd);
        EXPECT_EQ(Parser.TokenString(), "");
    }
}

TEST_F(TGCodeParserTest, NothingAfterAZeroByteIsEverRead)
{
    EXPECT_EQ(Parser.SetLine(std::string_view("\0X1", 3)), P::tkEnd);
    EXPECT_EQ(Parser.NextToken(), P::tkEnd);
    EXPECT_EQ(Parser.NextToken(), P::tkEnd);
}

TEST_F(TGCodeParserTest, SetLineDropsTheRestOfThePreviousText)
{
    Parser.SetLine("G1 X2");
    EXPECT_EQ(Tokens("Y3"), (std::vector<TToken>{{P::tkWord, "Y"}, {P::tkInteger, "3"}}));
}

TEST_F(TGCodeParserTest, SourceLineCountsLineFeedsAndIsKeptBySetLine)
{
    Parser.SourceLine = 5;
    Tokens("X1\nY2\n\nZ3");
    EXPECT_EQ(Parser.SourceLine, 8);
    Parser.SetLine("X1");
    EXPECT_EQ(Parser.SourceLine, 8);
}

// --- The scanning window --------------------------------------------------------------------

TEST_F(TGCodeParserTest, LineOf4095BytesIsScannedToItsEnd)
{
    const std::string comment = "(" + std::string(P::kBufferSize - 3, 'c') + ")";
    ASSERT_EQ(comment.size(), P::kBufferSize - 1);
    EXPECT_EQ(Tokens(comment), (std::vector<TToken>{{P::tkComment, comment}}));
}

TEST_F(TGCodeParserTest, LineOf4096BytesIsTooLong)
{
    Parser.SourceLine = 7;
    ExpectParserError(std::string(P::kBufferSize, 'X'), "Line too long on line 7");
    ExpectParserError(std::string(P::kBufferSize - 1, ' ') + "\n", "Line too long on line 7");
}

TEST_F(TGCodeParserTest, LongTextIsReadWindowByWindowWithoutSplittingTokens)
{
    // Numbers of varying length put token boundaries at every position of the window cut.
    std::string text;
    std::vector<TToken> expected;
    for (int i = 0; i < 2000; ++i) {
        const std::string number = std::to_string(i * 7919 % 100003) + "." + std::to_string(i);
        text += "X" + number + "\n";
        expected.push_back({P::tkWord, "X"});
        expected.push_back({P::tkFloat, number});
        expected.push_back({P::tkNewline, "\n"});
    }
    ASSERT_GT(text.size(), 4 * P::kBufferSize);
    Parser.SourceLine = 1;
    EXPECT_EQ(Tokens(text), expected);
    EXPECT_EQ(Parser.SourceLine, 2001);
}

TEST_F(TGCodeParserTest, TooLongLineAfterShortOnesFailsWhenItsWindowIsReached)
{
    const std::string text = "X1\nY2\n" + std::string(P::kBufferSize + 10, 'Z');
    Parser.SourceLine = 1;
    EXPECT_EQ(Parser.SetLine(text), P::tkWord);
    for (int i = 0; i < 5; ++i)
        Parser.NextToken();
    EXPECT_EQ(Parser.Token(), P::tkNewline);
    try {
        Parser.NextToken();
        ADD_FAILURE() << "no error";
    } catch (const EParserError& e) {
        EXPECT_STREQ(e.what(), "Line too long on line 3");
    }
    // Still safe to go on scanning: the window is empty, and each refill reports again.
    EXPECT_THROW(Parser.NextToken(), EParserError);
    EXPECT_EQ(Parser.SetLine("X1"), P::tkWord);
}

TEST_F(TGCodeParserTest, AbsorbedTooLongLineLeavesAnEmptyWindow)
{
    std::vector<std::string> messages;
    Parser.OnError = [&](TGCodeParser&, const std::string& message, bool& handled) {
        messages.push_back(message);
        handled = true;
    };
    EXPECT_EQ(Parser.SetLine(std::string(P::kBufferSize * 2, 'X')), P::tkEnd);
    EXPECT_EQ(Parser.TokenString(), "");
    EXPECT_EQ(messages, std::vector<std::string>{"Line too long"});
}

// --- CheckToken and the error hook -----------------------------------------------------------

struct TCheckCase
{
    std::string Text;
    int Expected;
    std::string Message;  // empty when the token fits
};

class TGCodeParserCheckTest : public TGCodeParserTest, public ::testing::WithParamInterface<TCheckCase>
{
};

TEST_P(TGCodeParserCheckTest, ChecksTheCurrentToken)
{
    const TCheckCase& c = GetParam();
    Parser.SourceLine = 12;
    Parser.SetLine(c.Text);
    if (c.Message.empty()) {
        EXPECT_NO_THROW(Parser.CheckToken(c.Expected));
        return;
    }
    try {
        Parser.CheckToken(c.Expected);
        ADD_FAILURE() << "no error";
    } catch (const EParserError& e) {
        EXPECT_EQ(e.what(), c.Message + " on line 12");
    }
    // The offending token stays current.
    const std::string offending = Parser.TokenString();
    EXPECT_EQ(offending, Tokens(c.Text).front().Text);
}

INSTANTIATE_TEST_SUITE_P(
    Codes, TGCodeParserCheckTest,
    ::testing::Values(TCheckCase{"X", P::tkWord, ""},
                      TCheckCase{"12", P::tkWord, "Identifier expected"},
                      TCheckCase{"12", P::tkInteger, ""},
                      TCheckCase{"12", P::tkFloat, ""},
                      TCheckCase{"1.5", P::tkFloat, ""},
                      TCheckCase{"1.5", P::tkInteger, "Number expected"},
                      TCheckCase{"(c)", P::tkFloat, "Number expected"},
                      TCheckCase{".5", P::tkFloat, "Number expected"},
                      TCheckCase{"Y", P::tkInteger, "Number expected"},
                      TCheckCase{"=", '=', ""},
                      TCheckCase{";", '=', "''='' expected"},
                      TCheckCase{"X", P::tkPercent, "''\x06'' expected"}));

TEST_F(TGCodeParserTest, HookThatHandlesTheErrorLetsCheckTokenReturn)
{
    TGCodeParser* sender = nullptr;
    std::string seen;
    Parser.OnError = [&](TGCodeParser& from, const std::string& message, bool& handled) {
        sender = &from;
        seen = message;
        handled = true;
    };
    Parser.SetLine("X");
    EXPECT_NO_THROW(Parser.CheckToken(P::tkInteger));
    EXPECT_EQ(sender, &Parser);
    EXPECT_EQ(seen, "Number expected");
}

TEST_F(TGCodeParserTest, HookThatLeavesTheErrorStillRaises)
{
    int calls = 0;
    Parser.OnError = [&](TGCodeParser&, const std::string&, bool&) { ++calls; };
    Parser.SourceLine = 3;
    Parser.SetLine("X");
    EXPECT_THROW(Parser.CheckToken(P::tkInteger), EParserError);
    EXPECT_EQ(calls, 1);
}

// --- Conversions --------------------------------------------------------------------------

TEST_F(TGCodeParserTest, TokenIntConvertsSignedDecimalsOver64Bits)
{
    const std::vector<std::pair<std::string, std::int64_t>> cases = {
        {"01", 1},
        {"-3", -3},
        {"+0", 0},
        {"4294967297", 4294967297},
        {"9223372036854775807", std::numeric_limits<std::int64_t>::max()},
        {"-9223372036854775808", std::numeric_limits<std::int64_t>::min()},
        {"000000000000000000000042", 42},
    };
    for (const auto& [text, value] : cases) {
        Parser.SetLine(text);
        EXPECT_EQ(Parser.TokenInt(), value) << text;
    }
}

TEST_F(TGCodeParserTest, TokenIntRejectsWhatIsNoIntegerWithoutTheHook)
{
    bool hookCalled = false;
    Parser.OnError = [&](TGCodeParser&, const std::string&, bool&) { hookCalled = true; };
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"-", "'-' is not a valid integer value"},
        {"1.5", "'1.5' is not a valid integer value"},
        {"9223372036854775808", "'9223372036854775808' is not a valid integer value"},
        {"-9223372036854775809", "'-9223372036854775809' is not a valid integer value"},
        {"\n", "'' is not a valid integer value"},  // control bytes are stripped first
        {"X", "'X' is not a valid integer value"},
    };
    for (const auto& [text, message] : cases) {
        Parser.SetLine(text);
        try {
            Parser.TokenInt();
            ADD_FAILURE() << "no error for " << text;
        } catch (const EConvertError& e) {
            EXPECT_EQ(e.what(), message);
        }
    }
    EXPECT_FALSE(hookCalled);
}

struct TFloatCase
{
    std::string Text;
    double Value;
};

class TGCodeParserFloatTest : public TGCodeParserTest, public ::testing::WithParamInterface<TFloatCase>
{
};

TEST_P(TGCodeParserFloatTest, TokenFloatConvertsExactly)
{
    Parser.SetLine(GetParam().Text);
    const double value = Parser.TokenFloat();
    EXPECT_EQ(value, GetParam().Value);
    EXPECT_EQ(std::signbit(value), std::signbit(GetParam().Value));
}

INSTANTIATE_TEST_SUITE_P(
    Values, TGCodeParserFloatTest,
    ::testing::Values(TFloatCase{"1.5", 1.5}, TFloatCase{"-0.350", -0.35}, TFloatCase{"1E5", 1e5},
                      TFloatCase{"1e-3", 0.001}, TFloatCase{"1E", 1.0}, TFloatCase{"2e+", 2.0},
                      TFloatCase{"7.", 7.0}, TFloatCase{"+007", 7.0}, TFloatCase{"-0", -0.0},
                      TFloatCase{"-0.0", -0.0}, TFloatCase{"12.3456", 12.3456},
                      TFloatCase{"0.1000000000000000055511151231257827", 0.1},
                      TFloatCase{"123456789012345678901234567890", 1.2345678901234568e29},
                      TFloatCase{"9007199254740993", 9007199254740992.0},
                      TFloatCase{"1E400", std::numeric_limits<double>::infinity()},
                      TFloatCase{"-1E400", -std::numeric_limits<double>::infinity()},
                      TFloatCase{"0.00001E-400", 0.0},
                      TFloatCase{"4.9E-324", std::numeric_limits<double>::denorm_min()}));

TEST_F(TGCodeParserTest, TokenFloatAgreesWithCorrectRoundingOnManyValues)
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

TEST_F(TGCodeParserTest, TokenFloatRejectsMalformedNumbersQuotingTheToken)
{
    for (const std::string text : {"1-2", "3.4.5", "-", "+", "1e5e", "X"}) {
        Parser.SetLine(text);
        try {
            Parser.TokenFloat();
            ADD_FAILURE() << "no error for " << text;
        } catch (const EConvertError& e) {
            EXPECT_EQ(e.what(), "'" + text + "' is not a valid floating point value");
        }
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
    const auto comma = Tokens("1,5");
    std::setlocale(LC_ALL, previous.c_str());
    EXPECT_EQ(point, 1.5);
    EXPECT_EQ(comma, (std::vector<TToken>{{P::tkInteger, "1"}, {',', ","}, {P::tkInteger, "5"}}));
}

}  // namespace
