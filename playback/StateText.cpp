#include "playback/StateText.h"

#include <array>
#include <cmath>
#include <cstdio>

#include "machine/Plan.h"
#include "playback/MachineStateIndex.h"
#include "playback/TableStateIndex.h"

namespace {

// A length or rate with up to four decimals, trailing zeros dropped.
std::string Number(double value)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.4f", value);
    std::string result = text;
    while (result.back() == '0')
        result.pop_back();
    if (result.back() == '.')
        result.pop_back();
    return result == "-0" ? "0" : result;
}

std::string Point(const TVector3& point, double scale)
{
    return "X" + Number(point[0] * scale) + " Y" + Number(point[1] * scale) + " Z" +
           Number(point[2] * scale);
}

// A G code kept as ten times its number: 10 is G1, 591 is G59.1.
std::string GCode(int code)
{
    std::string text = "G" + std::to_string(code / 10);
    if (code % 10 != 0)
        text += "." + std::to_string(code % 10);
    return text;
}

void Line(std::string& out, const char* key, const std::string& value)
{
    out += key;
    out += ": ";
    out += value;
    out += '\n';
}

std::string Given(std::int32_t value, const char* prefix = "")
{
    return value == TTableState::kNone ? "none" : prefix + std::to_string(value);
}

}  // namespace

std::string FormatMachineState(const TMachineStateAt& state)
{
    const TMachineModes& modes = state.Modes;
    const double scale = FromMillimetres(modes.Units);
    constexpr std::array<int, 3> kPlanes{170, 180, 190};
    constexpr std::array<int, 3> kFeedModes{930, 940, 950};
    constexpr std::array<int, 9> kSystems{540, 550, 560, 570, 580, 590, 591, 592, 593};
    const bool cycle = modes.MotionMode >= 810 && modes.MotionMode <= 890;
    std::string out;
    Line(out, "line", std::to_string(state.Line + 1));
    Line(out, "reached", state.Reached ? "yes" : "no");
    Line(out, "position", Point(state.Work, scale));
    Line(out, "machine position", Point(state.Machine, scale));
    Line(out, "feed", Number(modes.Feed));
    Line(out, "spindle", Number(modes.Spindle));
    Line(out, "tool", std::to_string(modes.Tool));
    Line(out, "selected tool", std::to_string(modes.SelectedTool));
    Line(out, "motion", GCode(modes.MotionMode));
    Line(out, "plane", GCode(kPlanes[static_cast<std::size_t>(modes.Plane)]));
    Line(out, "units", modes.Units == TLengthUnits::Inches ? "G20" : "G21");
    Line(out, "distance", modes.Incremental ? "G91" : "G90");
    Line(out, "arc distance", modes.ArcAbsolute ? "G90.1" : "G91.1");
    Line(out, "feed mode", GCode(kFeedModes[static_cast<std::size_t>(modes.FeedMode)]));
    Line(out, "coordinate system", GCode(kSystems[modes.System]));
    Line(out, "work offset", Point(modes.SystemOffset, scale));
    Line(out, "rotation", Number(modes.RotationDegrees));
    Line(out, "G92 offset", Point(modes.G92, scale));
    Line(out, "tool offset", Point(modes.ToolOffset, scale));
    Line(out, "retract", modes.RetractToR ? "G99" : "G98");
    Line(out, "cycle",
         cycle ? GCode(modes.MotionMode) + " R" + Number(modes.CycleR * scale) + " " +
                     "ZYX"[static_cast<std::size_t>(modes.Plane)] +
                     Number(modes.CycleBottom * scale) + " Q" + Number(modes.CycleQ * scale) +
                     " P" + Number(modes.CycleP)
               : "none");
    Line(out, "ended", modes.Ended ? "yes" : "no");
    return out;
}

std::string FormatTableState(const TTableState& state)
{
    const bool cycle = state.MotionMode >= 81 && state.MotionMode <= 89;
    std::string out;
    Line(out, "line", std::to_string(state.Line + 1));
    Line(out, "position", Point({state.Position.x, state.Position.y, state.Position.z}, 1.0));
    Line(out, "feed", Given(state.Feed));
    Line(out, "spindle", Given(state.Spindle));
    Line(out, "tool", Given(state.Tool));
    Line(out, "motion", "G" + std::to_string(state.MotionMode));
    Line(out, "plane", Given(state.Plane, "G"));
    Line(out, "units", Given(state.Units, "G"));
    Line(out, "distance", Given(state.Distance, "G"));
    Line(out, "feed mode", Given(state.FeedMode, "G"));
    Line(out, "coordinate system", Given(state.Coordinates, "G"));
    Line(out, "cycle", cycle ? "G" + std::to_string(state.MotionMode) : "none");
    return out;
}

std::string FormatMachineState(TMachineStateAt state, const TVector3& machinePosition)
{
    state.Machine = machinePosition;
    state.Work = WorkPosition(state.Modes, machinePosition);
    return FormatMachineState(state);
}

std::string FormatTableState(TTableState state, const TVector3& position)
{
    state.Position = PlotPoint(position, 1);
    return FormatTableState(state);
}

std::string FormatMeasure(const TPoint3f& a, const TPoint3f& b)
{
    const double dx = double(b.x) - a.x, dy = double(b.y) - a.y, dz = double(b.z) - a.z;
    std::string out;
    Line(out, "distance", Number(std::sqrt(dx * dx + dy * dy + dz * dz)));
    Line(out, "dX", Number(dx));
    Line(out, "dY", Number(dy));
    Line(out, "dZ", Number(dz));
    return out;
}
