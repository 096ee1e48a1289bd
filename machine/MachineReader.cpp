#include "machine/MachineReader.h"

#include <algorithm>
#include <iterator>

TMachineReader::TMachineReader(TLengthUnits defaultUnits)
    : FMachine(defaultUnits), FDefaultUnits(defaultUnits)
{}

void TMachineReader::Run(const TLineList& lines)
{
    FMachine = TMachine(FDefaultUnits, MotionLimit);
    FParameters = TParameters();
    // #<_line> is the line being read; the rest of the machine state the machine knows
    FParameters.SetPredefinedSource([this](TPredefined name) {
        return name == TPredefined::Line ? static_cast<double>(FLine + 1)
                                         : FMachine.Predefined(name);
    });
    FFailedLine.reset();
    FError.clear();
    FDelimited = false;
    FMessages.clear();
    FMessagesDropped = 0;
    FProgramLines = lines.size();
    FFlow.Start(lines, SubroutineFolder, LoopLimit);
    FLines = &lines;
    FNextLine = 0;
    std::size_t sinceProgress = kProgressLines;
    while (FNextLine < FLines->size() && !FMachine.Ended()) {
        if (++sinceProgress >= kProgressLines) {
            sinceProgress = 0;
            if (Cancel != nullptr && Cancel->load(std::memory_order_relaxed)) {
                FFailedLine = FFlow.CallLine().value_or(FNextLine);
                FError = EMachineCancelled().what();
                throw EMachineCancelled();
            }
            if (OnProgress)
                OnProgress(FFlow.CallLine().value_or(FNextLine), lines.size());
        }
        const std::size_t line = FNextLine++;
        FCallLine = FFlow.CallLine().value_or(line);
        const bool inProgram = FFlow.FileName().empty();
        try {
            ReadLine(line);
        } catch (const EMachineError& error) {
            // An error in a subroutine file is shown at the call in the program.
            const bool inFile = !FFlow.FileName().empty();
            FFailedLine = inFile ? FCallLine : line;
            FError = error.what();
            if (inFile)
                FError += " in " + FFlow.FileName() + " line " + std::to_string(line + 1);
            FError += " on line " + std::to_string(*FFailedLine + 1);
            throw EMachineError(FError);
        }
        if (OnLineRead && inProgram)
            OnLineRead(line, FMachine);
        FLines = &FFlow.Lines();
    }
}

void TMachineReader::ReadLine(std::size_t line)
{
    FLine = line;
    const TBlock& block = FFlow.Block(line);
    switch (block.Kind) {
    case TBlockKind::Empty:
        HandleMessages(block, line);
        return;
    case TBlockKind::ProgramDelimiter:
        // A "%" opens the program on its first line and ends it on the next one.
        if (line == 0)
            FDelimited = true;
        else if (FDelimited)
            FNextLine = FLines->size();
        return;
    case TBlockKind::OWord:
        HandleOWord(block, line);
        return;
    case TBlockKind::Words:
        break;
    }
    // LinuxCNC makes a named parameter when it reads its assignment, before the line's
    // values: "#<a>=4 G0 X#<a>" moves to 0 the first time.
    for (const TAssignment& assignment : block.Assignments) {
        if (!assignment.Name.empty() && !FParameters.NamedExists(assignment.NameId))
            FParameters.SetNamed(assignment.NameId, 0);
    }
    FValues.Evaluate(block, FParameters);
    HandleAssignments(block);
    HandleMessages(block, line);
    // A line of assignments alone leaves the machine, and the parameters it publishes (which no
    // program may assign), as they were. Loops are mostly such lines.
    if (block.Words.empty())
        return;
    // The moves of a subroutine file belong to the line that called it.
    FMachine.Execute(FValues, FFlow.FileName().empty() ? line : FCallLine, FCallLine);
    FMachine.PublishParameters(FParameters, ChangesOffsets(FValues));
    HandleProgramCalls(line);
}

bool TMachineReader::ChangesOffsets(const TBlockValues& values)
{
    // G10, G28.1, G30.1, G52, G92 to G92.3, G54 to G59.3, and units, which scale them all
    constexpr int kSetters[] = {100, 200, 210, 281, 301, 520, 920, 921, 922, 923};
    constexpr int kFirstSystem = 540;
    constexpr int kLastSystem = 593;
    for (int i = 0; i < values.GCount(); ++i) {
        const int code = values.G(i);
        if ((code >= kFirstSystem && code <= kLastSystem) ||
            std::find(std::begin(kSetters), std::end(kSetters), code) != std::end(kSetters))
            return true;
    }
    return false;
}

void TMachineReader::HandleOWord(const TBlock&, std::size_t line)
{
    FFlow.OWord(line, FNextLine, FParameters);
}

void TMachineReader::HandleMessages(const TBlock& block, std::size_t line)
{
    // Of several comments on a line only the last counts, as in LinuxCNC.
    if (block.Comments.empty())
        return;
    std::optional<TMessageComment> message = ReadMessageComment(block.Comments.back(), FParameters);
    if (!message)
        return;
    if (message->Kind == TMessageKind::Abort)
        throw EMachineError(message->Text.empty() ? "Program aborted" : message->Text);
    if (FMessages.size() == kMessagesKept) {
        ++FMessagesDropped;
        return;
    }
    FMessages.push_back(
        {FFlow.FileName().empty() ? line : FCallLine, message->Kind, std::move(message->Text)});
}

void TMachineReader::HandleProgramCalls(std::size_t line)
{
    constexpr int kM98 = 980;
    constexpr int kM99 = 990;
    for (int i = 0; i < FValues.MCount(); ++i) {
        if (FValues.M(i) == kM98) {
            if (!FValues.Has('p'))
                throw EMachineError("P word missing with M98");
            FFlow.CallProgram(FValues.Value('p'), FValues.Find('l').value_or(1), line, FNextLine,
                              FParameters);
        } else if (FValues.M(i) == kM99 && !FFlow.ReturnFromProgram(FNextLine, FParameters)) {
            FNextLine = FLines->size();  // M99 in the main program ends it, as rs274 reads it
        }
    }
}

void TMachineReader::HandleAssignments(const TBlock& block)
{
    if (block.Assignments.empty())
        return;
    // Every value is read before the first is set: "#1=2 #2=#1" reads the old #1.
    FAssignedValues.clear();
    for (const TAssignment& assignment : block.Assignments) {
        const int index = assignment.Name.empty()
                              ? TExpression::ToInteger(assignment.Index.Evaluate(FParameters))
                              : 0;
        if (TParameters::ReadOnly(index))
            throw EMachineError("Parameter is readonly");
        FAssignedValues.push_back({index, assignment.Value.Evaluate(FParameters)});
    }
    for (std::size_t i = 0; i < block.Assignments.size(); ++i) {
        const TAssignment& assignment = block.Assignments[i];
        if (assignment.Name.empty())
            FParameters.SetNumbered(FAssignedValues[i].first, FAssignedValues[i].second);
        else
            FParameters.SetNamed(assignment.NameId, FAssignedValues[i].second);
    }
}

TMachineReading TMachineReader::TakeResult()
{
    TMachineReading reading;
    reading.Facts = FMachine.Facts();
    reading.Notices = FMachine.Notices();
    reading.Motions = FMachine.TakeMotions();
    for (const TLabelNotice& notice : FFlow.Notices())
        reading.Notices.Add(TNoticeKind::OlderLinuxCnc, static_cast<std::size_t>(notice.Line),
                            notice.Text);
    reading.SourceLines = FProgramLines;
    reading.Messages = std::move(FMessages);
    reading.MessagesDropped = FMessagesDropped;
    reading.FailedLine = FFailedLine;
    reading.Error = FError;
    return reading;
}
