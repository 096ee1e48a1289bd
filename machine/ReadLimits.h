#pragma once
// The limits that keep a reading from running forever: a program that never ends (a while [1]
// with no end, a subroutine that calls itself without stop, M99 in the main program) stops at
// the line of its loop or call with a message, and the plot shows what was read.

#include <cstddef>
#include <cstdint>
#include <string>

#include "machine/MachineError.h"

class TReadLimits
{
public:
    static constexpr std::int64_t kMaxLoopTurns = 100'000'000;  // loop bodies run, in all
    static constexpr int kMaxCallDepth = 100;                   // subroutine calls nested
    static constexpr std::int64_t kMaxMotions = 100'000'000;

    // Counts one more run of a loop body (while, do, repeat; M98 L repeats).
    void CountLoopTurn()
    {
        if (++FLoopTurns > kMaxLoopTurns)
            throw EMachineError("Loops ran more than " + std::to_string(kMaxLoopTurns) +
                                " times: the program does not end");
    }
    void EnterCall()
    {
        if (++FCallDepth > kMaxCallDepth)
            throw EMachineError("Subroutine calls nested more than " +
                                std::to_string(kMaxCallDepth) + " deep");
    }
    void LeaveCall() { --FCallDepth; }
    // Checks the count of motions read so far.
    static void CheckMotions(std::size_t motions)
    {
        if (motions > static_cast<std::size_t>(kMaxMotions))
            throw EMachineError("More than " + std::to_string(kMaxMotions) +
                                " motions: the program does not end");
    }

private:
    std::int64_t FLoopTurns = 0;
    int FCallDepth = 0;
};
