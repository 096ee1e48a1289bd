#pragma once
// The limits of control flow that keep a reading from running forever: a program that never ends (a
// while [1] with no end, a subroutine that calls itself without stop, M99 in the main program)
// stops at the line of its loop or call with a message, and the plot shows what was read.

#include <cstdint>
#include <string>

#include "machine/MachineError.h"

class TReadLimits
{
public:
    static constexpr std::int64_t kMaxLoopTurns = 100'000'000;  // loop bodies run, in all
    static constexpr int kMaxCallDepth = 100;                   // subroutine calls nested

    // A short run (a fuzzer's) may stop loops sooner.
    explicit TReadLimits(std::int64_t maxLoopTurns = kMaxLoopTurns) : FMaxLoopTurns(maxLoopTurns) {}

    // Counts one more run of a loop body (while, do, repeat; M98 L repeats).
    void CountLoopTurn()
    {
        if (++FLoopTurns > FMaxLoopTurns)
            throw EMachineError("Loops ran more than " + std::to_string(FMaxLoopTurns) +
                                " times: the program does not end");
    }
    void EnterCall()
    {
        if (++FCallDepth > kMaxCallDepth)
            throw EMachineError("Subroutine calls nested more than " +
                                std::to_string(kMaxCallDepth) + " deep");
    }
    void LeaveCall() { --FCallDepth; }

private:
    std::int64_t FMaxLoopTurns;
    std::int64_t FLoopTurns = 0;
    int FCallDepth = 0;
};
