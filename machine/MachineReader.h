#pragma once
// TMachineReader: the line loop of the machine path. It reads each line into a block, hands
// O-word lines and parameter assignments to their own handlers, evaluates the words and lets
// the machine carry them out. The next line to read is a field, so that control flow can move
// it (jumps, calls and returns); the first error stops the reading at its line, keeping the
// motions read before it.

#include <atomic>
#include <cstddef>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "gcode/LineList.h"
#include "machine/Block.h"
#include "machine/BlockValues.h"
#include "machine/ControlFlow.h"
#include "machine/Machine.h"
#include "machine/MachineError.h"
#include "machine/MessageComment.h"
#include "machine/Parameters.h"

// The reading was cancelled through the reader's cancel flag.
class EMachineCancelled : public EMachineError
{
public:
    EMachineCancelled() : EMachineError("Reading cancelled") {}
};

// A comment that speaks ((MSG,...), (DEBUG,...), (PRINT,...)), for Program Info.
struct TProgramMessage
{
    std::size_t Line;  // 0-based, in the program (the outermost call for a subroutine file)
    TMessageKind Kind;
    std::string Text;
};

struct TMachineReading
{
    TMotionList Motions;
    TNotices Notices;
    TProgramFacts Facts;
    std::size_t SourceLines = 0;
    std::optional<std::size_t> FailedLine;  // 0-based
    std::string Error;                      // empty when the reading succeeded
    std::vector<TProgramMessage> Messages;  // the first kMessagesKept
    std::size_t MessagesDropped = 0;        // those past them
};

class TMachineReader
{
public:
    // The units of a program that names none.
    explicit TMachineReader(TLengthUnits defaultUnits = TLengthUnits::Millimetres);

    // Reads the lines from the first. Throws EMachineError with the line named ("... on line
    // 12") at the first error, and EMachineCancelled when cancelled; the motions read until
    // then stay in Result().
    void Run(const TLineList& lines);
    // The reading of the last Run, taken out of the reader.
    TMachineReading TakeResult();
    std::optional<std::size_t> FailedLine() const { return FFailedLine; }

    // Told the lines done and the line count at the first line and then every kProgressLines.
    std::function<void(std::size_t done, std::size_t total)> OnProgress;
    static constexpr std::size_t kProgressLines = std::size_t{1} << 16;
    // Set to true from another thread to stop the reading at the next progress step.
    std::atomic<bool>* Cancel = nullptr;
    // More motions than this stop the reading with an error.
    std::size_t MotionLimit = TMachine::kMaximumMotions;
    // More loop turns than this, in all, stop the reading with an error.
    std::int64_t LoopLimit = TReadLimits::kMaxLoopTurns;
    // Told each line of the program (not of a subroutine file) once the reader has carried it
    // out, with the machine as the line left it.
    std::function<void(std::size_t line, const TMachine& machine)> OnLineRead;
    // Where "o<name> call" finds name.ngc when the program defines no such sub; none if empty.
    std::filesystem::path SubroutineFolder;
    static constexpr std::size_t kMessagesKept = 1000;

protected:
    // The line the loop reads next; control flow moves it.
    std::size_t FNextLine = 0;
    // The line of the outermost call that led to the current line.
    std::size_t FCallLine = 0;
    const TLineList* FLines = nullptr;
    TParameters FParameters;
    TMachine FMachine;

    // An O-word line ("o100 sub", "o100 call", ...): control flow moves the next line.
    virtual void HandleOWord(const TBlock& block, std::size_t line);
    // The assignments of a block, made after its words are evaluated and before they are
    // carried out, so a line reads the parameters as they were before it.
    virtual void HandleAssignments(const TBlock& block);

private:
    void ReadLine(std::size_t line);
    // The comments of a line that speak; (ABORT,...) throws its text.
    void HandleMessages(const TBlock& block, std::size_t line);
    // M98 and M99 of a block, after the machine carried out its other words.
    void HandleProgramCalls(std::size_t line);
    // Whether a block may change what PublishParameters writes beyond position and tool.
    static bool ChangesOffsets(const TBlockValues& values);

    TLengthUnits FDefaultUnits;
    TBlock FBlock;
    TBlockValues FValues;
    std::vector<std::pair<int, double>> FAssignedValues;  // index and value, per assignment
    std::optional<std::size_t> FFailedLine;
    std::string FError;
    bool FDelimited = false;  // the program opened with a "%" line
    TControlFlow FFlow;
    std::size_t FLine = 0;  // the line being read, in the file being read
    std::size_t FProgramLines = 0;
    std::vector<TProgramMessage> FMessages;
    std::size_t FMessagesDropped = 0;
};
