#pragma once
// Moves, turns, mirrors or scales the tool path of a program by rewriting its numbers: a point
// transform of X and Y (Z is shifted and scaled on its own), applied to what each coordinate
// means in its line's modes. Everything else of the text stays as it was: comments, blank
// lines, the line count, and each number's way of being written.

#include <cstddef>
#include <limits>
#include <string>
#include <vector>

struct TPlaneTransform
{
    // X' = A X + B Y + Tx, Y' = C X + D Y + Ty, Z' = Scale Z + Tz. Scale is also the factor of
    // lengths (arc radii, peck depths, thread pitches); the XY part is Scale times a rotation
    // or a mirror. Shifts are in the units of the program's first G20 or G21 (mm without one).
    double A = 1;
    double B = 0;
    double C = 0;
    double D = 1;
    double Tx = 0;
    double Ty = 0;
    double Scale = 1;
    double Tz = 0;
    // Decimals the shifts need to be written exactly, so a file with fewer keeps them.
    int AmountDecimals = 0;

    static TPlaneTransform Translation(double dx, double dy, double dz);
    // Counter-clockwise seen from +Z, about (cx, cy).
    static TPlaneTransform Rotation(double degrees, double cx, double cy);
    // Negates X, Y or both (the mirror lines are the axes).
    static TPlaneTransform Mirror(bool x, bool y);
    // Uniform about the origin; the factor must be above 0.
    static TPlaneTransform Scaling(double factor);

    bool AxisAligned() const { return B == 0 && C == 0; }
    bool LinearIdentity() const { return A == 1 && B == 0 && C == 0 && D == 1 && Scale == 1; }
    bool Identity() const { return LinearIdentity() && Tx == 0 && Ty == 0 && Tz == 0; }
};

// The lines first to last (0-based, inclusive) of a program.
struct TLineRange
{
    std::size_t First = 0;
    std::size_t Last = std::numeric_limits<std::size_t>::max();
    bool Contains(std::size_t line) const { return line >= First && line <= Last; }
};

// The program with the lines of the range transformed. Throws EEditRefused naming every line
// that cannot be transformed exactly, before anything is changed.
std::vector<std::string> TransformProgram(const std::vector<std::string>& lines,
                                          const TPlaneTransform& transform,
                                          const TLineRange& range = {});
