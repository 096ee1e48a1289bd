// The RS274 scanner: tokens, kinds and line states of single lines and of line sequences.
#include "SynHighlighterRS274.h"

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

void PrintTo(const TToken& token, std::ostream* os)
{
    *os << '"' << token.text << "\":" << token.kind;
}

class TSynRC274SynTest : public ::testing::Test
{
protected:
    // Scans one line as the editor does, from the current line state, up to End of line.
    std::vector<TToken> Scan(std::string_view line, int lineIndex = 0)
    {
        std::vector<TToken> tokens;
        syn.StartLine(line, lineIndex);
        while (!syn.AtLineEnd())
        {
            EXPECT_EQ(syn.TokenText(), std::string(line.substr(syn.TokenStart(), syn.TokenText().size())));
            tokens.push_back({syn.TokenText(), syn.TokenKind()});
            syn.NextToken();
        }
        EXPECT_EQ(syn.TokenText(), "");
        EXPECT_EQ(syn.TokenAttribute(), nullptr);
        return tokens;
    }

    TSynRC274Syn syn;
};

TEST_F(TSynRC274SynTest, SampleLineElevenTokenByToken)
{
    const std::vector<TToken> expected = {
        {"G17", tkGeneral}, {" ", tkOther}, {"G3", tkGeneral}, {" ", tkOther},
        {"X", tkAxis}, {" ", tkOther}, {" ", tkOther}, {"2.652558", tkNumber}, {" ", tkOther},
        {"Y", tkAxis}, {" ", tkOther}, {" ", tkOther}, {"3.187273", tkNumber}, {" ", tkOther},
        {"Z", tkAxis}, {" ", tkOther}, {"-0.350000", tkNumber}, {" ", tkOther},
        {"R", tkArc}, {" ", tkOther}, {" ", tkOther}, {"1.245539", tkNumber},
    };
    EXPECT_EQ(Scan("G17 G3 X  2.652558 Y  3.187273 Z -0.350000 R  1.245539", 10), expected);
    EXPECT_EQ(syn.LineState(), rsPlain);
}

TEST_F(TSynRC274SynTest, TokenStartsFollowEachOtherWithoutGaps)
{
    const std::string line = "G1\tX-1.5(cut) \"s\" /*c*/ N10 \xC3\xA9 _";
    syn.StartLine(line, 0);
    int expectedStart = 0;
    while (!syn.AtLineEnd())
    {
        EXPECT_EQ(syn.TokenStart(), expectedStart);
        expectedStart += static_cast<int>(syn.TokenText().size());
        syn.NextToken();
    }
    EXPECT_EQ(expectedStart, static_cast<int>(line.size()));
    EXPECT_EQ(syn.TokenStart(), expectedStart);
}

struct TLineCase
{
    std::string line;
    std::vector<TToken> tokens;
    TLineState endState = rsPlain;
};

void PrintTo(const TLineCase& c, std::ostream* os)
{
    *os << '"' << c.line << '"';
}

class TSingleLineTest : public TSynRC274SynTest, public ::testing::WithParamInterface<TLineCase>
{
};

TEST_P(TSingleLineTest, ScansFromPlainState)
{
    const TLineCase& c = GetParam();
    EXPECT_EQ(Scan(c.line), c.tokens);
    EXPECT_EQ(syn.LineState(), c.endState);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, TSingleLineTest,
    ::testing::Values(
        TLineCase{"M3 S8000", {{"M3", tkMisc}, {" ", tkOther}, {"S", tkSpeed}, {"8000", tkNumber}}},
        TLineCase{"F 100", {{"F", tkSpeed}, {" ", tkOther}, {"100", tkNumber}}},
        TLineCase{"%", {{"%", tkOther}}},
        TLineCase{"U", {{"U", tkOther}}},
        TLineCase{"u", {{"u", tkOther}}},
        TLineCase{"/", {{"/", tkIdentifier}}},
        TLineCase{"/X", {{"/", tkIdentifier}, {"X", tkAxis}}},
        TLineCase{"N10 G1", {{"N10", tkIdentifier}, {" ", tkOther}, {"G1", tkGeneral}}},
        TLineCase{"T1", {{"T1", tkIdentifier}}},
        TLineCase{"DX", {{"DX", tkIdentifier}}},
        TLineCase{"N.", {{"N.", tkIdentifier}}},
        TLineCase{"O100", {{"O100", tkIdentifier}}},
        TLineCase{"E", {{"E", tkIdentifier}}},
        TLineCase{"G", {{"G", tkGeneral}}},
        TLineCase{"G1.5", {{"G1.5", tkGeneral}}},
        TLineCase{"G01", {{"G01", tkGeneral}}},
        TLineCase{"+", {{"+", tkNumber}}},
        TLineCase{"-", {{"-", tkNumber}}},
        TLineCase{"-.5", {{"-.5", tkNumber}}},
        TLineCase{"1e5", {{"1", tkNumber}, {"e5", tkIdentifier}}},
        TLineCase{"1.2.3", {{"1.2.3", tkNumber}}},
        TLineCase{"(File: model1.skp)", {{"(File: model1.skp)", tkComment}}},
        TLineCase{"(a (b) c)",
                  {{"(a (b)", tkComment}, {" ", tkOther}, {"c", tkAxis}, {")", tkOther}}},
        TLineCase{"(abc", {{"(abc", tkComment}}},
        TLineCase{"(", {{"(", tkComment}}},
        TLineCase{"\"abc\"", {{"\"abc\"", tkString}}},
        TLineCase{"\"abc", {{"\"abc", tkString}}},
        TLineCase{"\"\"", {{"\"\"", tkString}}},
        TLineCase{"/*/", {{"/*/", tkComment}}},
        TLineCase{"/**/G1", {{"/**/", tkComment}, {"G1", tkGeneral}}},
        TLineCase{"/* a", {{"/* a", tkComment}}, rsBlockComment},
        TLineCase{"/*", {{"/*", tkComment}}, rsBlockComment},
        TLineCase{"_", {{"_", tkIdentifier}}},
        TLineCase{"a_b", {{"a", tkAxis}, {"_", tkIdentifier}, {"b", tkAxis}}},
        TLineCase{"\tX", {{"\t", tkOther}, {"X", tkAxis}}},
        TLineCase{"i j k r", {{"i", tkArc}, {" ", tkOther}, {"j", tkArc}, {" ", tkOther},
                              {"k", tkArc}, {" ", tkOther}, {"r", tkArc}}},
        TLineCase{"m30", {{"m30", tkMisc}}},
        TLineCase{"", {}}));

struct TKeywordCase
{
    std::string run;
    int kind;
};

void PrintTo(const TKeywordCase& c, std::ostream* os)
{
    *os << '"' << c.run << '"';
}

class TKeywordTest : public TSynRC274SynTest, public ::testing::WithParamInterface<TKeywordCase>
{
};

TEST_P(TKeywordTest, WholeRunIsOneTokenOfTheExpectedKind)
{
    const TKeywordCase& c = GetParam();
    EXPECT_EQ(Scan(c.run), (std::vector<TToken>{{c.run, c.kind}}));
}

// The single letters D, N, P, Q and T are keywords in either case. Longer runs whose hash lands
// on a keyword entry (HF and HH sum to the hashes of N and P) and the other identifier letters
// are not.
INSTANTIATE_TEST_SUITE_P(
    Runs, TKeywordTest,
    ::testing::Values(TKeywordCase{"D", tkKey}, TKeywordCase{"d", tkKey}, TKeywordCase{"N", tkKey},
                      TKeywordCase{"n", tkKey}, TKeywordCase{"P", tkKey}, TKeywordCase{"p", tkKey},
                      TKeywordCase{"Q", tkKey}, TKeywordCase{"q", tkKey}, TKeywordCase{"T", tkKey},
                      TKeywordCase{"t", tkKey}, TKeywordCase{"DD", tkIdentifier},
                      TKeywordCase{"N1", tkIdentifier}, TKeywordCase{"Pp", tkIdentifier},
                      TKeywordCase{"Q.", tkIdentifier}, TKeywordCase{"T0", tkIdentifier},
                      TKeywordCase{"HF", tkIdentifier}, TKeywordCase{"HH", tkIdentifier},
                      TKeywordCase{"H", tkIdentifier}, TKeywordCase{"L", tkIdentifier},
                      TKeywordCase{"O", tkIdentifier}, TKeywordCase{"V", tkIdentifier},
                      TKeywordCase{"w", tkIdentifier}, TKeywordCase{"nN", tkIdentifier}));

TEST_F(TSynRC274SynTest, KeywordsAreDrawnWithTheReservedWordAttribute)
{
    syn.StartLine("N", 0);
    ASSERT_EQ(syn.TokenKind(), tkKey);
    EXPECT_EQ(syn.TokenAttribute(), &syn.KeyAttri);
    EXPECT_EQ(syn.TokenAttribute()->Name(), "Reserved Word");
}

TEST_F(TSynRC274SynTest, VeryLongIdentifierRunIsOneToken)
{
    const std::string run = "W" + std::string(200000, 'z');
    EXPECT_EQ(Scan(run), (std::vector<TToken>{{run, tkIdentifier}}));
}

TEST_F(TSynRC274SynTest, TokenAttributeFollowsTheKind)
{
    const std::vector<std::pair<std::string, TTokenAttribute*>> cases = {
        {"R", &syn.ArcAttri},        {"X", &syn.AxisAttri},     {"(c)", &syn.CommentAttri},
        {"G0", &syn.GeneralAttri},   {"E", &syn.IdentifierAttri}, {"T", &syn.KeyAttri},
        {"M3", &syn.MiscAttri},      {"1", &syn.NumberAttri},   {"F", &syn.SpeedAttri},
        {"\"s\"", &syn.StringAttri}, {"%", &syn.IdentifierAttri},
    };
    for (const auto& [line, attribute] : cases)
    {
        syn.StartLine(line, 0);
        EXPECT_EQ(syn.TokenAttribute(), attribute) << line;
    }
}

TEST_F(TSynRC274SynTest, BlockCommentSpansLinesAndEmptyLines)
{
    EXPECT_EQ(Scan("/* a"), (std::vector<TToken>{{"/* a", tkComment}}));
    EXPECT_EQ(syn.LineState(), rsBlockComment);
    EXPECT_EQ(Scan(""), std::vector<TToken>{});
    EXPECT_EQ(syn.LineState(), rsBlockComment);
    EXPECT_EQ(Scan("b */ G1"),
              (std::vector<TToken>{{"b */", tkComment}, {" ", tkOther}, {"G1", tkGeneral}}));
    EXPECT_EQ(syn.LineState(), rsPlain);
}

TEST_F(TSynRC274SynTest, LineWithoutCloserStaysInBlockComment)
{
    syn.SetLineState(rsBlockComment);
    EXPECT_EQ(Scan("G1 X1 (no end here"), (std::vector<TToken>{{"G1 X1 (no end here", tkComment}}));
    EXPECT_EQ(syn.LineState(), rsBlockComment);
}

TEST_F(TSynRC274SynTest, EmptyLineKeepsOnlyTheBlockCommentState)
{
    for (const TLineState before : {rsPlain, rsParenComment, rsBlockComment, rsString})
    {
        syn.SetLineState(before);
        EXPECT_EQ(Scan(""), std::vector<TToken>{});
        EXPECT_EQ(syn.LineState(), before == rsBlockComment ? rsBlockComment : rsPlain) << before;
    }
}

TEST_F(TSynRC274SynTest, OpenCommentOrStringDoesNotReachTheNextLine)
{
    Scan("(abc");
    EXPECT_EQ(syn.LineState(), rsPlain);
    EXPECT_EQ(Scan("X1"), (std::vector<TToken>{{"X", tkAxis}, {"1", tkNumber}}));
    Scan("\"abc");
    EXPECT_EQ(syn.LineState(), rsPlain);
}

TEST_F(TSynRC274SynTest, OnlyTheLowByteOfALineStateCounts)
{
    syn.SetLineState(0x100 | rsBlockComment);
    EXPECT_EQ(syn.LineState(), rsBlockComment);
    EXPECT_EQ(Scan("x"), (std::vector<TToken>{{"x", tkComment}}));
    syn.SetLineState(rsBlockComment);
    syn.ResetLineState();
    EXPECT_EQ(Scan("x"), (std::vector<TToken>{{"x", tkAxis}}));
}

TEST_F(TSynRC274SynTest, LineBreakBytesInsideALineAreOtherTokens)
{
    EXPECT_EQ(Scan("X\r\nY"), (std::vector<TToken>{{"X", tkAxis}, {"\r\n", tkOther}, {"Y", tkAxis}}));
    EXPECT_EQ(Scan("\n"), (std::vector<TToken>{{"\n", tkOther}}));
    EXPECT_EQ(Scan("\r\r"), (std::vector<TToken>{{"\r", tkOther}, {"\r", tkOther}}));
    // In a block comment they end the comment token but keep the state.
    syn.SetLineState(rsBlockComment);
    EXPECT_EQ(Scan("a\r\nb"),
              (std::vector<TToken>{{"a", tkComment}, {"\r\n", tkOther}, {"b", tkComment}}));
    EXPECT_EQ(syn.LineState(), rsBlockComment);
    // A comment opened by "(" ends at the break byte.
    syn.ResetLineState();
    EXPECT_EQ(Scan("(a\nb)"),
              (std::vector<TToken>{{"(a", tkComment}, {"\n", tkOther}, {"b", tkAxis}, {")", tkOther}}));
}

TEST_F(TSynRC274SynTest, NulByteEndsTheLine)
{
    EXPECT_EQ(Scan(std::string_view("G1\0X2", 5)), (std::vector<TToken>{{"G1", tkGeneral}}));
    syn.SetLineState(rsBlockComment);
    EXPECT_EQ(Scan(std::string_view("ab\0*/", 5)), (std::vector<TToken>{{"ab", tkComment}}));
    EXPECT_EQ(syn.LineState(), rsBlockComment);
}

TEST_F(TSynRC274SynTest, Utf8SequenceIsOneOtherTokenAndNeverPassesTheLineEnd)
{
    EXPECT_EQ(Scan("\xC3\xA9X"), (std::vector<TToken>{{"\xC3\xA9", tkOther}, {"X", tkAxis}}));
    EXPECT_EQ(Scan("\xE2\x82\xAC"), (std::vector<TToken>{{"\xE2\x82\xAC", tkOther}}));
    EXPECT_EQ(Scan("\xF0\x9F\x94\xA7"), (std::vector<TToken>{{"\xF0\x9F\x94\xA7", tkOther}}));
    // Lead bytes at the end of the line, or cut short by a byte that does not continue them.
    EXPECT_EQ(Scan("X\xC3"), (std::vector<TToken>{{"X", tkAxis}, {"\xC3", tkOther}}));
    EXPECT_EQ(Scan("\xE2\x82"), (std::vector<TToken>{{"\xE2\x82", tkOther}}));
    EXPECT_EQ(Scan("\xF0\x9F"), (std::vector<TToken>{{"\xF0\x9F", tkOther}}));
    EXPECT_EQ(Scan("\xE2X"), (std::vector<TToken>{{"\xE2", tkOther}, {"X", tkAxis}}));
    // A stray continuation byte stands alone.
    EXPECT_EQ(Scan("\xA9\xA9"), (std::vector<TToken>{{"\xA9", tkOther}, {"\xA9", tkOther}}));
}

TEST_F(TSynRC274SynTest, ShorterLineAfterLongerOneLeavesNothingBehind)
{
    Scan("G1 X10 Y20 (a long comment that ends the line)");
    EXPECT_EQ(Scan("G1"), (std::vector<TToken>{{"G1", tkGeneral}}));
    EXPECT_EQ(Scan("G1"), (std::vector<TToken>{{"G1", tkGeneral}}));
}

TEST_F(TSynRC274SynTest, EndOfLineRepeats)
{
    syn.StartLine("X", 0);
    syn.NextToken();
    ASSERT_TRUE(syn.AtLineEnd());
    syn.NextToken();
    EXPECT_TRUE(syn.AtLineEnd());
    EXPECT_EQ(syn.TokenKind(), tkEndOfLine);
    EXPECT_EQ(syn.TokenStart(), 1);
}

TEST_F(TSynRC274SynTest, SampleTextIsTwelveLinesJoinedByCrLf)
{
    const std::string sample = syn.SampleText();
    EXPECT_EQ(sample.size(), 245u);
    EXPECT_EQ(sample.substr(0, 3), "%\r\n");
    EXPECT_NE(sample.find("\r\nG0 Z   0.050\r\n X  1.220489 Y  0.700108\r\n"), std::string::npos);
    EXPECT_EQ(sample.substr(sample.size() - 31), "(Group complete: bottom number)");
    std::size_t lines = 1;
    for (std::size_t at = sample.find("\r\n"); at != std::string::npos; at = sample.find("\r\n", at + 2))
        ++lines;
    EXPECT_EQ(lines, 12u);
}

TEST_F(TSynRC274SynTest, SampleLinesAllEndPlain)
{
    const std::string sample = syn.SampleText();
    std::size_t begin = 0;
    int index = 0;
    while (begin <= sample.size())
    {
        const std::size_t end = std::min(sample.find("\r\n", begin), sample.size());
        EXPECT_FALSE(Scan(std::string_view(sample).substr(begin, end - begin), index).empty());
        EXPECT_EQ(syn.LineState(), rsPlain);
        begin = end + 2;
        ++index;
    }
    EXPECT_EQ(index, 12);
}

} // namespace
