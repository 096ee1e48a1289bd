#include "machine/Machine.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <optional>
#include <string>

#include "machine/ArcGeometry.h"
#include "machine/BlockValues.h"
#include "machine/MachineError.h"

namespace {

constexpr int kGroupCount = 16;
constexpr int kNoCode = -1;
constexpr double kDegreesPerRadian = 180 / std::numbers::pi;

struct TCodeGroup
{
    int Code;  // in tenths
    int Group;
};

// LinuxCNC's G codes by modal group: 0 non-modal, 1 motion, 2 plane, 3 distance, 4 arc
// distance, 5 feed mode, 6 units, 7 cutter compensation, 8 tool length, 10 cycle return,
// 12 coordinate system, 13 path control, 14 spindle speed mode, 15 lathe diameter mode.
constexpr TCodeGroup kGGroups[] = {
    {0, 1},    {10, 1},   {20, 1},   {30, 1},   {50, 1},   {51, 1},   {52, 1},   {53, 1},
    {330, 1},  {331, 1},  {382, 1},  {383, 1},  {384, 1},  {385, 1},  {730, 1},  {760, 1},
    {800, 1},  {810, 1},  {820, 1},  {830, 1},  {850, 1},  {860, 1},  {880, 1},  {890, 1},
    {40, 0},   {100, 0},  {280, 0},  {281, 0},  {300, 0},  {301, 0},  {520, 0},  {530, 0},
    {920, 0},  {921, 0},  {922, 0},  {923, 0},  {170, 2},  {180, 2},  {190, 2},  {900, 3},
    {910, 3},  {901, 4},  {911, 4},  {930, 5},  {940, 5},  {950, 5},  {200, 6},  {210, 6},
    {400, 7},  {410, 7},  {411, 7},  {420, 7},  {421, 7},  {430, 8},  {431, 8},  {432, 8},
    {490, 8},  {980, 10}, {990, 10}, {540, 12}, {550, 12}, {560, 12}, {570, 12}, {580, 12},
    {590, 12}, {591, 12}, {592, 12}, {593, 12}, {610, 13}, {611, 13}, {640, 13}, {960, 14},
    {970, 14}, {70, 15},  {80, 15},
};

// LinuxCNC's M codes by group: 4 stop, 5 input and output, 6 tool change, 7 spindle,
// 8 coolant, 9 overrides, 10 modal state.
// M98 and M99 are carried out by the reader's control flow.
constexpr TCodeGroup kMGroups[] = {
    {0, 4},    {10, 4},   {20, 4},   {300, 4},  {600, 4}, {60, 6},  {610, 6}, {30, 7},  {40, 7},
    {50, 7},   {190, 7},  {70, 8},   {80, 8},   {90, 8},  {480, 9}, {490, 9}, {500, 9}, {510, 9},
    {520, 9},  {530, 9},  {620, 5},  {630, 5},  {640, 5}, {650, 5}, {660, 5}, {670, 5}, {680, 5},
    {700, 10}, {710, 10}, {720, 10}, {730, 10}, {980, 4}, {990, 4},
};

template <std::size_t kSize>
int FindGroup(const TCodeGroup (&groups)[kSize], int code)
{
    for (const TCodeGroup& entry : groups) {
        if (entry.Code == code)
            return entry.Group;
    }
    return kNoCode;
}

// What LinuxCNC knows but the machine path does not model; reading goes on along the
// programmed path.
struct TNotModelled
{
    int Code;
    TNoticeKind Kind;
};

constexpr TNotModelled kNotModelled[] = {
    {410, TNoticeKind::CutterCompensation},
    {411, TNoticeKind::CutterCompensation},
    {420, TNoticeKind::CutterCompensation},
    {421, TNoticeKind::CutterCompensation},
    {50, TNoticeKind::Splines},
    {51, TNoticeKind::Splines},
    {52, TNoticeKind::Splines},
    {53, TNoticeKind::Splines},
    {330, TNoticeKind::Threading},
    {331, TNoticeKind::Threading},
    {760, TNoticeKind::Threading},
    {382, TNoticeKind::Probing},
    {383, TNoticeKind::Probing},
    {384, TNoticeKind::Probing},
    {385, TNoticeKind::Probing},
};

std::optional<TNoticeKind> NotModelled(int code)
{
    for (const TNotModelled& entry : kNotModelled) {
        if (entry.Code == code)
            return entry.Kind;
    }
    return std::nullopt;
}

std::string CodeName(char letter, int tenths)
{
    std::string name = letter + std::to_string(tenths / 10);
    if (tenths % 10 != 0)
        name += "." + std::to_string(tenths % 10);
    return name;
}

char Upper(char letter)
{
    return static_cast<char>(letter - 'a' + 'A');
}
char AxisLetter(int axis)
{
    return static_cast<char>('x' + axis);
}
char OffsetLetter(int axis)
{
    return static_cast<char>('i' + axis);
}

bool IsCycle(int motion)
{
    return motion == 730 || (motion >= 810 && motion <= 890);
}

const char* PlaneName(TArcPlane plane)
{
    switch (plane) {
    case TArcPlane::ZX:
        return "XZ";
    case TArcPlane::YZ:
        return "YZ";
    case TArcPlane::XY:
        break;
    }
    return "XY";
}

// The point turned about the Z axis, as a coordinate system's rotation turns it.
TVector3 RotateXY(const TVector3& point, double degrees)
{
    if (degrees == 0)
        return point;
    const double angle = degrees / kDegreesPerRadian;
    return {point[0] * std::cos(angle) - point[1] * std::sin(angle),
            point[0] * std::sin(angle) + point[1] * std::cos(angle), point[2]};
}

// The value of a word that counts or numbers something (a tool, a repeat count), which a
// program may give as a real: rounded to the nearest whole number.
int WholeNumber(const TBlockValues& block, char letter)
{
    constexpr double kLargest = 1e9;
    const double value = std::round(block.Value(letter));
    if (!(std::fabs(value) <= kLargest))
        throw EMachineError(std::string(1, Upper(letter)) + " value out of range");
    return static_cast<int>(value);
}

void AddSeen(std::vector<std::int32_t>& seen, std::int32_t value)
{
    if (std::find(seen.begin(), seen.end(), value) == seen.end())
        seen.push_back(value);
}

void AddSorted(std::vector<std::int32_t>& seen, std::int32_t value)
{
    const auto place = std::lower_bound(seen.begin(), seen.end(), value);
    if (place == seen.end() || *place != value)
        seen.insert(place, value);
}

// LinuxCNC's limits on the two radii of a centre-format arc: refused only when they differ by
// more than both the absolute and the relative tolerance.
constexpr double kArcRadiusToleranceMm = 0.0285;
constexpr double kArcRadiusToleranceInch = 0.00285;
constexpr double kArcRadiusRelativeTolerance = 0.00058;
// How far an R arc's radius may fall short of half its chord and still be taken as a half turn.
constexpr double kRadiusReachToleranceMm = 0.005;
constexpr double kRadiusReachToleranceInch = 0.0005;
// More turns than this in one arc are taken for a mistake, not a part.
constexpr std::uint32_t kMaximumTurns = 100'000;
// The peck cycles' step back above the last depth, 0.010 inch in either units.
constexpr double kPeckClearanceMm = 0.254;

}  // namespace

struct TMachine::TCodes
{
    std::array<int, kGroupCount> G;
    std::array<int, kGroupCount> M;
    bool G53 = false;
    bool MistAndFlood = false;
    TCodes()
    {
        G.fill(kNoCode);
        M.fill(kNoCode);
    }
};

TMachine::TMachine(TLengthUnits defaultUnits, std::size_t motionLimit)
    : FMotionLimit(motionLimit), FUnits(defaultUnits)
{
    FFacts.Units = defaultUnits;
}

double TMachine::Length(const TBlockValues& block, char letter) const
{
    return block.Value(letter) * Scale();
}

TVector3 TMachine::ToMachine(const TVector3& program) const
{
    const TCoordinateSystem& system = FSystems[FSystem];
    TVector3 point = RotateXY({program[0] + FG92[0], program[1] + FG92[1], program[2] + FG92[2]},
                              system.RotationDegrees);
    const TVector3 tool = ToolOffset();
    for (int axis = 0; axis < 3; ++axis)
        point[axis] += system.Offset[axis] + tool[axis];
    return point;
}

namespace {

// A machine point with the work offset, its rotation and the tool offset undone.
TVector3 G92Frame(const TVector3& machine, const TVector3& offset, double rotationDegrees,
                  const TVector3& tool)
{
    TVector3 point;
    for (int axis = 0; axis < 3; ++axis)
        point[axis] = machine[axis] - offset[axis] - tool[axis];
    return RotateXY(point, -rotationDegrees);
}

TVector3 WithoutG92(TVector3 point, const TVector3& g92)
{
    for (int axis = 0; axis < 3; ++axis)
        point[axis] -= g92[axis];
    return point;
}

}  // namespace

TVector3 WorkPosition(const TMachineModes& modes, const TVector3& machine)
{
    return WithoutG92(
        G92Frame(machine, modes.SystemOffset, modes.RotationDegrees, modes.ToolOffset), modes.G92);
}

TVector3 TMachine::ToG92Frame(const TVector3& machine) const
{
    const TCoordinateSystem& system = FSystems[FSystem];
    return G92Frame(machine, system.Offset, system.RotationDegrees, ToolOffset());
}

TVector3 TMachine::ToProgram(const TVector3& machine) const
{
    return WithoutG92(ToG92Frame(machine), FG92);
}

bool TMachine::HasAxisWords(const TBlockValues& block) const
{
    return block.Has('x') || block.Has('y') || block.Has('z') || block.Has('@') || block.Has('^');
}

TVector3 TMachine::EndPoint(const TBlockValues& block) const
{
    const TVector3 start = ProgramPosition();
    TVector3 end = start;
    const bool polar = block.Has('@') || block.Has('^');
    if (polar) {
        if (block.Has('x') || block.Has('y'))
            throw EMachineError(std::string("Cannot specify both polar coordinate and ") +
                                (block.Has('x') ? "X" : "Y") + " word");
        const double startRadius = std::hypot(start[0], start[1]);
        if (FIncremental && startRadius == 0)
            throw EMachineError(
                "Incremental motion with polar coordinates is indeterminate when at the origin");
        const double startAngle = std::atan2(start[1], start[0]) * kDegreesPerRadian;
        double radius = block.Has('@') ? Length(block, '@') : (FIncremental ? 0 : startRadius);
        double angle = block.Has('^') ? block.Value('^') : (FIncremental ? 0 : startAngle);
        if (FIncremental) {
            radius += startRadius;
            angle += startAngle;
        }
        end[0] = radius * std::cos(angle / kDegreesPerRadian);
        end[1] = radius * std::sin(angle / kDegreesPerRadian);
    }
    for (int axis = polar ? 2 : 0; axis < 3; ++axis) {
        const char letter = AxisLetter(axis);
        if (!block.Has(letter))
            continue;
        double value = Length(block, letter);
        if (axis == 0 && FDiameterMode)
            value /= 2;
        end[axis] = FIncremental ? start[axis] + value : value;
    }
    return end;
}

void TMachine::SortCodes(const TBlockValues& block, std::size_t line, TCodes& codes)
{
    // Sorts one code into its group: a code LinuxCNC does not know is named in the notices, two
    // of one group are an error.
    const auto sort = [&](char letter, int code, int group, std::array<int, kGroupCount>& groups,
                          bool together) {
        if (group == kNoCode) {
            FNotices.Add(TNoticeKind::UnknownCodes, line, CodeName(letter, code));
            return;
        }
        if (groups[group] != kNoCode && !together)
            throw EMachineError(std::string("Two ") + letter +
                                " codes used from the same modal group: " +
                                CodeName(letter, groups[group]) + " and " + CodeName(letter, code));
        groups[group] = code;
    };
    for (int i = 0; i < block.GCount(); ++i) {
        const int code = block.G(i);
        const int group = FindGroup(kGGroups, code);
        if (const auto kind = NotModelled(code))
            FNotices.Add(*kind, line);
        // LinuxCNC lets G80 stand beside the motion that follows it ("G80 G0 Z10").
        const bool cancelled =
            group == 1 && codes.G[group] != kNoCode && (code == 800 || codes.G[group] == 800);
        sort('G', cancelled && code == 800 ? codes.G[group] : code, group, codes.G, cancelled);
        codes.G53 = codes.G53 || code == 530;
    }
    for (int i = 0; i < block.MCount(); ++i) {
        const int code = block.M(i);
        const int group = FindGroup(kMGroups, code);
        // Mist and flood coolant may be turned on together.
        const bool coolantPair = group == 8 && code != 90 && codes.M[group] != kNoCode &&
                                 codes.M[group] != 90 && codes.M[group] != code;
        sort('M', code, group, codes.M, coolantPair);
    }
}

void TMachine::Execute(const TBlockValues& block, std::size_t line, std::size_t callLine)
{
    FLine = line;
    FCallLine = callLine;
    TCodes codes;
    SortCodes(block, line, codes);
    for (const char letter : {'a', 'b', 'c', 'u', 'v', 'w'}) {
        if (block.Has(letter))
            FNotices.Add(TNoticeKind::OtherAxes, line, std::string(1, Upper(letter)));
    }
    if (block.Has('e'))
        FNotices.Add(TNoticeKind::OtherDialects, line, "E");

    if (codes.G[5] != kNoCode)
        FFeedMode = codes.G[5] == 930   ? TFeedMode::InverseTime
                    : codes.G[5] == 950 ? TFeedMode::PerRevolution
                                        : TFeedMode::PerMinute;
    if (block.Has('f')) {
        FFeed = block.Value('f');
        FFacts.FeedMinimum = FFacts.HasFeed ? std::min(FFacts.FeedMinimum, FFeed) : FFeed;
        FFacts.FeedMaximum = FFacts.HasFeed ? std::max(FFacts.FeedMaximum, FFeed) : FFeed;
        FFacts.HasFeed = true;
    }
    if (block.Has('s'))
        FSpindle = block.Value('s');
    if (block.Has('t')) {
        FSelectedTool = WholeNumber(block, 't');
        AddSeen(FFacts.ToolsSeen, static_cast<std::int32_t>(FSelectedTool));
    }
    if (codes.M[6] == 60)
        FTool = FSelectedTool;
    else if (codes.M[6] == 610)
        FTool = block.Has('q') ? WholeNumber(block, 'q') : FTool;
    if (codes.G[0] == 40) {
        if (!block.Has('p'))
            throw EMachineError("Dwell time missing with G4");
        Dwell(block.Value('p'));
    }
    if (codes.G[2] != kNoCode)
        FPlane = codes.G[2] == 170   ? TArcPlane::XY
                 : codes.G[2] == 180 ? TArcPlane::ZX
                                     : TArcPlane::YZ;
    if (codes.G[6] != kNoCode) {
        FUnits = codes.G[6] == 200 ? TLengthUnits::Inches : TLengthUnits::Millimetres;
        if (!FUnitsNamed)
            FFacts.Units = FUnits;
        FUnitsNamed = true;
        AddSorted(FFacts.UnitsSeen, static_cast<std::int32_t>(codes.G[6] / 10));
    }
    if (codes.G[8] != kNoCode)
        SetToolLength(block, codes.G[8]);
    if (codes.G[12] != kNoCode)
        FSystem = codes.G[12] < 590 ? static_cast<std::size_t>(codes.G[12] / 10 - 54)
                                    : static_cast<std::size_t>(5 + codes.G[12] % 10);
    if (codes.G[3] != kNoCode) {
        FIncremental = codes.G[3] == 910;
        AddSorted(FFacts.DistanceModesSeen, static_cast<std::int32_t>(codes.G[3] / 10));
    }
    if (codes.G[4] != kNoCode)
        FArcAbsolute = codes.G[4] == 901;
    if (codes.G[15] != kNoCode)
        FDiameterMode = codes.G[15] == 70;
    if (codes.G[10] != kNoCode)
        FRetractToR = codes.G[10] == 990;

    const int nonModal = codes.G[0];
    bool axesUsed = codes.G[8] == 431;
    switch (nonModal) {
    case 100:
        SetCoordinateData(block);
        axesUsed = true;
        break;
    case 280:
    case 300:
        GoHome(block, nonModal);
        axesUsed = true;
        break;
    case 281:
        FG28Home = FPosition;
        break;
    case 301:
        FG30Home = FPosition;
        break;
    case 520:
    case 920:
    case 921:
    case 922:
    case 923:
        SetG92(block, nonModal);
        axesUsed = nonModal == 520 || nonModal == 920;
        break;
    default:
        break;
    }

    const int previousMotion = FMotionMode;
    if (codes.G[1] != kNoCode) {
        if (axesUsed && codes.G[1] != 800 && HasAxisWords(block))
            throw EMachineError("Cannot use two G codes that both use axis values: " +
                                CodeName('G', codes.G[1]) + " and " + CodeName('G', nonModal));
        FMotionMode = codes.G[1];
    }
    const bool arcOffsets = block.Has('i') || block.Has('j') || block.Has('k') || block.Has('r');
    // A G0 or G1 without axis words still makes a move, to where the tool is, and centre
    // offsets alone make a full circle in the arc mode.
    const bool moves = HasAxisWords(block) ||
                       ((FMotionMode == 0 || FMotionMode == 10) && codes.G[1] == FMotionMode) ||
                       ((FMotionMode == 20 || FMotionMode == 30) && arcOffsets);
    if (!axesUsed && moves) {
        if (FMotionMode == 800)
            throw EMachineError("Cannot use axis values with G80");
        if (codes.G53 && FMotionMode != 0 && FMotionMode != 10)
            throw EMachineError("Must use G0 or G1 with G53");
        Move(block, codes.G53 ? -FMotionMode - 1 : FMotionMode, previousMotion);
    }

    const int stop = codes.M[4];
    if (stop == 20 || stop == 300)
        FEnded = true;
}

void TMachine::SetToolLength(const TBlockValues& block, int code)
{
    const auto tableEntry = [this](int tool) {
        const auto found = FToolTable.find(tool);
        return found == FToolTable.end() ? TToolOffset{} : found->second;
    };
    const int tool = block.Has('h') ? WholeNumber(block, 'h') : FTool;
    switch (code) {
    case 430:
        FToolOffset = tableEntry(tool);
        break;
    case 431:
        // Older LinuxCNC took the length along Z from K (cone.ngc's "G43.1 K"); 2.9 wants Z.
        if (block.Has('k') && !block.Has('z'))
            FNotices.Add(TNoticeKind::OlderLinuxCnc, FLine, "G43.1 K");
        FToolOffset.X = block.Has('x') ? Length(block, 'x') : 0;
        FToolOffset.Z = block.Has('z')   ? Length(block, 'z')
                        : block.Has('k') ? Length(block, 'k')
                                         : 0;
        break;
    case 432: {
        const TToolOffset added = tableEntry(tool);
        FToolOffset.X += added.X;
        FToolOffset.Z += added.Z;
        break;
    }
    default:
        FToolOffset = {};
        break;
    }
}

void TMachine::SetCoordinateData(const TBlockValues& block)
{
    if (!block.Has('l') || !block.Has('p'))
        throw EMachineError("G10 needs an L word and a P word");
    const int kind = WholeNumber(block, 'l');
    const int number = WholeNumber(block, 'p');
    if (kind == 1 || kind == 10) {
        TToolOffset& entry = FToolTable[number];
        // L10 sets the offset that makes the current position read as the value given.
        const TVector3 frame = ToG92Frame(FPosition);
        const TVector3 tool = ToolOffset();
        if (block.Has('z'))
            entry.Z =
                kind == 1 ? Length(block, 'z') : frame[2] + tool[2] - FG92[2] - Length(block, 'z');
        if (block.Has('x'))
            entry.X =
                kind == 1 ? Length(block, 'x') : frame[0] + tool[0] - FG92[0] - Length(block, 'x');
        return;
    }
    if (kind != 2 && kind != 20) {
        FNotices.Add(TNoticeKind::UnknownCodes, FLine, "G10 L" + std::to_string(kind));
        return;
    }
    if (number < 0 || number > static_cast<int>(kCoordinateSystems))
        throw EMachineError("P value out of range with G10 L" + std::to_string(kind));
    TCoordinateSystem& system =
        FSystems[number == 0 ? FSystem : static_cast<std::size_t>(number - 1)];
    if (kind == 2) {
        for (int axis = 0; axis < 3; ++axis) {
            if (block.Has(AxisLetter(axis)))
                system.Offset[axis] = Length(block, AxisLetter(axis));
        }
    } else {
        // L20 moves the origin so that the current position reads as the values given, in the
        // system's rotated frame: a rotated X or Y moves the origin along both.
        TVector3 target = ToProgram(FPosition);
        for (int axis = 0; axis < 3; ++axis) {
            if (block.Has(AxisLetter(axis)))
                target[axis] = Length(block, AxisLetter(axis)) + FG92[axis];
            else
                target[axis] += FG92[axis];
        }
        const TVector3 rotated = RotateXY(target, system.RotationDegrees);
        const bool planar = block.Has('x') || block.Has('y');
        for (int axis = 0; axis < 3; ++axis) {
            if (block.Has(AxisLetter(axis)) || (axis < 2 && planar && system.RotationDegrees != 0))
                system.Offset[axis] = FPosition[axis] - ToolOffset()[axis] - rotated[axis];
        }
    }
    if (block.Has('r'))
        system.RotationDegrees = block.Value('r');
}

void TMachine::SetG92(const TBlockValues& block, int code)
{
    switch (code) {
    case 920:
    case 520: {
        if (!HasAxisWords(block))
            throw EMachineError("All axes missing with " + CodeName('G', code));
        const TVector3 frame = ToG92Frame(FPosition);
        for (int axis = 0; axis < 3; ++axis) {
            const char letter = AxisLetter(axis);
            if (block.Has(letter))
                FG92[axis] =
                    code == 920 ? frame[axis] - Length(block, letter) : Length(block, letter);
        }
        FG92Saved = FG92;
        break;
    }
    case 921:
        FG92 = FG92Saved = {};
        break;
    case 922:
        FG92 = {};
        break;
    default:
        FG92 = FG92Saved;
        break;
    }
}

void TMachine::GoHome(const TBlockValues& block, int code)
{
    const TVector3& home = code == 280 ? FG28Home : FG30Home;
    if (!HasAxisWords(block)) {
        Emit(TMotionKind::Rapid, FPosition, 0);
        Emit(TMotionKind::Rapid, home, -1);
        return;
    }
    EmitProgram(TMotionKind::Rapid, EndPoint(block));
    TVector3 target = FPosition;
    for (int axis = 0; axis < 3; ++axis) {
        if (block.Has(AxisLetter(axis)))
            target[axis] = home[axis];
    }
    Emit(TMotionKind::Rapid, target, -1);
}

void TMachine::Move(const TBlockValues& block, int motion, int previousMotion)
{
    if (motion < 0) {  // G53: the words are machine coordinates
        TVector3 target = FPosition;
        for (int axis = 0; axis < 3; ++axis) {
            if (block.Has(AxisLetter(axis)))
                target[axis] = Length(block, AxisLetter(axis));
        }
        Emit(-motion - 1 == 0 ? TMotionKind::Rapid : TMotionKind::Feed, target, -1);
        return;
    }
    switch (motion) {
    case 0:
        EmitProgram(TMotionKind::Rapid, EndPoint(block));
        break;
    case 20:
    case 30:
        Arc(block, EndPoint(block), motion == 20);
        break;
    case 760:  // a threading cycle's passes are not drawn
        break;
    default:
        if (IsCycle(motion))
            Cycle(block, motion, previousMotion);
        else  // G1, and the programmed path of what is not modelled
            EmitProgram(TMotionKind::Feed, EndPoint(block));
        break;
    }
}

void TMachine::Arc(const TBlockValues& block, const TVector3& end, bool clockwise)
{
    const TPlaneAxes axes = PlaneAxes(FPlane);
    const TVector3 start = ProgramPosition();
    const char normalOffset = OffsetLetter(axes.Normal);
    const char firstOffset = OffsetLetter(axes.First);
    const char secondOffset = OffsetLetter(axes.Second);
    if (block.Has(normalOffset))
        throw EMachineError(std::string(1, Upper(normalOffset)) + " word given for arc in " +
                            PlaneName(FPlane) + " plane");
    const double first = end[axes.First] - start[axes.First];
    const double second = end[axes.Second] - start[axes.Second];
    const double chord = std::hypot(first, second);
    TVector3 centre = start;
    if (block.Has('r')) {
        if (block.Has(firstOffset) || block.Has(secondOffset))
            throw EMachineError("Arc given with both a radius and centre offsets");
        const double radius = Length(block, 'r');
        if (chord == 0)
            throw EMachineError(
                "Current point same as end point of arc: an R arc cannot be a full circle");
        const double tolerance = FUnits == TLengthUnits::Inches
                                     ? kRadiusReachToleranceInch * kMillimetresPerInch
                                     : kRadiusReachToleranceMm;
        const double half = chord / 2;
        if (std::fabs(radius) < half - tolerance)
            throw EMachineError("Arc radius too small to reach end point");
        const double height = std::sqrt(std::max(0.0, radius * radius - half * half));
        // The centre lies to the left of the chord for a short counter-clockwise arc; a clockwise
        // arc and a negative radius (more than half a turn) each move it to the other side.
        const double side = (clockwise ? -1 : 1) * (radius < 0 ? -1 : 1) * height / chord;
        centre[axes.First] = start[axes.First] + first / 2 - second * side;
        centre[axes.Second] = start[axes.Second] + second / 2 + first * side;
    } else {
        if (!block.Has(firstOffset) && !block.Has(secondOffset))
            throw EMachineError("R, I, J, or K words all missing for arc");
        if (FArcAbsolute) {
            if (!block.Has(firstOffset) || !block.Has(secondOffset))
                throw EMachineError(std::string("G90.1 arc needs both ") + Upper(firstOffset) +
                                    " and " + Upper(secondOffset) + " words");
            centre[axes.First] = Length(block, firstOffset);
            centre[axes.Second] = Length(block, secondOffset);
        } else {
            centre[axes.First] += block.Has(firstOffset) ? Length(block, firstOffset) : 0;
            centre[axes.Second] += block.Has(secondOffset) ? Length(block, secondOffset) : 0;
        }
        const double startRadius = std::hypot(start[axes.First] - centre[axes.First],
                                              start[axes.Second] - centre[axes.Second]);
        const double endRadius = std::hypot(end[axes.First] - centre[axes.First],
                                            end[axes.Second] - centre[axes.Second]);
        const double tolerance = FUnits == TLengthUnits::Inches
                                     ? kArcRadiusToleranceInch * kMillimetresPerInch
                                     : kArcRadiusToleranceMm;
        const double difference = std::fabs(startRadius - endRadius);
        if (startRadius == 0)
            throw EMachineError("Zero-radius arc");
        if (difference > tolerance &&
            difference / std::max(startRadius, endRadius) > kArcRadiusRelativeTolerance) {
            const double unit = Scale();
            throw EMachineError("Radius to end of arc differs from radius to start: r1=" +
                                std::to_string(startRadius / unit) +
                                " r2=" + std::to_string(endRadius / unit));
        }
    }
    TMotionArc arc;
    if (block.Has('p')) {
        const double turns = block.Value('p');
        if (turns < 1 || turns != std::floor(turns))
            throw EMachineError("P value must be a positive whole number of turns with G2 or G3");
        if (turns > kMaximumTurns)
            throw EMachineError("P value over " + std::to_string(kMaximumTurns) +
                                " turns with G2 or G3");
        arc.Turns = static_cast<std::uint32_t>(turns);
    }
    arc.Centre = ToMachine(centre);
    arc.Plane = FPlane;
    arc.Clockwise = clockwise;
    const TVector3 machineEnd = ToMachine(end);
    const double length = ArcLength(MeasureArc(FPosition, machineEnd, arc));
    FMotions.Arcs.push_back(arc);
    Emit(TMotionKind::Arc, machineEnd, length, static_cast<int>(FMotions.Arcs.size() - 1));
}

void TMachine::Cycle(const TBlockValues& block, int motion, int previousMotion)
{
    const TPlaneAxes axes = PlaneAxes(FPlane);
    const char firstLetter = AxisLetter(axes.First);
    const char secondLetter = AxisLetter(axes.Second);
    const char drillLetter = AxisLetter(axes.Normal);
    const TVector3 start = ProgramPosition();
    if (previousMotion != motion) {
        if (!block.Has('r'))
            throw EMachineError("R clearance plane unspecified in cycle");
        if (!block.Has(drillLetter))
            throw EMachineError(std::string(1, Upper(drillLetter)) + " value unspecified in " +
                                PlaneName(FPlane) + " plane canned cycle");
    }
    // The run of cycle blocks starts where the last motion was no cycle; a change of cycle
    // keeps its initial level.
    if (!IsCycle(previousMotion))
        FCycleInitial = start[axes.Normal];
    if (block.Has('r'))
        FCycleR = Length(block, 'r');
    if (block.Has(drillLetter))
        FCycleBottom = Length(block, drillLetter);
    if (block.Has('q'))
        FCycleQ = Length(block, 'q');
    if (block.Has('p'))
        FCycleP = block.Value('p');
    if ((motion == 730 || motion == 830) && !(FCycleQ > 0))
        throw EMachineError("Q word missing or not positive with " + CodeName('G', motion));
    const int repeats = block.Has('l') ? WholeNumber(block, 'l') : 1;

    double first = start[axes.First];
    double second = start[axes.Second];
    double firstStep = 0;
    double secondStep = 0;
    double r = FCycleR;
    double bottom = FCycleBottom;
    // Polar words place the holes in the XY plane: in G91 each repeat turns and moves out by them.
    const bool polar = block.Has('@') || block.Has('^');
    if (FIncremental) {
        // In G91 the R level counts from where the run of cycle blocks started, the bottom
        // from R, and each repeat steps by the X and Y words.
        r += FCycleInitial;
        bottom += r;
        firstStep = block.Has(firstLetter) ? Length(block, firstLetter) : 0;
        secondStep = block.Has(secondLetter) ? Length(block, secondLetter) : 0;
    } else if (polar) {
        const TVector3 point = EndPoint(block);
        first = point[0];
        second = point[1];
    } else {
        first = block.Has(firstLetter) ? Length(block, firstLetter) : first;
        second = block.Has(secondLetter) ? Length(block, secondLetter) : second;
    }
    const auto step = [&] {
        if (!(polar && FIncremental)) {
            first += firstStep;
            second += secondStep;
            return;
        }
        const double radius = std::hypot(first, second) + (block.Has('@') ? Length(block, '@') : 0);
        const double angle =
            std::atan2(second, first) + (block.Has('^') ? block.Value('^') : 0) / kDegreesPerRadian;
        first = radius * std::cos(angle);
        second = radius * std::sin(angle);
    };
    if (bottom > r)
        throw EMachineError("R value less than " + std::string(1, Upper(drillLetter)) +
                            " value in canned cycle");
    double level = FRetractToR ? start[axes.Normal] : FCycleInitial;
    // A run of cycle blocks that starts below R first goes straight up to it.
    const bool climb = !IsCycle(previousMotion) && start[axes.Normal] < r;
    level = std::max(level, r);
    const double clear = FRetractToR ? r : level;

    // The current hole at a height along the drill axis, and moves along that axis.
    const auto hole = [&](double height) {
        TVector3 point;
        point[axes.First] = first;
        point[axes.Second] = second;
        point[axes.Normal] = height;
        return point;
    };
    const auto move = [&](TMotionKind kind, double height) { EmitProgram(kind, hole(height)); };
    const auto rapid = [&](double height) { move(TMotionKind::Rapid, height); };
    const auto feed = [&](double height) { move(TMotionKind::Feed, height); };
    FInCycle = true;
    if (climb) {
        TVector3 point = start;
        point[axes.Normal] = r;
        EmitProgram(TMotionKind::Rapid, point);
    }
    for (int repeat = 0; repeat < repeats; ++repeat) {
        step();
        rapid(level);
        if (level != r)
            rapid(r);
        switch (motion) {
        case 730:
            for (double depth = r - FCycleQ; depth > bottom; depth -= FCycleQ) {
                feed(depth);
                rapid(depth + kPeckClearanceMm);
            }
            feed(bottom);
            rapid(clear);
            break;
        case 830:
            for (double depth = r - FCycleQ; depth > bottom; depth -= FCycleQ) {
                feed(depth);
                rapid(r);
                rapid(depth + kPeckClearanceMm);
            }
            feed(bottom);
            rapid(clear);
            break;
        case 850:
            feed(bottom);
            feed(r);
            if (clear != r)
                rapid(clear);
            break;
        case 890:
            feed(bottom);
            Dwell(FCycleP);
            feed(clear);
            break;
        case 820:
        case 860:
            feed(bottom);
            Dwell(FCycleP);
            rapid(clear);
            break;
        case 880: {
            // The program stops at the bottom and the operator takes the tool out by hand: the
            // reading goes on from the clear level with no move drawn there.
            feed(bottom);
            Dwell(FCycleP);
            FPosition = ToMachine(hole(clear));
            break;
        }
        default:
            feed(bottom);
            rapid(clear);
            break;
        }
        level = clear;
    }
    FInCycle = false;
}

void TMachine::Dwell(double seconds)
{
    FMotions.Dwells.push_back({FMotions.Motions.size(), seconds, static_cast<std::uint32_t>(FLine),
                               static_cast<std::uint32_t>(FCallLine)});
}

void TMachine::Emit(TMotionKind kind, const TVector3& machineEnd, double length, int arc)
{
    if (length < 0)
        length = std::hypot(machineEnd[0] - FPosition[0], machineEnd[1] - FPosition[1],
                            machineEnd[2] - FPosition[2]);
    double rate = 0;
    if (kind != TMotionKind::Rapid) {
        switch (FFeedMode) {
        case TFeedMode::InverseTime:
            rate = length * FFeed;
            break;
        case TFeedMode::PerRevolution:
            rate = FFeed * Scale() * FSpindle;
            break;
        case TFeedMode::PerMinute:
            rate = FFeed * Scale();
            break;
        }
    }
    if (FMotions.Motions.size() == FMotionLimit)
        throw EMachineError("More than " + std::to_string(FMotionLimit) + " motions");
    TMotion motion;
    motion.End = machineEnd;
    motion.Rate = rate;
    motion.Line = static_cast<std::uint32_t>(FLine);
    motion.CallLine = static_cast<std::uint32_t>(FCallLine);
    motion.Arc = arc;
    motion.Kind = kind;
    motion.Cycle = FInCycle;
    FMotions.Motions.push_back(motion);
    FPosition = machineEnd;
}
