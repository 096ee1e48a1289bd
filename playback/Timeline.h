#pragma once
// TTimeline: a program's moves and dwells on a time axis, timed as Program Info estimates them:
// rapids at the rapid rate, other moves at their own rate (a move without one takes no time),
// arcs along their true length, dwells for their seconds at the point the tool waits at. It
// answers where the tool is at a time, which line it is on, and the times a step of one block
// forward or back goes to.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "machine/Motion.h"

class TGCodeEngine;

class TTimeline
{
public:
    // The motions must outlive the timeline; rapidRate is in their length units per minute.
    TTimeline(const TMotionList& motions, double rapidRate);

    double TotalSeconds() const { return PlaceCount() == 0 ? 0 : PlaceEnd(PlaceCount() - 1); }
    std::size_t MoveCount() const { return FEnds.size(); }

    // The line of the move or dwell the tool is on at the time: the first that ends at or after
    // it; none without either. Times outside the timeline are clamped to it.
    std::optional<std::uint32_t> LineAt(double seconds) const;
    // The tool's position at the time, along arcs as they turn.
    TVector3 PositionAt(double seconds) const;
    // The move the tool is on at the time, or the next one while it dwells before it, and how far
    // along it the tool is (0 to 1); none without moves.
    struct TMoveAt
    {
        std::size_t Move;
        double Fraction;
    };
    std::optional<TMoveAt> MoveAt(double seconds) const;
    // The time at the end of the line's last move or dwell; -1 when it has neither.
    double EndOfLine(std::uint32_t line) const;
    // One block on or back from the time, a block being the moves and dwells of one line in a
    // row: the end of the block the time is in, or of the next one when the time is at its end;
    // back, the start of the block the time is in or ends.
    double NextBlock(double seconds) const;
    double PreviousBlock(double seconds) const;

private:
    static constexpr std::size_t kNone = static_cast<std::size_t>(-1);

    struct TTimedDwell
    {
        double End;          // seconds from the start
        std::size_t Before;  // the moves made before it
        std::uint32_t Line;
    };

    // The moves and the dwells that take time, in the order they come, are the places 0 to
    // PlaceCount() - 1: dwell d is place Before + d, the moves fill the others.
    std::size_t PlaceCount() const { return FEnds.size() + FDwells.size(); }
    // The first place that ends at or after the time, clamped; kNone without places.
    std::size_t PlaceAt(double seconds) const;
    // The dwells that come before the place; the place is a dwell when the next one is it.
    std::size_t DwellsBefore(std::size_t place) const;
    bool IsDwell(std::size_t place, std::size_t dwellsBefore) const
    {
        return dwellsBefore < FDwells.size() &&
               FDwells[dwellsBefore].Before + dwellsBefore == place;
    }
    double PlaceEnd(std::size_t place) const;
    double PlaceStart(std::size_t place) const { return place == 0 ? 0 : PlaceEnd(place - 1); }
    std::uint32_t PlaceLine(std::size_t place) const;
    // How far along the move, at that place, the tool is at the time.
    double MoveFraction(std::size_t place, std::size_t move, double seconds) const;
    // The last place of the block the place is in.
    std::size_t BlockEnd(std::size_t place) const;
    // The point the move starts from.
    TVector3 From(std::size_t move) const
    {
        return move == 0 ? FMotions.Start : FMotions.Motions[move - 1].End;
    }

    const TMotionList& FMotions;
    std::vector<double> FEnds;  // seconds from the start at which each move ends
    std::vector<TTimedDwell> FDwells;
};

// The transcription's segments as a motion list in the units of the text: each segment a
// rapid (G0) or a feed move at the F in force, straight as the plot draws it.
TMotionList TranscriptionMotions(const TGCodeEngine& engine);
