#include "edit/ModalState.h"

namespace {

bool IsMotionCode(int code)
{
    switch (code) {
    case gcodes::kRapid:
    case gcodes::kLinear:
    case gcodes::kArcClockwise:
    case gcodes::kArcCounterClockwise:
    case gcodes::kCubicSpline:
    case gcodes::kQuadraticSpline:
    case gcodes::kNurbs:
    case gcodes::kSpindleSynced:
    case gcodes::kRigidTap:
    case gcodes::kThreading:
    case gcodes::kCannedOff:
        return true;
    default:
        return (code >= 382 && code <= 385) || IsCannedCycle(code);  // probing G38.2 to G38.5
    }
}

bool IsNonModalCode(int code)
{
    switch (code) {
    case gcodes::kDwell:
    case gcodes::kSetOffsets:
    case gcodes::kHome:
    case 281:  // G28.1, G30.1: store the position
    case gcodes::kHomeSecond:
    case 301:
    case gcodes::kMachineCoordinates:
    case gcodes::kSetPosition:
    case 921:  // G92.1 to G92.3: offsets cleared or restored
    case 922:
    case 923:
        return true;
    default:
        return false;
    }
}

bool IsCoordinateSystem(int code)
{
    return code >= 540 && code <= 593;
}

}  // namespace

bool IsArc(int motion)
{
    return motion == gcodes::kArcClockwise || motion == gcodes::kArcCounterClockwise;
}

bool IsCannedCycle(int motion)
{
    return motion == 730 || (motion >= 810 && motion <= 890);
}

TLineModes TModalState::Read(const TScannedBlock& block) const
{
    TLineModes modes;
    for (const TBlockItem& item : block.Items) {
        if (item.Kind != TItemKind::Word)
            continue;
        if (item.Letter == 'X' || item.Letter == 'Y' || item.Letter == 'Z')
            modes.HasAxes = true;
        if (item.Letter == 'L') {
            const int tenths = CodeOf(item);
            modes.OffsetTable = tenths >= 0 && tenths % 10 == 0 ? tenths / 10 : -1;
        }
        if (item.Letter != 'G')
            continue;
        const int code = CodeOf(item);
        if (code < 0)
            modes.UnreadableCode = true;
        else if (IsMotionCode(code))
            modes.MotionWord = code;
        else if (IsNonModalCode(code))
            modes.NonModal = code;
    }
    modes.Motion = modes.MotionWord.value_or(Motion);
    return modes;
}

void TModalState::ApplyCodes(const TScannedBlock& block, const TLineModes& modes)
{
    if (block.HasControl) {
        X.reset();
        Y.reset();
    }
    for (const TBlockItem& item : block.Items) {
        if (item.Kind != TItemKind::Word || item.Letter != 'G')
            continue;
        const int code = CodeOf(item);
        switch (code) {
        case gcodes::kAbsolute:
            AbsoluteDistance = true;
            break;
        case gcodes::kIncremental:
            AbsoluteDistance = false;
            break;
        case gcodes::kAbsoluteArcCentres:
            AbsoluteArcCentres = true;
            break;
        case gcodes::kIncrementalArcCentres:
            AbsoluteArcCentres = false;
            break;
        case gcodes::kPlaneXY:
        case gcodes::kPlaneZX:
        case gcodes::kPlaneYZ:
            Plane = code;
            break;
        case 171:
        case 181:
        case 191:
            Plane = -1;
            break;
        case gcodes::kInch:
            Inch = true;
            break;
        case gcodes::kMillimetre:
            Inch = false;
            break;
        case gcodes::kDiameterMode:
            Diameter = true;
            break;
        case gcodes::kRadiusMode:
            Diameter = false;
            break;
        default:
            if (IsCoordinateSystem(code) || code == 921 || code == 922 || code == 923) {
                X.reset();
                Y.reset();
            }
            break;
        }
    }
    if (modes.MotionWord)
        Motion = *modes.MotionWord;
}

void TModalState::ApplyMotion(const TScannedBlock& block, const TLineModes& modes)
{
    const TBlockItem* const x = block.Find('X');
    const TBlockItem* const y = block.Find('Y');
    const auto place = [](std::optional<double>& position, const TBlockItem* word, bool absolute,
                          double repeats) {
        if (word == nullptr)
            return;
        if (!word->Numeric)
            position.reset();
        else if (absolute)
            position = word->Value;
        else if (position)
            *position += word->Value * repeats;
    };
    switch (modes.NonModal) {
    case gcodes::kHome:
    case gcodes::kHomeSecond:
        X.reset();
        Y.reset();
        return;
    case gcodes::kMachineCoordinates:
        if (x != nullptr)
            X.reset();
        if (y != nullptr)
            Y.reset();
        return;
    case gcodes::kSetPosition:
        place(X, x, true, 1);
        place(Y, y, true, 1);
        return;
    case gcodes::kSetOffsets:
        // A new origin for a coordinate system moves the program's frame under the tool.
        if (modes.OffsetTable == 2 || modes.OffsetTable == 20) {
            X.reset();
            Y.reset();
        }
        return;
    case gcodes::kDwell:
        return;
    default:
        break;
    }
    if (!modes.HasAxes)
        return;
    const TBlockItem* const repeat = block.Find('L');
    const double repeats =
        IsCannedCycle(modes.Motion) && repeat != nullptr && repeat->Numeric ? repeat->Value : 1;
    place(X, x, AbsoluteDistance, repeats);
    place(Y, y, AbsoluteDistance, repeats);
}
