#include "machine/MotionText.h"

#include <charconv>
#include <cmath>
#include <iterator>

namespace {

constexpr int kDecimals = 4;
constexpr double kHalfLastDigit = 0.00005;  // values that print as zero print without a sign

void AppendNumber(std::string& out, double value)
{
    if (std::fabs(value) < kHalfLastDigit)
        value = 0;
    char text[64];
    const auto result =
        std::to_chars(std::begin(text), std::end(text), value, std::chars_format::fixed, kDecimals);
    out += ' ';
    out.append(text, result.ptr);
}

void AppendPoint(std::string& out, const TVector3& point)
{
    for (const double value : point)
        AppendNumber(out, value);
}

const char* PlaneText(TArcPlane plane)
{
    switch (plane) {
    case TArcPlane::ZX:
        return " ZX";
    case TArcPlane::YZ:
        return " YZ";
    case TArcPlane::XY:
        break;
    }
    return " XY";
}

}  // namespace

std::string FormatMotions(const TMotionList& motions)
{
    static constexpr const char* kKindNames[] = {" rapid", " feed", " arc"};
    std::string out;
    for (const TMotion& motion : motions.Motions) {
        out += std::to_string(motion.Line + 1);
        out += kKindNames[static_cast<int>(motion.Kind)];
        AppendPoint(out, motion.End);
        if (motion.Kind == TMotionKind::Arc) {
            const TMotionArc& arc = motions.Arcs[static_cast<std::size_t>(motion.Arc)];
            out += " C";
            AppendPoint(out, arc.Centre);
            out += PlaneText(arc.Plane);
            out += arc.Clockwise ? " cw " : " ccw ";
            out += std::to_string(arc.Turns);
        }
        out += '\n';
    }
    return out;
}
