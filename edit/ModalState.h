#pragma once
// The modes of a program that decide what its coordinates mean, followed line by line without
// running the program: distance modes, plane, motion, units, lathe diameter mode, and the X and
// Y position as far as the text tells it. Control flow (O words) is not followed: after an O
// line the position counts as unknown.

#include <optional>
#include <string_view>

#include "edit/BlockScan.h"

// G and M codes in tenths, as CodeOf gives them.
namespace gcodes {
constexpr int kRapid = 0;
constexpr int kLinear = 10;
constexpr int kArcClockwise = 20;
constexpr int kArcCounterClockwise = 30;
constexpr int kDwell = 40;
constexpr int kCubicSpline = 50;
constexpr int kQuadraticSpline = 51;
constexpr int kNurbs = 52;
constexpr int kDiameterMode = 70;
constexpr int kRadiusMode = 80;
constexpr int kSetOffsets = 100;
constexpr int kPlaneXY = 170;
constexpr int kPlaneZX = 180;
constexpr int kPlaneYZ = 190;
constexpr int kInch = 200;
constexpr int kMillimetre = 210;
constexpr int kHome = 280;
constexpr int kHomeSecond = 300;
constexpr int kSpindleSynced = 330;
constexpr int kRigidTap = 331;
constexpr int kCutterLeft = 410;
constexpr int kCutterLeftDynamic = 411;
constexpr int kCutterRight = 420;
constexpr int kCutterRightDynamic = 421;
constexpr int kMachineCoordinates = 530;
constexpr int kThreading = 760;
constexpr int kCannedOff = 800;
constexpr int kBackBoring = 870;
constexpr int kAbsolute = 900;
constexpr int kAbsoluteArcCentres = 901;
constexpr int kIncremental = 910;
constexpr int kIncrementalArcCentres = 911;
constexpr int kSetPosition = 920;
constexpr int kToolChange = 60;  // M6
}  // namespace gcodes

// What one line does, read from its words and the modes before it.
struct TLineModes
{
    std::optional<int> MotionWord;  // the motion code the line itself gives
    int Motion = -1;                // the motion in force for the line's axis words
    int NonModal = -1;              // G4, G10, G28, G30, G53, G92, ...
    int OffsetTable = -1;           // the L of G10
    bool HasAxes = false;           // X, Y or Z
    bool UnreadableCode = false;    // a G word whose value is not a plain code
};

class TModalState
{
public:
    bool AbsoluteDistance = true;
    bool AbsoluteArcCentres = false;
    int Plane = gcodes::kPlaneXY;  // -1 for the planes of G17.1 and the like
    int Motion = -1;
    bool Inch = false;
    bool Diameter = false;
    // The X and Y position in program coordinates, when the text tells it.
    std::optional<double> X = 0.0;
    std::optional<double> Y = 0.0;

    // Reads what the line does from its words and the motion in force before it.
    TLineModes Read(const TScannedBlock& block) const;
    // Sets the modes that the line's own words give; they already hold for its coordinates.
    void ApplyCodes(const TScannedBlock& block, const TLineModes& modes);
    // Moves the position to where the line leaves the tool.
    void ApplyMotion(const TScannedBlock& block, const TLineModes& modes);
    void Advance(const TScannedBlock& block, const TLineModes& modes)
    {
        ApplyCodes(block, modes);
        ApplyMotion(block, modes);
    }
};

bool IsArc(int motion);
bool IsCannedCycle(int motion);
