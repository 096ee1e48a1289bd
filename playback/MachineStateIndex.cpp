#include "playback/MachineStateIndex.h"

namespace {

TVector3 LastEnd(const TMotionList& motions, std::size_t count)
{
    return count == 0 ? motions.Start : motions.Motions[count - 1].End;
}

}  // namespace

TMachineStateIndex::TMachineStateIndex(std::size_t lines, TLengthUnits defaultUnits) : FLines(lines)
{
    FModes.push_back({TMachine(defaultUnits).Modes(), false, {}});
    FLast.Modes = 0;
}

void TMachineStateIndex::Record(std::size_t line, const TMachine& machine)
{
    const TMotionList& motions = machine.Motions();
    TModesEntry modes{machine.Modes(), false, {}};
    const TVector3& position = machine.MachinePosition();
    if (position != LastEnd(motions, motions.Motions.size())) {
        modes.HasPosition = true;
        modes.Position = position;
    }
    if (!(modes == FModes.back()))
        FModes.push_back(modes);
    FLast = {static_cast<std::uint32_t>(motions.Motions.size()),
             static_cast<std::uint32_t>(FModes.size() - 1)};
    if (line >= FLines.size())
        FLines.resize(line + 1);
    if (FLines[line].Modes == kNotReached)
        FLines[line] = FLast;
}

TMachineStateAt TMachineStateIndex::At(std::size_t line, const TMotionList& motions) const
{
    const bool reached = line < FLines.size() && FLines[line].Modes != kNotReached;
    TMachineStateAt state = StateOf(reached ? FLines[line] : FLast, motions);
    state.Line = line;
    state.Reached = reached;
    return state;
}

TMachineStateAt TMachineStateIndex::StateOf(const TLineEntry& entry,
                                            const TMotionList& motions) const
{
    const TModesEntry& modes = FModes[entry.Modes];
    TMachineStateAt state;
    state.Modes = modes.Modes;
    state.Machine = modes.HasPosition ? modes.Position : LastEnd(motions, entry.Motions);
    state.Work = WorkPosition(state.Modes, state.Machine);
    return state;
}
