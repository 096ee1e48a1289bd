#pragma once
// TParameters: the values that expressions read, with LinuxCNC 2.9's scoping. Numbered
// parameters #1 to #5601, of which #1-#30 are local to a subroutine call; named parameters local
// to the running call ("#<depth>") and global ones ("#<_depth>"); and the read-only predefined
// names ("#<_x>", "#<_metric>", ...), which the machine state answers through a hook.

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// The predefined named parameters whose value the machine state knows. TParameters answers the
// others itself (positions and tool from the numbered parameters, return values, call level).
enum class TPredefined : std::uint8_t {
    Line,
    MotionMode,
    Plane,
    CutterComp,
    Metric,
    Imperial,
    Absolute,
    Incremental,
    InverseTime,
    UnitsPerMinute,
    UnitsPerRev,
    ToolOffset,
    RetractRPlane,
    RetractOldZ,
    SpindleRpmMode,
    SpindleCssMode,
    IjkAbsoluteMode,
    LatheDiameterMode,
    LatheRadiusMode,
    SpindleOn,
    SpindleCw,
    Mist,
    Flood,
    SpeedOverride,
    FeedOverride,
    AdaptiveFeed,
    FeedHold,
    Feed,
    Rpm,
    AbsX,
    AbsY,
    AbsZ,
    AbsA,
    AbsB,
    AbsC,
    CurrentPocket,
    SelectedTool,
    SelectedPocket,
};

// The value of a predefined name from the machine state.
using TPredefinedSource = std::function<double(TPredefined)>;

class TParameters
{
public:
    static constexpr int kLastNumbered = 5601;      // #5602 and above are out of range
    static constexpr int kCallArguments = 30;       // #1-#30: a call's arguments
    static constexpr int kAxes = 9;                 // X Y Z A B C U V W, in this order
    static constexpr int kCoordinateSystems = 9;    // G54 to G59.3
    static constexpr int kG28Home = 5161;           // + axis
    static constexpr int kG30Home = 5181;           // + axis
    static constexpr int kG92Applied = 5210;        // 1 while a G92 offset applies
    static constexpr int kG92Offset = 5211;         // + axis
    static constexpr int kCoordinateSystem = 5220;  // 1 to 9 for G54 to G59.3
    static constexpr int kG54Offset = 5221;         // + stride * (system - 1) + axis
    static constexpr int kCoordinateSystemStride = 20;
    static constexpr int kRotationSlot = 9;  // the XY rotation in degrees, after the axes
    static constexpr int kToolNumber = 5400;
    static constexpr int kToolOffset = 5401;  // + axis
    static constexpr int kToolDiameter = 5410;
    static constexpr int kPosition = 5420;     // + axis: in program units and the work frame
    static constexpr int kDebugOutput = 5599;  // 0 silences (DEBUG,...) comments

    TParameters();

    // The tool's and the position's parameters, #5400-#5413 and #5420-#5428, which only the
    // machine sets: a program that assigns one is refused, as LinuxCNC refuses it.
    static bool ReadOnly(int index)
    {
        return (index >= kToolNumber && index <= kToolDiameter + 3) ||
               (index >= kPosition && index < kPosition + kAxes);
    }

    // Reading or setting a number outside #1-#5601 throws EMachineError.
    double Numbered(int index) const;
    void SetNumbered(int index, double value);

    // Names are given as the block holds them: lower case, without blanks or the angle brackets.
    // A name that starts with "_" is global. Reading a name never set throws EMachineError, and
    // so does setting a predefined name.
    double Named(std::string_view name) const;
    void SetNamed(std::string_view name, double value);
    bool NamedExists(std::string_view name) const;

    // The same by the number that Intern gives a name, which compiled expressions keep so that
    // a loop looks no string up. Ids are shared by every TParameters of the process.
    static int Intern(std::string_view name);
    static const std::string& NameOf(int id);
    double Named(int id) const;
    void SetNamed(int id, double value);
    bool NamedExists(int id) const;

    // Predefined names: the read-only names of LinuxCNC 2.9 are answered by this store or by
    // the hook; without a hook the machine-state ones read 0.
    void SetPredefinedSource(TPredefinedSource source) { FPredefinedSource = std::move(source); }

    // A subroutine call: #1-#30 are saved and set to the arguments (those not given read 0) and
    // named locals start empty; Return restores both. A call that shares #1-#30 with its caller
    // (M98) passes localArguments = false. The return value of the last call is read as
    // #<_value> and #<_value_returned>; a call clears it.
    void Call(const double* arguments, int count, bool localArguments = true);
    void Return(std::optional<double> value);
    int CallLevel() const { return FDepth; }

    // Work offsets of G54 (system 1) to G59.3 (system 9), by axis or kRotationSlot.
    void SetCoordinateOffset(int system, int slot, double value);

private:
    struct TFrame
    {
        std::vector<std::pair<int, double>> Locals;  // few per call: a linear search is fastest
        std::array<double, kCallArguments> SavedArguments{};
        bool LocalArguments = true;
    };

    const double* FindNamed(int id) const;
    double ReadPredefined(int id) const;

    std::vector<double> FNumbered;
    std::vector<double> FGlobals;  // by id; FGlobalSet tells which are set
    std::vector<char> FGlobalSet;
    std::vector<TFrame> FFrames;  // [0] is the main program; kept when a call returns, reused
    int FDepth = 0;               // frames in use beyond the main program
    double FReturnValue = 0;
    bool FValueReturned = false;
    TPredefinedSource FPredefinedSource;
};
