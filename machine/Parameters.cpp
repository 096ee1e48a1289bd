#include "machine/Parameters.h"

#include <algorithm>
#include <deque>
#include <iterator>
#include <mutex>
#include <unordered_map>

#include "machine/MachineError.h"

namespace {

// What answers a predefined name: the machine-state hook, or this store itself.
enum class TAnswer : std::uint8_t {
    Hook,
    Value,
    ValueReturned,
    CallLevel,
    VersionMajor,
    VersionMinor,
    Zero,  // _task and _remap_level: no machine task, no remapping in a reading
    Position,
    CurrentTool,
    CoordSystem,
};

struct TPredefinedName
{
    const char* Name;
    TAnswer Answer;
    TPredefined Hook;  // for TAnswer::Hook
    int Axis;          // for TAnswer::Position
};

constexpr TPredefinedName Hooked(const char* name, TPredefined hook)
{
    return {name, TAnswer::Hook, hook, 0};
}

constexpr TPredefinedName Own(const char* name, TAnswer answer, int axis = 0)
{
    return {name, answer, TPredefined::Line, axis};
}

// LinuxCNC 2.9's read-only names. They take the first ids of the name table, so that a name's id
// tells at once whether it is predefined.
constexpr TPredefinedName kPredefinedNames[] = {
    Hooked("_line", TPredefined::Line),
    Hooked("_motion_mode", TPredefined::MotionMode),
    Hooked("_plane", TPredefined::Plane),
    Hooked("_ccomp", TPredefined::CutterComp),
    Hooked("_metric", TPredefined::Metric),
    Hooked("_imperial", TPredefined::Imperial),
    Hooked("_absolute", TPredefined::Absolute),
    Hooked("_incremental", TPredefined::Incremental),
    Hooked("_inverse_time", TPredefined::InverseTime),
    Hooked("_units_per_minute", TPredefined::UnitsPerMinute),
    Hooked("_units_per_rev", TPredefined::UnitsPerRev),
    Hooked("_tool_offset", TPredefined::ToolOffset),
    Hooked("_retract_r_plane", TPredefined::RetractRPlane),
    Hooked("_retract_old_z", TPredefined::RetractOldZ),
    Hooked("_spindle_rpm_mode", TPredefined::SpindleRpmMode),
    Hooked("_spindle_css_mode", TPredefined::SpindleCssMode),
    Hooked("_ijk_absolute_mode", TPredefined::IjkAbsoluteMode),
    Hooked("_lathe_diameter_mode", TPredefined::LatheDiameterMode),
    Hooked("_lathe_radius_mode", TPredefined::LatheRadiusMode),
    Hooked("_spindle_on", TPredefined::SpindleOn),
    Hooked("_spindle_cw", TPredefined::SpindleCw),
    Hooked("_mist", TPredefined::Mist),
    Hooked("_flood", TPredefined::Flood),
    Hooked("_speed_override", TPredefined::SpeedOverride),
    Hooked("_feed_override", TPredefined::FeedOverride),
    Hooked("_adaptive_feed", TPredefined::AdaptiveFeed),
    Hooked("_feed_hold", TPredefined::FeedHold),
    Hooked("_feed", TPredefined::Feed),
    Hooked("_rpm", TPredefined::Rpm),
    Hooked("_abs_x", TPredefined::AbsX),
    Hooked("_abs_y", TPredefined::AbsY),
    Hooked("_abs_z", TPredefined::AbsZ),
    Hooked("_abs_a", TPredefined::AbsA),
    Hooked("_abs_b", TPredefined::AbsB),
    Hooked("_abs_c", TPredefined::AbsC),
    Hooked("_current_pocket", TPredefined::CurrentPocket),
    Hooked("_selected_tool", TPredefined::SelectedTool),
    Hooked("_selected_pocket", TPredefined::SelectedPocket),
    Own("_value", TAnswer::Value),
    Own("_value_returned", TAnswer::ValueReturned),
    Own("_call_level", TAnswer::CallLevel),
    Own("_vmajor", TAnswer::VersionMajor),
    Own("_vminor", TAnswer::VersionMinor),
    Own("_task", TAnswer::Zero),
    Own("_remap_level", TAnswer::Zero),
    Own("_x", TAnswer::Position, 0),
    Own("_y", TAnswer::Position, 1),
    Own("_z", TAnswer::Position, 2),
    Own("_a", TAnswer::Position, 3),
    Own("_b", TAnswer::Position, 4),
    Own("_c", TAnswer::Position, 5),
    Own("_u", TAnswer::Position, 6),
    Own("_v", TAnswer::Position, 7),
    Own("_w", TAnswer::Position, 8),
    Own("_current_tool", TAnswer::CurrentTool),
    Own("_coord_system", TAnswer::CoordSystem),
};
constexpr int kPredefinedCount = static_cast<int>(std::size(kPredefinedNames));

// The version that #<_vmajor> and #<_vminor> report: the dialect read is LinuxCNC 2.9.0.
constexpr double kVersionMajor = 2.9;
constexpr double kVersionMinor = 0.0;

// Every name met by any reading of the process, numbered in the order met. Readings may run on
// several threads at once (the window and a tool), hence the lock; it is taken only when a
// block is compiled or a message names a parameter, never while a loop runs.
class TNameTable
{
public:
    TNameTable()
    {
        for (const TPredefinedName& name : kPredefinedNames)
            Add(name.Name);
    }

    int Intern(std::string_view name)
    {
        std::lock_guard lock(FMutex);
        const auto found = FIds.find(std::string(name));
        return found != FIds.end() ? found->second : Add(name);
    }

    const std::string& NameOf(int id)
    {
        std::lock_guard lock(FMutex);
        return FNames.at(static_cast<std::size_t>(id >> 1));
    }

private:
    // The lowest bit of an id tells a global name, so that lookups need not read the name.
    int Add(std::string_view name)
    {
        const int id = static_cast<int>(FNames.size() << 1) | (name.starts_with('_') ? 1 : 0);
        FNames.emplace_back(name);  // a deque: references given out stay valid
        FIds.emplace(FNames.back(), id);
        return id;
    }

    std::mutex FMutex;
    std::deque<std::string> FNames;
    std::unordered_map<std::string, int> FIds;
};

TNameTable& Names()
{
    static TNameTable table;
    return table;
}

bool IsGlobalName(int id)
{
    return (id & 1) != 0;
}

bool IsPredefinedName(int id)
{
    return (id >> 1) < kPredefinedCount;
}

void CheckIndex(int index)
{
    if (index < 1 || index > TParameters::kLastNumbered)
        throw EMachineError("Parameter number out of range");
}

int OffsetIndex(int system, int slot)
{
    if (system < 1 || system > TParameters::kCoordinateSystems || slot < 0 ||
        slot > TParameters::kRotationSlot)
        throw EMachineError("Coordinate system out of range");
    return TParameters::kG54Offset + (system - 1) * TParameters::kCoordinateSystemStride + slot;
}

}  // namespace

TParameters::TParameters() : FNumbered(kLastNumbered + 1), FFrames(1)
{
    FNumbered[kCoordinateSystem] = 1;
    FNumbered[kDebugOutput] = 1;
}

double TParameters::Numbered(int index) const
{
    CheckIndex(index);
    return FNumbered[index];
}

void TParameters::SetNumbered(int index, double value)
{
    CheckIndex(index);
    FNumbered[index] = value;
}

int TParameters::Intern(std::string_view name)
{
    return Names().Intern(name);
}

const std::string& TParameters::NameOf(int id)
{
    return Names().NameOf(id);
}

double TParameters::Named(std::string_view name) const
{
    return Named(Intern(name));
}

void TParameters::SetNamed(std::string_view name, double value)
{
    SetNamed(Intern(name), value);
}

bool TParameters::NamedExists(std::string_view name) const
{
    return NamedExists(Intern(name));
}

const double* TParameters::FindNamed(int id) const
{
    if (IsGlobalName(id)) {
        const auto slot = static_cast<std::size_t>(id >> 1);
        return slot < FGlobalSet.size() && FGlobalSet[slot] ? &FGlobals[slot] : nullptr;
    }
    for (const auto& [localId, value] : FFrames[FDepth].Locals)
        if (localId == id)
            return &value;
    return nullptr;
}

double TParameters::Named(int id) const
{
    if (IsPredefinedName(id))
        return ReadPredefined(id);
    if (const double* value = FindNamed(id))
        return *value;
    throw EMachineError("Named parameter #<" + NameOf(id) + "> not defined");
}

void TParameters::SetNamed(int id, double value)
{
    if (IsPredefinedName(id))
        throw EMachineError("Cannot assign to read-only parameter #<" + NameOf(id) + ">");
    if (IsGlobalName(id)) {
        const auto slot = static_cast<std::size_t>(id >> 1);
        if (slot >= FGlobals.size()) {
            FGlobals.resize(slot + 1);
            FGlobalSet.resize(slot + 1);
        }
        FGlobals[slot] = value;
        FGlobalSet[slot] = 1;
        return;
    }
    if (const double* found = FindNamed(id)) {
        *const_cast<double*>(found) = value;
        return;
    }
    FFrames[FDepth].Locals.emplace_back(id, value);
}

bool TParameters::NamedExists(int id) const
{
    return IsPredefinedName(id) || FindNamed(id) != nullptr;
}

double TParameters::ReadPredefined(int id) const
{
    const TPredefinedName& name = kPredefinedNames[id >> 1];
    switch (name.Answer) {
    case TAnswer::Hook:
        return FPredefinedSource ? FPredefinedSource(name.Hook) : 0;
    case TAnswer::Value:
        return FReturnValue;
    case TAnswer::ValueReturned:
        return FValueReturned ? 1 : 0;
    case TAnswer::CallLevel:
        return FDepth;
    case TAnswer::VersionMajor:
        return kVersionMajor;
    case TAnswer::VersionMinor:
        return kVersionMinor;
    case TAnswer::Zero:
        return 0;
    case TAnswer::Position:
        return FNumbered[kPosition + name.Axis];
    case TAnswer::CurrentTool:
        return FNumbered[kToolNumber];
    case TAnswer::CoordSystem: {
        // 540 to 590 for G54 to G59, then 591 to 593 for G59.1 to G59.3
        constexpr double kSixthSystem = 6;
        const double system = FNumbered[kCoordinateSystem];
        return system <= kSixthSystem ? 530 + 10 * system : 584 + system;
    }
    }
    return 0;
}

void TParameters::Call(const double* arguments, int count, bool localArguments)
{
    ++FDepth;
    if (FDepth == static_cast<int>(FFrames.size()))
        FFrames.emplace_back();
    TFrame& frame = FFrames[FDepth];
    frame.Locals.clear();
    frame.LocalArguments = localArguments;
    if (localArguments) {
        for (int i = 0; i < kCallArguments; ++i) {
            frame.SavedArguments[i] = FNumbered[i + 1];
            FNumbered[i + 1] = i < count ? arguments[i] : 0;
        }
    }
    FReturnValue = 0;
    FValueReturned = false;
}

void TParameters::Return(std::optional<double> value)
{
    if (FDepth == 0)
        throw EMachineError("Return outside a subroutine");
    const TFrame& frame = FFrames[FDepth];
    if (frame.LocalArguments)
        std::copy(frame.SavedArguments.begin(), frame.SavedArguments.end(), FNumbered.begin() + 1);
    --FDepth;
    FReturnValue = value.value_or(0);
    FValueReturned = value.has_value();
}

void TParameters::SetCoordinateOffset(int system, int slot, double value)
{
    FNumbered[OffsetIndex(system, slot)] = value;
}
