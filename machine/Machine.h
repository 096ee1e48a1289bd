#pragma once
// TMachine: the modal state of an RS274/NGC machine in LinuxCNC's dialect, from its start state
// (G17 G40 G49 G54 G80 G90 G91.1 G94 G97 G99, the default units, all offsets 0, at machine
// zero; the tools have no length until G10 L1 or L10 gives them one). Execute carries
// out one block's words in LinuxCNC's order of execution and appends the moves they make to the
// motion list. Lengths are kept in millimetres; offsets are applied, so every move ends in
// machine coordinates.

#include <array>
#include <cstddef>
#include <cstdint>
#include <unordered_map>
#include <vector>

#include "machine/Motion.h"
#include "machine/Notices.h"
#include "machine/Parameters.h"

class TBlockValues;

// What a reading tells about the program as a whole, for the plot's units and the summary.
struct TProgramFacts
{
    // The units of the first G20 or G21, else the default: the units the plot is drawn in.
    TLengthUnits Units = TLengthUnits::Millimetres;
    // The units and distance modes used (as G numbers, ascending) and the tools named.
    std::vector<std::int32_t> UnitsSeen;
    std::vector<std::int32_t> DistanceModesSeen;
    std::vector<std::int32_t> ToolsSeen;
    // The smallest and largest F, as written; HasFeed is false when the program names none.
    bool HasFeed = false;
    double FeedMinimum = 0;
    double FeedMaximum = 0;
};

// The modal state of the machine beside its position: what a restart from a line needs set.
// Lengths in millimetres; F as written, in the units of the move.
struct TMachineModes
{
    enum class TFeedMode : std::uint8_t { InverseTime, PerMinute, PerRevolution };

    TLengthUnits Units = TLengthUnits::Millimetres;
    TArcPlane Plane = TArcPlane::XY;
    bool Incremental = false;
    bool ArcAbsolute = false;  // G90.1
    bool DiameterMode = false;
    TFeedMode FeedMode = TFeedMode::PerMinute;
    double Feed = 0;
    double Spindle = 0;
    int MotionMode = 800;    // G numbers times ten: 800 is G80
    int Tool = 0;            // in the spindle
    int SelectedTool = 0;    // the last T
    std::size_t System = 0;  // 0 to 8 as G54 to G59.3
    TVector3 SystemOffset{};
    double RotationDegrees = 0;
    TVector3 G92{};
    TVector3 ToolOffset{};
    bool RetractToR = true;  // G99, else G98
    // The canned cycle's R level, bottom and Q and P words, kept from block to block.
    double CycleR = 0;
    double CycleBottom = 0;
    double CycleQ = 0;
    double CycleP = 0;
    bool Ended = false;

    bool operator==(const TMachineModes&) const = default;
};

// A machine position (millimetres) in the program's frame under the modes' offsets.
TVector3 WorkPosition(const TMachineModes& modes, const TVector3& machine);

class TMachine
{
public:
    // A reading stops past this many motions: a program this long is no part, and its motions
    // would fill the memory.
    static constexpr std::size_t kMaximumMotions = 100'000'000;

    explicit TMachine(TLengthUnits defaultUnits = TLengthUnits::Millimetres,
                      std::size_t motionLimit = kMaximumMotions);

    // Carries out one block read from the 0-based line. callLine is where the block was reached
    // from (the line itself outside subroutines). Throws EMachineError naming the problem.
    void Execute(const TBlockValues& block, std::size_t line, std::size_t callLine);

    const TMotionList& Motions() const { return FMotions; }
    TMotionList TakeMotions() { return std::move(FMotions); }
    const TNotices& Notices() const { return FNotices; }
    bool Ended() const { return FEnded; }  // M2 or M30 was read

    // What the summary lists about the program's modes.
    const TProgramFacts& Facts() const { return FFacts; }

    // The current position in the program's frame, in millimetres (for the parameters that
    // name it, in the next layer).
    TVector3 ProgramPosition() const { return ToProgram(FPosition); }
    // The current position in machine coordinates, in millimetres.
    const TVector3& MachinePosition() const { return FPosition; }
    TMachineModes Modes() const;

    // The modal state that predefined named parameters read (#<_metric>, #<_feed>, ...).
    double Predefined(TPredefined name) const;
    // Writes the numbered parameters LinuxCNC keeps up to date: position #5420-#5422 and tool
    // #5400, and with offsets the coordinate system #5220, work offsets, G92, G28 and G30
    // homes; lengths in current units.
    void PublishParameters(TParameters& parameters, bool offsets) const;

private:
    using TFeedMode = TMachineModes::TFeedMode;

    struct TCoordinateSystem
    {
        TVector3 Offset{};
        double RotationDegrees = 0;
    };

    struct TToolOffset
    {
        double X = 0;
        double Z = 0;
    };

    struct TCodes;  // the block's codes sorted by modal group

    double Scale() const { return FUnits == TLengthUnits::Inches ? kMillimetresPerInch : 1.0; }
    double Length(const TBlockValues& block, char letter) const;
    TVector3 ToMachine(const TVector3& program) const;
    TVector3 ToProgram(const TVector3& machine) const;
    // Undoes the work offset, rotation and tool offset but not G92: the frame G92 is set in.
    TVector3 ToG92Frame(const TVector3& machine) const;
    TVector3 ToolOffset() const { return {FToolOffset.X, 0, FToolOffset.Z}; }
    TVector3 EndPoint(const TBlockValues& block) const;
    bool HasAxisWords(const TBlockValues& block) const;

    void SortCodes(const TBlockValues& block, std::size_t line, TCodes& codes);
    void SetToolLength(const TBlockValues& block, int code);
    void SetCoordinateData(const TBlockValues& block);
    void SetG92(const TBlockValues& block, int code);
    void GoHome(const TBlockValues& block, int code);
    // motion is the motion mode, or -1 - mode for G53's machine coordinates.
    void Move(const TBlockValues& block, int motion, int previousMotion);
    void Arc(const TBlockValues& block, const TVector3& end, bool clockwise);
    void Cycle(const TBlockValues& block, int motion, int previousMotion);
    void Emit(TMotionKind kind, const TVector3& machineEnd, double length, int arc = -1);
    void Dwell(double seconds);
    void EmitProgram(TMotionKind kind, const TVector3& programEnd)
    {
        Emit(kind, ToMachine(programEnd), -1);
    }

    static constexpr std::size_t kCoordinateSystems = 9;  // G54 to G59.3

    std::size_t FMotionLimit;
    TMotionList FMotions;
    TNotices FNotices;
    std::size_t FLine = 0;
    std::size_t FCallLine = 0;
    bool FEnded = false;
    bool FInCycle = false;

    TVector3 FPosition{};  // machine coordinates
    TLengthUnits FUnits;
    bool FUnitsNamed = false;
    TArcPlane FPlane = TArcPlane::XY;
    bool FIncremental = false;
    bool FArcAbsolute = false;   // G90.1
    bool FDiameterMode = false;  // G7
    TFeedMode FFeedMode = TFeedMode::PerMinute;
    double FFeed = 0;         // as written, in the units of the move
    double FSpindle = 0;      // revolutions per minute
    int FMotionMode = 800;    // G80
    bool FRetractToR = true;  // G99, as LinuxCNC starts

    std::array<TCoordinateSystem, kCoordinateSystems> FSystems{};
    std::size_t FSystem = 0;
    TVector3 FG92{};
    TVector3 FG92Saved{};
    TToolOffset FToolOffset;
    std::unordered_map<int, TToolOffset> FToolTable;
    int FSelectedTool = 0;
    int FTool = 0;
    TVector3 FG28Home{};  // machine coordinates
    TVector3 FG30Home{};

    // Canned cycles: the level the run of cycle blocks started at, and the R and Z of the last
    // block, which later blocks of the run keep.
    double FCycleInitial = 0;
    double FCycleR = 0;
    double FCycleBottom = 0;
    double FCycleQ = 0;
    double FCycleP = 0;

    TProgramFacts FFacts;
};
