#pragma once
// TTimeline: a program's moves on a time axis, timed as Program Info estimates them: rapids at
// the rapid rate, other moves at their own rate (a move without one takes no time), arcs along
// their true length. It answers where the tool is at a time, which move and line it is on, and
// the times a step of one block forward or back goes to. Dwells are not placed on it: the
// motion list keeps only their total.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "machine/Motion.h"

class TGCodeEngine;

class TTimeline
{
public:
    static constexpr std::size_t kNone = static_cast<std::size_t>(-1);

    // The motions must outlive the timeline; rapidRate is in their length units per minute.
    TTimeline(const TMotionList& motions, double rapidRate);

    double TotalSeconds() const { return FEnds.empty() ? 0 : FEnds.back(); }
    std::size_t MoveCount() const { return FEnds.size(); }
    double MoveStart(std::size_t move) const { return move == 0 ? 0 : FEnds[move - 1]; }
    double MoveEnd(std::size_t move) const { return FEnds[move]; }

    // The move the tool is on at the time: the first that ends at or after it; kNone without
    // moves. Times outside the timeline are clamped to it.
    std::size_t MoveAt(double seconds) const;
    // How far along the move the tool is at the time, 0 to 1 (1 for a move that takes no time).
    double MoveFraction(std::size_t move, double seconds) const;
    // The tool's position at the time, along arcs as they turn.
    TVector3 PositionAt(double seconds) const;
    // The time at the end of the last move of the line; -1 when no move has it.
    double EndOfLine(std::uint32_t line) const;
    // One block on or back from the time, a block being the moves of one line in a row: the end
    // of the block the time is in, or of the next one when the time is at its end; back, the
    // start of the block the time is in or ends.
    double NextBlock(double seconds) const;
    double PreviousBlock(double seconds) const;

private:
    // The last move of the block the move is in.
    std::size_t BlockEnd(std::size_t move) const;
    TVector3 From(std::size_t move) const
    {
        return move == 0 ? FMotions.Start : FMotions.Motions[move - 1].End;
    }

    const TMotionList& FMotions;
    std::vector<double> FEnds;  // seconds from the start at which each move ends
};

// The transcription's segments as a motion list in the units of the text: each segment a
// rapid (G0) or a feed move at the F in force, straight as the plot draws it.
TMotionList TranscriptionMotions(const TGCodeEngine& engine);
