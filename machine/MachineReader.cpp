#include "machine/MachineReader.h"

TMachineReader::TMachineReader(TLengthUnits defaultUnits)
    : FMachine(defaultUnits), FDefaultUnits(defaultUnits)
{}

void TMachineReader::Run(const TLineList& lines)
{
    FMachine = TMachine(FDefaultUnits);
    FParameters = TParameters();
    FFailedLine.reset();
    FError.clear();
    FDelimited = false;
    FLines = &lines;
    FNextLine = 0;
    std::size_t sinceProgress = kProgressLines;
    while (FNextLine < lines.size() && !FMachine.Ended()) {
        if (++sinceProgress >= kProgressLines) {
            sinceProgress = 0;
            if (Cancel != nullptr && Cancel->load(std::memory_order_relaxed)) {
                FFailedLine = FNextLine;
                FError = EMachineCancelled().what();
                throw EMachineCancelled();
            }
            if (OnProgress)
                OnProgress(FNextLine, lines.size());
        }
        const std::size_t line = FNextLine++;
        FCallLine = line;
        try {
            ReadLine(line);
        } catch (const EMachineError& error) {
            FFailedLine = line;
            FError = std::string(error.what()) + " on line " + std::to_string(line + 1);
            throw EMachineError(FError);
        }
    }
}

void TMachineReader::ReadLine(std::size_t line)
{
    ReadBlock((*FLines)[line], FBlock);
    switch (FBlock.Kind) {
    case TBlockKind::Empty:
        return;
    case TBlockKind::ProgramDelimiter:
        // A "%" opens the program on its first line and ends it on the next one.
        if (line == 0)
            FDelimited = true;
        else if (FDelimited)
            FNextLine = FLines->size();
        return;
    case TBlockKind::OWord:
        HandleOWord(FBlock, line);
        return;
    case TBlockKind::Words:
        break;
    }
    FValues.Evaluate(FBlock, FParameters);
    HandleAssignments(FBlock);
    FMachine.Execute(FValues, line, FCallLine);
}

void TMachineReader::HandleOWord(const TBlock& block, std::size_t)
{
    std::size_t end = block.OWordStart + 1;
    while (end < block.Text.size() && (block.Text[end] < 'a' || block.Text[end] > 'z'))
        ++end;
    while (end < block.Text.size() && block.Text[end] >= 'a' && block.Text[end] <= 'z')
        ++end;
    throw EMachineError("O-word control flow is not read yet (" +
                        block.Text.substr(block.OWordStart, end - block.OWordStart) + ")");
}

void TMachineReader::HandleAssignments(const TBlock& block)
{
    if (block.Assignments.empty())
        return;
    // Every value is read before the first is set: "#1=2 #2=#1" reads the old #1.
    FAssignedValues.clear();
    for (const TAssignment& assignment : block.Assignments) {
        const double index = assignment.Name.empty() ? assignment.Index.Evaluate(FParameters) : 0;
        FAssignedValues.push_back({index, assignment.Value.Evaluate(FParameters)});
    }
    for (std::size_t i = 0; i < block.Assignments.size(); ++i) {
        const TAssignment& assignment = block.Assignments[i];
        if (assignment.Name.empty())
            FParameters.SetNumbered(static_cast<int>(FAssignedValues[i].first),
                                    FAssignedValues[i].second);
        else
            FParameters.SetNamed(assignment.Name, FAssignedValues[i].second);
    }
}

TMachineReading TMachineReader::TakeResult()
{
    TMachineReading reading;
    reading.Units = FMachine.ProgramUnits();
    reading.Notices = FMachine.Notices();
    reading.UnitsSeen = FMachine.UnitsSeen();
    reading.DistanceModesSeen = FMachine.DistanceModesSeen();
    reading.ToolsSeen = FMachine.ToolsSeen();
    reading.HasFeed = FMachine.HasFeed();
    reading.FeedMinimum = FMachine.FeedMinimum();
    reading.FeedMaximum = FMachine.FeedMaximum();
    reading.Motions = FMachine.TakeMotions();
    reading.SourceLines = FLines != nullptr ? FLines->size() : 0;
    reading.FailedLine = FFailedLine;
    reading.Error = FError;
    return reading;
}
