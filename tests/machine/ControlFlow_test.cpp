// The machine reader's control flow where golden motions from rs274 cannot show it: errors and
// limits, cancelling, call lines, messages, notices, and the sound counts where rs274 errs.

#include "machine/ControlFlow.h"

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <unistd.h>

#include "gcode/LineList.h"
#include "machine/MachineReader.h"
#include "tests/machine/ReadProgram.h"

namespace {

std::vector<double> Xs(const TReadResult& result)
{
    std::vector<double> xs;
    for (const TMotion& motion : result.Reading.Motions.Motions)
        xs.push_back(motion.End[0]);
    return xs;
}

TEST(TControlFlowTest, EndlessLoopStopsAtTheLoopLimitOnItsLine)
{
    const TReadResult result = Read({"G0 X1", "o100 while [1]", "o100 endwhile", "M2"});
    EXPECT_EQ(result.Error, "Loops ran more than 100000000 times: the program does not end on "
                            "line 2");
    EXPECT_EQ(result.Reading.Motions.Motions.size(), 1u);
}

TEST(TControlFlowTest, CancelStopsAnEndlessLoop)
{
    const TLineList lines(std::vector<std::string>{"o1 do", "G0 X1", "o1 while [1]"});
    TMachineReader reader;
    std::atomic<bool> cancel{false};
    int progress = 0;
    reader.OnProgress = [&](std::size_t, std::size_t) {
        if (++progress == 3)
            cancel = true;
    };
    reader.Cancel = &cancel;
    EXPECT_THROW(reader.Run(lines), EMachineCancelled);
    const TMachineReading reading = reader.TakeResult();
    EXPECT_EQ(reading.Error, "Reading cancelled");
    EXPECT_FALSE(reading.Motions.Motions.empty());
}

TEST(TControlFlowTest, MotionsKeepTheirBodyLineAndOutermostCallLine)
{
    const TReadResult result = Read({
        "o<inner> sub",       // 0
        "G0 X#1",             // 1
        "o<inner> endsub",    // 2
        "o<outer> sub",       // 3
        "G0 X9",              // 4
        "o<inner> call [2]",  // 5
        "o<outer> endsub",    // 6
        "G0 X1",              // 7
        "o<outer> call",      // 8
        "o<inner> call [3]",  // 9
    });
    ASSERT_EQ(result.Error, "");
    const std::vector<TMotion>& motions = result.Reading.Motions.Motions;
    ASSERT_EQ(motions.size(), 4u);
    const std::pair<std::uint32_t, std::uint32_t> expected[] = {{7, 7}, {4, 8}, {1, 8}, {1, 9}};
    for (std::size_t i = 0; i < motions.size(); ++i) {
        EXPECT_EQ(motions[i].Line, expected[i].first) << i;
        EXPECT_EQ(motions[i].CallLine, expected[i].second) << i;
    }
}

TEST(TControlFlowTest, NestedRepeatsCountEachLevel)
{
    // rs274 runs the inner body 4, 2 and 2 times here; each level counts on its own
    const TReadResult result =
        Read({"G91", "o1 repeat [3]", "o2 repeat [2]", "G0 X1", "o2 endrepeat", "o1 endrepeat"});
    ASSERT_EQ(result.Error, "");
    EXPECT_EQ(result.Reading.Motions.Motions.size(), 6u);
}

TEST(TControlFlowTest, RecursiveRepeatsKeepTheirOwnCounts)
{
    // each call level runs its own repeat of the same lines
    const TReadResult result =
        Read({"o<r> sub", "o1 repeat [2]", "G91 G0 X1", "o2 if [#1 gt 0]", "o<r> call [#1 - 1]",
              "o2 endif", "o1 endrepeat", "o<r> endsub", "o<r> call [2]"});
    ASSERT_EQ(result.Error, "");
    EXPECT_EQ(result.Reading.Motions.Motions.size(), 14u);  // 2 + 2 * (2 + 2 * 2)
}

TEST(TControlFlowTest, OWordsAfterCommentsAndLineNumbersAreFound)
{
    const TReadResult result =
        Read({"(first) o1 if [0]", "G0 X1", "N20 o1 else", "G0 X2", "/ (c) O1 ENDIF"});
    EXPECT_EQ(result.Error, "");
    EXPECT_EQ(Xs(result), std::vector<double>{2});
}

TEST(TControlFlowTest, M99InTheMainProgramEndsIt)
{
    const TReadResult result = Read({"G0 X1", "M99", "G0 X2"});
    EXPECT_EQ(result.Error, "");
    EXPECT_EQ(Xs(result), std::vector<double>{1});
}

TEST(TControlFlowTest, NamedParameterExistsFromItsAssignmentOn)
{
    const TReadResult result = Read({"#<a>=4 G0 X#<a>", "G0 X#<a>"});
    EXPECT_EQ(result.Error, "");
    EXPECT_EQ(Xs(result), (std::vector<double>{0, 4}));
}

TEST(TControlFlowTest, MessagesAreKeptWithTheirLines)
{
    const TReadResult result =
        Read({"#1=2", "(MSG, hi #1)", "o1 sub", "(debug,in #1)", "o1 endsub", "o1 call [5]",
              "G0 X1 (print,x#<_x>)", "(msg,first) (ordinary)", "#5599=0", "(debug,silent)"});
    ASSERT_EQ(result.Error, "");
    const std::vector<TProgramMessage>& messages = result.Reading.Messages;
    ASSERT_EQ(messages.size(), 3u);
    EXPECT_EQ(messages[0].Line, 1u);
    EXPECT_EQ(messages[0].Kind, TMessageKind::Message);
    EXPECT_EQ(messages[0].Text, " hi #1");
    EXPECT_EQ(messages[1].Line, 3u);
    EXPECT_EQ(messages[1].Text, "in 5.000000");
    EXPECT_EQ(messages[2].Kind, TMessageKind::Print);
    EXPECT_EQ(messages[2].Text, "x0.000000");  // comments come before the line's move
}

TEST(TControlFlowTest, MessagesPastTheKeptNumberAreCounted)
{
    const TReadResult result = Read({"o1 repeat [1005]", "(debug,turn)", "o1 endrepeat"});
    EXPECT_EQ(result.Reading.Messages.size(), TMachineReader::kMessagesKept);
    EXPECT_EQ(result.Reading.MessagesDropped, 5u);
}

TEST(TControlFlowTest, OlderLinuxCncFormsAreReadWithANotice)
{
    const TReadResult result =
        Read({"o100 sub", "o110 if [1]", "o110 endif", "o110 if [1]", "G0 X1", "o110 endif",
              "o100 endsub", "o100 call", "G43.1 K2", "G0 Z0"});
    ASSERT_EQ(result.Error, "");
    EXPECT_EQ(result.Reading.Notices.Texts(),
              std::vector<std::string>{
                  "forms of older LinuxCNC versions (G43.1 K, o110 used again), lines 4-9"});
    EXPECT_DOUBLE_EQ(result.Reading.Motions.Motions.back().End[2], 2);  // K is the Z length
}

class TSubroutineFileFlowTest : public testing::Test
{
protected:
    TSubroutineFileFlowTest()
        : FFolder(std::filesystem::temp_directory_path() /
                  ("zorvit-flow-" + std::to_string(::getpid())))
    {
        std::filesystem::create_directories(FFolder);
        std::ofstream(FFolder / "bad.ngc") << "o<bad> sub\nG0 X#<nosuch>\no<bad> endsub\n";
        std::ofstream(FFolder / "other.ngc") << "o<elsewhere> sub\no<elsewhere> endsub\n";
    }
    ~TSubroutineFileFlowTest() override { std::filesystem::remove_all(FFolder); }

    std::filesystem::path FFolder;
};

TEST_F(TSubroutineFileFlowTest, ErrorInAFileIsShownAtTheCall)
{
    const TReadResult result = Read({"G0 X1", "o<bad> call"}, TLengthUnits::Millimetres, FFolder);
    EXPECT_EQ(result.Error, "Named parameter #<nosuch> not defined in bad.ngc line 2 on line 2");
    EXPECT_EQ(result.Reading.FailedLine, 1u);
}

TEST_F(TSubroutineFileFlowTest, FileMustDefineTheSub)
{
    EXPECT_EQ(Read({"o<other> call"}, TLengthUnits::Millimetres, FFolder).Error,
              "other.ngc defines no o<other> sub on line 1");
    // without a folder no file is looked for
    EXPECT_EQ(Read({"o<bad> call"}).Error,
              "Unknown subroutine o<bad>: no o<bad> sub in the program and no bad.ngc beside it "
              "on line 1");
}

}  // namespace
