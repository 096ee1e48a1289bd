#pragma once
// The motion list: what the machine does, one entry per rapid, feed or arc move, in millimetres
// of machine coordinates (work offsets, G92 and the tool length offset applied).

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

using TVector3 = std::array<double, 3>;  // X, Y, Z

enum class TLengthUnits : std::uint8_t { Millimetres, Inches };

constexpr double kMillimetresPerInch = 25.4;

// The factor from millimetres to the units.
constexpr double FromMillimetres(TLengthUnits units)
{
    return units == TLengthUnits::Inches ? 1 / kMillimetresPerInch : 1.0;
}

enum class TMotionKind : std::uint8_t { Rapid, Feed, Arc };

// The arc planes with their axes in the order a positive turn goes: (X,Y), (Z,X) and (Y,Z).
enum class TArcPlane : std::uint8_t { XY, ZX, YZ };

struct TPlaneAxes
{
    int First;   // the axis an angle of 0 points along
    int Second;  // the axis 90 degrees counter-clockwise from it
    int Normal;  // the helix axis
};

constexpr TPlaneAxes PlaneAxes(TArcPlane plane)
{
    switch (plane) {
    case TArcPlane::ZX:
        return {2, 0, 1};
    case TArcPlane::YZ:
        return {1, 2, 0};
    case TArcPlane::XY:
        break;
    }
    return {0, 1, 2};
}

struct TMotionArc
{
    TVector3 Centre;          // on the plane through the arc's start point
    std::uint32_t Turns = 1;  // 1 for an arc of up to one turn, more with a P word
    TArcPlane Plane = TArcPlane::XY;
    bool Clockwise = false;
};

struct TMotion
{
    TVector3 End{};
    // Millimetres per minute of path the move is made at: the F word in G94, converted in G93
    // and G95. 0 for rapids and for feed moves that cannot be timed.
    double Rate = 0;
    std::uint32_t Line = 0;      // 0-based source line of the block that made the move
    std::uint32_t CallLine = 0;  // the outermost line that led to it: Line outside calls
    std::int32_t Arc = -1;       // index into TMotionList::Arcs, -1 for a straight move
    TMotionKind Kind = TMotionKind::Rapid;
    bool Cycle = false;  // part of a canned cycle: drawn in the rapid and feed colours
};

// A G4 or a cycle's dwell: the tool waits where the motions before it left it.
struct TDwell
{
    std::size_t Before = 0;  // the number of motions made before it
    double Seconds = 0;
    std::uint32_t Line = 0;  // as TMotion's
    std::uint32_t CallLine = 0;
};

struct TMotionList
{
    TVector3 Start{};  // where the first move starts
    std::vector<TMotion> Motions;
    std::vector<TMotionArc> Arcs;
    std::vector<TDwell> Dwells;  // in the order they come

    double DwellSeconds() const
    {
        double seconds = 0;
        for (const TDwell& dwell : Dwells)
            seconds += dwell.Seconds;
        return seconds;
    }
};
