#include "machine/MessageComment.h"

#include <gtest/gtest.h>

#include "machine/Parameters.h"

namespace {

struct TCommentCase
{
    const char* Comment;  // between the parentheses
    TMessageKind Kind;
    const char* Text;  // what rs274 showed or printed
};

class TMessageCommentTest : public testing::TestWithParam<TCommentCase>
{
protected:
    TMessageCommentTest()
    {
        FParameters.SetNumbered(1, 5);
        FParameters.SetNumbered(2, 2);
        FParameters.SetNamed("abc", 7.25);
    }

    TParameters FParameters;
};

TEST_P(TMessageCommentTest, ReadsKindAndTextAsLinuxCnc)
{
    const TCommentCase& c = GetParam();
    const std::optional<TMessageComment> message = ReadMessageComment(c.Comment, FParameters);
    ASSERT_TRUE(message.has_value()) << c.Comment;
    EXPECT_EQ(message->Kind, c.Kind);
    EXPECT_EQ(message->Text, c.Text);
}

INSTANTIATE_TEST_SUITE_P(
    Comments, TMessageCommentTest,
    testing::Values(
        TCommentCase{" MSG, hi", TMessageKind::Message, " hi"},
        TCommentCase{"Msg,hi #1", TMessageKind::Message, "hi #1"},
        TCommentCase{"debug, a #1 b [#1] c #<abc> d #<nosuch> e ##2 f #1x h #0 i #31 j#",
                     TMessageKind::Debug,
                     " a 5.000000 b [5.000000] c 7.250000 d ###### e #2.000000 f 5.000000x h "
                     "0.000000 i 0.000000 j"},
        TCommentCase{"debug,#<ab c>|#<ABC>|#-1|#1.5|#5602|#01", TMessageKind::Debug,
                     "7.250000|7.250000|#-1|5.000000.5|######|5.000000"},
        TCommentCase{"DEBUG, upper CASE #2", TMessageKind::Debug, " upper CASE 2.000000"},
        TCommentCase{"print, p#<_vmajor>#2", TMessageKind::Print, " p2.9000002.000000"},
        TCommentCase{"abort,stop #1 here", TMessageKind::Abort, "stop 5.000000 here"}));

TEST(TMessageCommentTest, OrdinaryCommentsAndSilencedDebugSayNothing)
{
    TParameters parameters;
    for (const char* comment : {"comment here", "msg ,hi", "debug hi", "", "message,x"})
        EXPECT_FALSE(ReadMessageComment(comment, parameters).has_value()) << comment;
    parameters.SetNumbered(TParameters::kDebugOutput, 0);
    EXPECT_FALSE(ReadMessageComment("debug,x", parameters).has_value());
    EXPECT_TRUE(ReadMessageComment("print,x", parameters).has_value());
}

}  // namespace
