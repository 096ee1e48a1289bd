#pragma once
// TMachineStateIndex: the machine's state after any line of a machine path reading, kept while
// the reader reads (through its OnLineRead) and looked up in constant time. Per line it keeps
// the motions made so far and an index into the list of distinct modes, so a program of a
// million lines costs some 8 MB: the position is the end of the line's last motion, except
// after a block that moved the tool without a motion (G88), whose modes keep the position.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "machine/Machine.h"
#include "machine/Motion.h"

struct TMachineStateAt
{
    std::size_t Line = 0;  // 0-based
    // False for a line the reading never carried out (past M2 or an error, in a sub never
    // called): the state is then the one the reading ended in.
    bool Reached = false;
    TVector3 Machine{};  // millimetres, machine coordinates
    TVector3 Work{};     // millimetres, the program's frame
    TMachineModes Modes;

    bool operator==(const TMachineStateAt&) const = default;
};

class TMachineStateIndex
{
public:
    // For a program of that many lines, read with those default units.
    explicit TMachineStateIndex(std::size_t lines = 0,
                                TLengthUnits defaultUnits = TLengthUnits::Millimetres);

    // The state the machine is in after the line; the first time the line is read counts.
    void Record(std::size_t line, const TMachine& machine);
    // The state after the line, with the motions of the same reading; none read yet is the
    // machine's start state.
    TMachineStateAt At(std::size_t line, const TMotionList& motions) const;
    std::size_t LineCount() const { return FLines.size(); }

private:
    struct TModesEntry
    {
        TMachineModes Modes;
        bool HasPosition = false;  // the position is no motion's end
        TVector3 Position{};

        bool operator==(const TModesEntry&) const = default;
    };

    struct TLineEntry
    {
        std::uint32_t Motions = 0;
        std::uint32_t Modes = kNotReached;
    };

    static constexpr std::uint32_t kNotReached = 0xFFFFFFFF;

    TMachineStateAt StateOf(const TLineEntry& entry, const TMotionList& motions) const;

    std::vector<TLineEntry> FLines;
    std::vector<TModesEntry> FModes;
    TLineEntry FLast;  // the last line read
};
