// The RS274 scanner: tokens, kinds and line states of single lines and of line sequences.
#include "highlight/SynHighlighterRS274.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

namespace {

struct TToken
{
    std::string text;
    int kind;
    bool operator==(const TToken&) const = default;
};
using TTokens = std::vector<TToken>;

void PrintTo(const TToken& token, std::ostream* os)
{
    *os << '"' << token.text << "\":" << token.kind;
}

class TSynRC274SynTest : public ::testing::Test
{
protected:
    // Scans one line as the editor does, from the current line state, up to End of line, and
    // checks that the tokens cover the line without gaps.
    TTokens Scan(std::string_view line)
    {
        TTokens tokens;
        syn.StartLine(line, 0);
        std::size_t covered = 0;
        while (!syn.AtLineEnd()) {
            EXPECT_EQ(syn.TokenStart(), static_cast<int>(covered));
            tokens.push_back({syn.TokenText(), syn.TokenKind()});
            covered += tokens.back().text.size();
            syn.NextToken();
        }
        EXPECT_EQ(syn.TokenStart(), static_cast<int>(covered));
        EXPECT_EQ(syn.TokenText(), "");
        EXPECT_EQ(syn.TokenAttribute(), nullptr);
        syn.NextToken();
        EXPECT_TRUE(syn.AtLineEnd());  // End of line repeats
        return tokens;
    }

    TSynRC274Syn syn;
};

TEST_F(TSynRC274SynTest, SampleLineElevenTokenByToken)
{
    const TTokens expected = {
        {"G17", tkGeneral},      {" ", tkOther},         {"G3", tkGeneral}, {" ", tkOther},
        {"X", tkAxis},           {" ", tkOther},         {" ", tkOther},    {"2.652558", tkNumber},
        {" ", tkOther},          {"Y", tkAxis},          {" ", tkOther},    {" ", tkOther},
        {"3.187273", tkNumber},  {" ", tkOther},         {"Z", tkAxis},     {" ", tkOther},
        {"-0.350000", tkNumber}, {" ", tkOther},         {"R", tkArc},      {" ", tkOther},
        {" ", tkOther},          {"1.245539", tkNumber},
    };
    EXPECT_EQ(Scan("G17 G3 X  2.652558 Y  3.187273 Z -0.350000 R  1.245539"), expected);
    EXPECT_EQ(syn.LineState(), rsPlain);
}

struct TLineCase
{
    std::string line;
    TTokens tokens;
    TLineState endState = rsPlain;
};

void PrintTo(const TLineCase& c, std::ostream* os)
{
    *os << '"' << c.line << '"';
}

class TSingleLineTest : public TSynRC274SynTest, public ::testing::WithParamInterface<TLineCase>
{};

TEST_P(TSingleLineTest, ScansFromPlainState)
{
    EXPECT_EQ(Scan(GetParam().line), GetParam().tokens);
    EXPECT_EQ(syn.LineState(), GetParam().endState);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, TSingleLineTest,
    ::testing::Values(
        TLineCase{"M3 S8000", {{"M3", tkMisc}, {" ", tkOther}, {"S", tkSpeed}, {"8000", tkNumber}}},
        TLineCase{"F 100", {{"F", tkSpeed}, {" ", tkOther}, {"100", tkNumber}}},
        TLineCase{"%", {{"%", tkOther}}}, TLineCase{"U", {{"U", tkOther}}},
        TLineCase{"u", {{"u", tkOther}}}, TLineCase{"/", {{"/", tkIdentifier}}},
        TLineCase{"/X", {{"/", tkIdentifier}, {"X", tkAxis}}},
        TLineCase{"N10 G1", {{"N10", tkIdentifier}, {" ", tkOther}, {"G1", tkGeneral}}},
        TLineCase{"G", {{"G", tkGeneral}}}, TLineCase{"G1.5", {{"G1.5", tkGeneral}}},
        TLineCase{"G01", {{"G01", tkGeneral}}}, TLineCase{"m30", {{"m30", tkMisc}}},
        TLineCase{"+", {{"+", tkNumber}}}, TLineCase{"-", {{"-", tkNumber}}},
        TLineCase{"-.5", {{"-.5", tkNumber}}}, TLineCase{"1.2.3", {{"1.2.3", tkNumber}}},
        TLineCase{"1e5", {{"1", tkNumber}, {"e5", tkIdentifier}}},
        TLineCase{"i j", {{"i", tkArc}, {" ", tkOther}, {"j", tkArc}}},
        TLineCase{"\tX", {{"\t", tkOther}, {"X", tkAxis}}},
        TLineCase{"(File: model1.skp)", {{"(File: model1.skp)", tkComment}}},
        TLineCase{"(a (b) c)",
                  {{"(a (b)", tkComment}, {" ", tkOther}, {"c", tkAxis}, {")", tkOther}}},
        TLineCase{"(abc", {{"(abc", tkComment}}}, TLineCase{"(", {{"(", tkComment}}},
        TLineCase{"\"abc\"", {{"\"abc\"", tkString}}}, TLineCase{"\"abc", {{"\"abc", tkString}}},
        TLineCase{"\"\"", {{"\"\"", tkString}}}, TLineCase{"/*/", {{"/*/", tkComment}}},
        TLineCase{"/**/G1", {{"/**/", tkComment}, {"G1", tkGeneral}}},
        TLineCase{"/* a", {{"/* a", tkComment}}, rsBlockComment},
        TLineCase{"_", {{"_", tkIdentifier}}},
        TLineCase{"a_b", {{"a", tkAxis}, {"_", tkIdentifier}, {"b", tkAxis}}}, TLineCase{"", {}},
        // Line-break bytes inside a line text; a parenthesised comment ends at one.
        TLineCase{"X\r\nY", {{"X", tkAxis}, {"\r\n", tkOther}, {"Y", tkAxis}}},
        TLineCase{"\n\r\r", {{"\n", tkOther}, {"\r", tkOther}, {"\r", tkOther}}},
        TLineCase{"(a\nb)", {{"(a", tkComment}, {"\n", tkOther}, {"b", tkAxis}, {")", tkOther}}},
        // A NUL ends the line for the scanner.
        TLineCase{std::string("G1\0X2", 5), {{"G1", tkGeneral}}},
        // A UTF-8 sequence is one token, cut short by a byte that does not continue it and never
        // reaching past the line end; a stray continuation byte stands alone.
        TLineCase{"\xC3\xA9X", {{"\xC3\xA9", tkOther}, {"X", tkAxis}}},
        TLineCase{"\xF0\x9F\x94\xA7", {{"\xF0\x9F\x94\xA7", tkOther}}},
        TLineCase{"X\xC3", {{"X", tkAxis}, {"\xC3", tkOther}}},
        TLineCase{"\xE2\x82", {{"\xE2\x82", tkOther}}},
        TLineCase{"\xE2X", {{"\xE2", tkOther}, {"X", tkAxis}}},
        TLineCase{"\xA9\xA9", {{"\xA9", tkOther}, {"\xA9", tkOther}}}));

class TKeywordTest : public TSynRC274SynTest, public ::testing::WithParamInterface<TToken>
{};

TEST_P(TKeywordTest, WholeRunIsOneTokenOfTheExpectedKind)
{
    EXPECT_EQ(Scan(GetParam().text), TTokens{GetParam()});
}

// D, N, P, Q and T standing alone are keywords in either case. Longer runs whose hash lands on a
// keyword's entry (HF and HH sum to the hashes of N and P) and the other identifier letters are
// not.
INSTANTIATE_TEST_SUITE_P(Runs, TKeywordTest,
                         ::testing::Values(TToken{"D", tkKey}, TToken{"d", tkKey},
                                           TToken{"N", tkKey}, TToken{"n", tkKey},
                                           TToken{"P", tkKey}, TToken{"p", tkKey},
                                           TToken{"Q", tkKey}, TToken{"q", tkKey},
                                           TToken{"T", tkKey}, TToken{"t", tkKey},
                                           TToken{"DD", tkIdentifier}, TToken{"N1", tkIdentifier},
                                           TToken{"N.", tkIdentifier}, TToken{"Q.", tkIdentifier},
                                           TToken{"T1", tkIdentifier}, TToken{"DX", tkIdentifier},
                                           TToken{"O100", tkIdentifier}, TToken{"HF", tkIdentifier},
                                           TToken{"HH", tkIdentifier}, TToken{"E", tkIdentifier},
                                           TToken{"w", tkIdentifier},
                                           TToken{"W" + std::string(200000, 'z'), tkIdentifier}));

TEST_F(TSynRC274SynTest, TokenAttributeFollowsTheKind)
{
    const std::vector<std::pair<std::string, TTokenAttribute*>> cases = {
        {"R", &syn.ArcAttri},        {"X", &syn.AxisAttri},       {"(c)", &syn.CommentAttri},
        {"G0", &syn.GeneralAttri},   {"E", &syn.IdentifierAttri}, {"T", &syn.KeyAttri},
        {"M3", &syn.MiscAttri},      {"1", &syn.NumberAttri},     {"F", &syn.SpeedAttri},
        {"\"s\"", &syn.StringAttri}, {"%", &syn.IdentifierAttri},
    };
    for (const auto& [line, attribute] : cases) {
        syn.StartLine(line, 0);
        EXPECT_EQ(syn.TokenAttribute(), attribute) << line;
    }
}

TEST_F(TSynRC274SynTest, OnlyTheBlockCommentSurvivesTheLineEnd)
{
    EXPECT_EQ(Scan("/* a"), (TTokens{{"/* a", tkComment}}));
    EXPECT_EQ(Scan(""), TTokens{});
    EXPECT_EQ(syn.LineState(), rsBlockComment);
    EXPECT_EQ(Scan("G1 (x"), (TTokens{{"G1 (x", tkComment}}));
    EXPECT_EQ(Scan("a\r\nb"), (TTokens{{"a", tkComment}, {"\r\n", tkOther}, {"b", tkComment}}));
    EXPECT_EQ(Scan(std::string_view("ab\0*/", 5)), (TTokens{{"ab", tkComment}}));
    EXPECT_EQ(syn.LineState(), rsBlockComment);
    EXPECT_EQ(Scan("b */ G1"), (TTokens{{"b */", tkComment}, {" ", tkOther}, {"G1", tkGeneral}}));
    EXPECT_EQ(syn.LineState(), rsPlain);

    // An empty line keeps state 2 and ends every other state.
    for (const TLineState before : {rsPlain, rsParenComment, rsBlockComment, rsString}) {
        syn.SetLineState(before);
        Scan("");
        EXPECT_EQ(syn.LineState(), before == rsBlockComment ? rsBlockComment : rsPlain) << before;
    }
    // Only the low byte of a state counts; a reset ends the comment.
    syn.SetLineState(0x100 | rsBlockComment);
    EXPECT_EQ(Scan("x"), (TTokens{{"x", tkComment}}));
    syn.ResetLineState();
    EXPECT_EQ(Scan("x"), (TTokens{{"x", tkAxis}}));
}

struct TKeepsCase
{
    std::string lines;  // joined with CR LF
    bool keeps;
};

void PrintTo(const TKeepsCase& c, std::ostream* os)
{
    *os << '"' << c.lines << '"';
}

class TKeepsStartStateTest : public TSynRC274SynTest,
                             public ::testing::WithParamInterface<TKeepsCase>
{};

TEST_P(TKeepsStartStateTest, AnswersOnlyWhatAScanConfirms)
{
    const std::string& lines = GetParam().lines;
    EXPECT_EQ(syn.KeepsStartState(lines), GetParam().keeps);
    if (!GetParam().keeps)
        return;
    // A yes must hold: scanned from the start, every line ends in the start state.
    syn.ResetLineState();
    const TLineState start = syn.LineState();
    for (std::size_t begin = 0; begin <= lines.size();) {
        const std::size_t end = std::min(lines.find("\r\n", begin), lines.size());
        Scan(std::string_view(lines).substr(begin, end - begin));
        EXPECT_EQ(syn.LineState(), start) << lines.substr(begin, end - begin);
        begin = end + 2;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Texts, TKeepsStartStateTest,
    ::testing::Values(TKeepsCase{"", true}, TKeepsCase{"G1 X1 Y2\r\nG2 X3 Y2 I1 J0\r\n(end)", true},
                      TKeepsCase{"/G0 X1\r\n/M5", true}, TKeepsCase{"#1=[4/2]\r\nX1/", true},
                      TKeepsCase{"*/ G1\r\n*", true}, TKeepsCase{"X1 /\r\n*Y2", true},
                      TKeepsCase{"G1\r\n/* open\r\nX2", false},
                      TKeepsCase{"/*/ closed at once", false}, TKeepsCase{"/**/", false},
                      // A slash in a comment or string opens nothing, but the cheap check
                      // does not read that far: it says no.
                      TKeepsCase{"(a /* b)", false}, TKeepsCase{"\"/*\"", false},
                      TKeepsCase{"X1\r\nY2 /*", false}));

TEST_F(TSynRC274SynTest, SampleTextIsTwelveLinesThatEachEndPlain)
{
    const std::string sample = syn.SampleText();
    EXPECT_EQ(sample.size(), 245u);
    EXPECT_EQ(sample.substr(0, 3), "%\r\n");
    EXPECT_NE(sample.find("\r\nG0 Z   0.050\r\n X  1.220489 Y  0.700108\r\n"), std::string::npos);
    EXPECT_EQ(sample.substr(sample.size() - 31), "(Group complete: bottom number)");
    int lines = 0;
    for (std::size_t begin = 0; begin <= sample.size(); ++lines) {
        const std::size_t end = std::min(sample.find("\r\n", begin), sample.size());
        EXPECT_FALSE(Scan(std::string_view(sample).substr(begin, end - begin)).empty());
        EXPECT_EQ(syn.LineState(), rsPlain);
        begin = end + 2;
    }
    EXPECT_EQ(lines, 12);
}

}  // namespace
