#include "machine/OWord.h"

#include <gtest/gtest.h>

#include "machine/MachineError.h"
#include "machine/Parameters.h"

namespace {

struct TParseCase
{
    const char* Block;
    TOWordKind Kind;
    const char* Label;
    bool HasValue;
    std::size_t Arguments;
};

class TOWordParseTest : public testing::TestWithParam<TParseCase>
{};

TEST_P(TOWordParseTest, ReadsKindLabelAndValues)
{
    const TParseCase& c = GetParam();
    const TOWord word = ParseOWord(c.Block);
    EXPECT_EQ(word.Kind, c.Kind);
    EXPECT_EQ(word.Label, c.Label);
    EXPECT_EQ(word.Value.has_value(), c.HasValue);
    EXPECT_EQ(word.Arguments.size(), c.Arguments);
}

INSTANTIATE_TEST_SUITE_P(
    Blocks, TOWordParseTest,
    testing::Values(TParseCase{"o100sub", TOWordKind::Sub, "100", false, 0},
                    TParseCase{"o0100endsub", TOWordKind::EndSub, "100", false, 0},
                    TParseCase{"o100endsub[3*4]", TOWordKind::EndSub, "100", true, 0},
                    TParseCase{"o<my_sub>call[1][#2][sin[30]]", TOWordKind::Call, "my_sub", false,
                               3},
                    TParseCase{"o<a>call", TOWordKind::Call, "a", false, 0},
                    TParseCase{"o1return", TOWordKind::Return, "1", false, 0},
                    TParseCase{"o1return[#2*5]", TOWordKind::Return, "1", true, 0},
                    TParseCase{"o2do", TOWordKind::Do, "2", false, 0},
                    TParseCase{"o2while[#1lt3]", TOWordKind::While, "2", true, 0},
                    TParseCase{"o2endwhile", TOWordKind::EndWhile, "2", false, 0},
                    TParseCase{"o3if[1]", TOWordKind::If, "3", true, 0},
                    TParseCase{"o3elseif[0]", TOWordKind::ElseIf, "3", true, 0},
                    TParseCase{"o3else", TOWordKind::Else, "3", false, 0},
                    TParseCase{"o3else[1]", TOWordKind::Else, "3", false, 0},
                    TParseCase{"o3endif", TOWordKind::EndIf, "3", false, 0},
                    TParseCase{"o4break", TOWordKind::Break, "4", false, 0},
                    TParseCase{"o4continue", TOWordKind::Continue, "4", false, 0},
                    TParseCase{"o5repeat[5]", TOWordKind::Repeat, "5", true, 0},
                    TParseCase{"o5endrepeat", TOWordKind::EndRepeat, "5", false, 0},
                    TParseCase{"o-1sub", TOWordKind::Sub, "-1", false, 0},
                    TParseCase{"o100", TOWordKind::Program, "100", false, 0}));

struct TParseErrorCase
{
    const char* Block;
    const char* Message;  // as LinuxCNC's rs274 words it
};

class TOWordErrorTest : public testing::TestWithParam<TParseErrorCase>
{};

TEST_P(TOWordErrorTest, RefusesWithLinuxCncMessage)
{
    try {
        ParseOWord(GetParam().Block);
        ADD_FAILURE() << GetParam().Block;
    } catch (const EMachineError& error) {
        EXPECT_STREQ(error.what(), GetParam().Message);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Blocks, TOWordErrorTest,
    testing::Values(TParseErrorCase{"o1frob", "Unknown control command in o word"},
                    TParseErrorCase{"o1if", "Left bracket missing after 'if'"},
                    TParseErrorCase{"o1if1", "Left bracket missing after 'if'"},
                    TParseErrorCase{"o1elseif", "Left bracket missing after 'elseif'"},
                    TParseErrorCase{"o1while", "Left bracket missing after 'while'"},
                    TParseErrorCase{"o1repeat", "Left bracket missing after 'repeat'"},
                    TParseErrorCase{"o1subg0x1", "Unexpected character after O-word"},
                    TParseErrorCase{"o1if[1]g0x5", "Unexpected character after O-word"},
                    TParseErrorCase{"o1call5", "Unexpected character after O-word"},
                    TParseErrorCase{"o1do[1]", "Unexpected character after O-word"},
                    TParseErrorCase{"o1endsub[1][2]", "Unexpected character after O-word"},
                    TParseErrorCase{"o1.5sub", "Non integer value for integer"},
                    TParseErrorCase{"osub", "Unknown word starting with s"},
                    TParseErrorCase{"o<asub", "Named O-word not terminated"}));

TEST(TOWordTest, CallTakesThirtyArgumentsAtMost)
{
    std::string block = "o1call";
    for (int i = 1; i <= TOWord::kMaxArguments; ++i)
        block += "[" + std::to_string(i) + "]";
    const TOWord word = ParseOWord(block);
    ASSERT_EQ(word.Arguments.size(), 30u);
    EXPECT_EQ(word.Arguments.back().Constant(), 30);
    try {
        ParseOWord(block + "[31]");
        ADD_FAILURE();
    } catch (const EMachineError& error) {
        EXPECT_STREQ(error.what(), "Too many subroutine parameters");
    }
}

TEST(TOWordTest, IndirectLabelIsComputedWhenTheBlockRuns)
{
    const TOWord word = ParseOWord("o[#101+2]call");
    EXPECT_TRUE(word.Label.empty());
    TParameters parameters;
    parameters.SetNumbered(101, 98);
    EXPECT_EQ(word.LabelNow(parameters), "100");
    parameters.SetNumbered(101, 0.5);
    EXPECT_THROW(word.LabelNow(parameters), EMachineError);
}

TEST(TOWordTest, RepeatCountRoundsHalfToEvenLikeLinuxCnc)
{
    // counts measured with rs274
    const std::pair<double, int> cases[] = {{0.5, 0}, {1.5, 2}, {2.49, 2}, {2.5, 2},
                                            {2.7, 3}, {3.5, 4}, {-1, 0},   {0, 0}};
    for (const auto& [count, runs] : cases)
        EXPECT_EQ(RepeatCount(count), runs) << count;
}

}  // namespace
