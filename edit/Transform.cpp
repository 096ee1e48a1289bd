#include "edit/Transform.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <numbers>
#include <optional>
#include <string_view>

#include "edit/BlockScan.h"
#include "edit/EditRefusal.h"
#include "edit/ModalState.h"
#include "edit/NumberStyle.h"

namespace {

constexpr int kMinimumDecimals = 3;  // what a turned or scaled coordinate is written with at least
constexpr int kMaxAmountDecimals = 6;
constexpr double kMillimetresPerInch = 25.4;
constexpr double kQuarterTurnDegrees = 90;

// Decimals of the shortest text that reads back as the value.
int DecimalsOf(double value)
{
    char text[32];
    const auto result =
        std::to_chars(std::begin(text), std::end(text), value, std::chars_format::fixed);
    const std::string_view written(text, static_cast<std::size_t>(result.ptr - text));
    const std::size_t point = written.find('.');
    if (point == std::string_view::npos)
        return 0;
    return std::min(static_cast<int>(written.size() - point - 1), kMaxAmountDecimals);
}

struct TEdit
{
    std::size_t Begin = 0;
    std::size_t End = 0;
    std::string Text;
};

std::string ApplyEdits(std::string_view line, std::vector<TEdit> edits)
{
    std::stable_sort(edits.begin(), edits.end(),
                     [](const TEdit& a, const TEdit& b) { return a.Begin < b.Begin; });
    std::string result;
    std::size_t pos = 0;
    for (const TEdit& edit : edits) {
        result.append(line.substr(pos, edit.Begin - pos));
        result += edit.Text;
        pos = edit.End;
    }
    result.append(line.substr(pos));
    return result;
}

// The code of a G word with its last whole digit changed to give another code of the same
// group (G2 and G3, G41 and G42), written the way the word was ("G02" gives "G03").
std::string ReplaceCode(std::string_view word, int code)
{
    std::string text(word);
    const std::size_t point = text.find('.');
    const std::size_t last = (point == std::string::npos ? text.size() : point) - 1;
    text[last] = static_cast<char>('0' + (code / 10) % 10);
    return text;
}

int MirroredCode(int code)
{
    switch (code) {
    case gcodes::kArcClockwise:
        return gcodes::kArcCounterClockwise;
    case gcodes::kArcCounterClockwise:
        return gcodes::kArcClockwise;
    case gcodes::kCutterLeft:
        return gcodes::kCutterRight;
    case gcodes::kCutterRight:
        return gcodes::kCutterLeft;
    case gcodes::kCutterLeftDynamic:
        return gcodes::kCutterRightDynamic;
    case gcodes::kCutterRightDynamic:
        return gcodes::kCutterLeftDynamic;
    default:
        return code;
    }
}

// How the line separates its words: " " when a blank stands between two of its items, "" when
// none does; nothing for a line of one item.
std::optional<std::string> SeparatorOf(const TScannedBlock& block)
{
    std::size_t items = 0;
    for (std::size_t i = 0; i < block.Items.size(); ++i) {
        if (block.Items[i].Kind != TItemKind::Blank)
            ++items;
        else if (i > 0 && i + 1 < block.Items.size())
            return " ";
    }
    return items > 1 ? std::optional<std::string>("") : std::nullopt;
}

class TProgramTransformer
{
public:
    TProgramTransformer(const std::vector<std::string>& lines, const TPlaneTransform& transform,
                        const TLineRange& range);
    std::vector<std::string> Run();

private:
    struct TLine
    {
        std::string_view Text;
        const TScannedBlock* Block;
        std::vector<TEdit> Edits;
        std::string Separator;  // between words: " " when the line spaces its words
    };

    // True when the mirror part of the transform reverses the turning sense in the plane.
    bool Reverses(int plane) const;
    std::optional<std::string> TransformLine(TLine& line, const TModalState& state,
                                             const TLineModes& modes);
    std::optional<std::string> TransformArc(TLine& line, const TModalState& state);
    void SetValue(TLine& line, const TBlockItem& word, double value) const;
    // Writes a word the line lacks: letter and value styled like its partner, before or after it.
    void InsertWord(TLine& line, char letter, double value, const TBlockItem& partner,
                    bool before) const;
    bool WritesAsZero(double value, const TBlockItem& style, std::string_view line) const;
    void FixMotionWord(TLine& line, const TLineModes& modes, int plane);

    const std::vector<std::string>& FLines;
    TPlaneTransform FTransform;  // with the shifts in the current line's units
    const TPlaneTransform FGiven;
    const TLineRange FRange;
    bool FAmountsInInch = false;
    int FPrecision = kMinimumDecimals;
    TNumberConventions FConventions;
    std::string FSeparator = " ";  // between words, on lines with one word: as most lines have it
    int FWrittenMotion = -1;       // the motion in force in the transformed text
};

TProgramTransformer::TProgramTransformer(const std::vector<std::string>& lines,
                                         const TPlaneTransform& transform, const TLineRange& range)
    : FLines(lines), FTransform(transform), FGiven(transform), FRange(range)
{}

bool TProgramTransformer::Reverses(int plane) const
{
    const TPlaneTransform& t = FTransform;
    switch (plane) {
    case gcodes::kPlaneZX:
        return t.A * t.Scale < 0;
    case gcodes::kPlaneYZ:
        return t.D * t.Scale < 0;
    default:
        return t.A * t.D - t.B * t.C < 0;
    }
}

bool TProgramTransformer::WritesAsZero(double value, const TBlockItem& style,
                                       std::string_view line) const
{
    const std::string text =
        FormatNumber(value, StyleOf(ValueText(line, style)), FPrecision, FConventions);
    return text.find_first_not_of("+-0.") == std::string::npos;
}

void TProgramTransformer::SetValue(TLine& line, const TBlockItem& word, double value) const
{
    if (!word.Numeric || value == word.Value)
        return;  // unchanged numbers keep their text ("-0.0" stays)
    const std::string_view old = ValueText(line.Text, word);
    line.Edits.push_back(
        {word.ValueBegin, word.End, FormatNumber(value, StyleOf(old), FPrecision, FConventions)});
}

void TProgramTransformer::InsertWord(TLine& line, char letter, double value,
                                     const TBlockItem& partner, bool before) const
{
    const bool lower = std::islower(static_cast<unsigned char>(line.Text[partner.Begin])) != 0;
    std::string word(1, lower ? static_cast<char>(std::tolower(letter)) : letter);
    word += FormatNumber(value, StyleOf(ValueText(line.Text, partner)), FPrecision, FConventions);
    if (before)
        line.Edits.push_back({partner.Begin, partner.Begin, word + line.Separator});
    else
        line.Edits.push_back({partner.End, partner.End, line.Separator + word});
}

std::optional<std::string> TProgramTransformer::TransformArc(TLine& line, const TModalState& state)
{
    const TScannedBlock& block = *line.Block;
    const TPlaneTransform& t = FTransform;
    if (state.Plane < 0)
        return "an arc in a plane other than XY, ZX or YZ";
    if (state.Plane != gcodes::kPlaneXY && !t.AxisAligned())
        return "an arc in the ZX or YZ plane cannot be turned about Z";
    // The centre words of the plane, and the transform of each of their two axes.
    const char first = state.Plane == gcodes::kPlaneYZ ? 'J' : 'I';
    const char second = state.Plane == gcodes::kPlaneXY ? 'J' : 'K';
    const TBlockItem* const u = block.Find(first);
    const TBlockItem* const v = block.Find(second);
    const TBlockItem* const radius = block.Find('R');
    const bool absolute = state.AbsoluteArcCentres;
    const bool centreChanges = absolute || !t.LinearIdentity();
    if ((radius != nullptr && !radius->Numeric && t.Scale != 1) ||
        (centreChanges && ((u != nullptr && !u->Numeric) || (v != nullptr && !v->Numeric))))
        return "the arc's centre or radius is given by a parameter or an expression";
    if (radius != nullptr && t.Scale != 1)
        SetValue(line, *radius, radius->Value * t.Scale);
    if ((u == nullptr && v == nullptr) || !centreChanges)
        return std::nullopt;
    double uValue = u != nullptr ? u->Value : 0;
    double vValue = v != nullptr ? v->Value : 0;
    double newU = 0;
    double newV = 0;
    if (state.Plane == gcodes::kPlaneXY) {
        newU = t.A * uValue + t.B * vValue + (absolute ? t.Tx : 0);
        newV = t.C * uValue + t.D * vValue + (absolute ? t.Ty : 0);
    } else {
        const bool zx = state.Plane == gcodes::kPlaneZX;  // I on X, K on Z; else J on Y, K on Z
        newU = (zx ? t.A : t.D) * uValue + (absolute ? (zx ? t.Tx : t.Ty) : 0);
        newV = t.Scale * vValue + (absolute ? t.Tz : 0);
    }
    if (absolute && (u == nullptr || v == nullptr) && (newU != uValue || newV != vValue))
        return "an absolute arc centre (G90.1) without both of its words";
    if (u != nullptr)
        SetValue(line, *u, newU);
    else if (!WritesAsZero(newU, *v, line.Text))
        InsertWord(line, first, newU, *v, true);
    if (v != nullptr)
        SetValue(line, *v, newV);
    else if (!WritesAsZero(newV, *u, line.Text))
        InsertWord(line, second, newV, *u, false);
    return std::nullopt;
}

std::optional<std::string> TProgramTransformer::TransformLine(TLine& line, const TModalState& state,
                                                              const TLineModes& modes)
{
    const TScannedBlock& block = *line.Block;
    const TPlaneTransform& t = FTransform;
    if (modes.UnreadableCode)
        return "a G code given by a parameter or an expression";
    for (const TBlockItem& item : block.Items)
        if (item.Kind == TItemKind::Unknown) {
            const char c = line.Text[item.Begin];
            return c == '@' || c == '^'
                       ? "polar coordinates"
                       : "'" + std::string(ItemText(line.Text, item)) + "' cannot be read";
        }

    for (const TBlockItem& item : block.Items)
        if (item.Kind == TItemKind::Word && item.Letter == 'G' && Reverses(state.Plane) &&
            MirroredCode(CodeOf(item)) != CodeOf(item) && !IsArc(CodeOf(item)))
            line.Edits.push_back(
                {item.Begin, item.End,
                 ReplaceCode(ItemText(line.Text, item), MirroredCode(CodeOf(item)))});

    switch (modes.NonModal) {
    case gcodes::kDwell:
    case gcodes::kMachineCoordinates:  // machine positions belong to the machine, not the part
    case 281:
    case 301:
    case 921:
    case 922:
    case 923:
        return std::nullopt;
    case gcodes::kSetOffsets:
        if (modes.OffsetTable != 20)
            return std::nullopt;  // tables of offsets and tools, in machine terms
        break;
    default:
        break;
    }
    const bool plainPoints =
        modes.NonModal == gcodes::kHome || modes.NonModal == gcodes::kHomeSecond ||
        modes.NonModal == gcodes::kSetPosition || modes.NonModal == gcodes::kSetOffsets;
    const bool absolute = state.AbsoluteDistance || modes.NonModal == gcodes::kSetPosition ||
                          modes.NonModal == gcodes::kSetOffsets;
    const int motion = plainPoints ? gcodes::kLinear : modes.Motion;

    if (modes.HasAxes && !plainPoints) {
        if (motion == gcodes::kThreading || motion == gcodes::kBackBoring)
            return "a threading or back boring cycle";
        if ((motion == gcodes::kCubicSpline || motion == gcodes::kQuadraticSpline) &&
            !t.LinearIdentity())
            return "a spline's control offsets can only be moved";
        if (IsCannedCycle(motion) && !absolute && !t.AxisAligned())
            return "a canned cycle in incremental distance (G91) cannot be turned";
    }

    const TBlockItem* const x = block.Find('X');
    const TBlockItem* const y = block.Find('Y');
    const TBlockItem* const z = block.Find('Z');
    const bool changesX = t.A != 1 || t.B != 0 || (absolute && t.Tx != 0);
    const bool changesY = t.D != 1 || t.C != 0 || (absolute && t.Ty != 0);
    if ((x != nullptr || y != nullptr) && (changesX || changesY)) {
        // A word is read when its own axis changes or the other axis is turned by it.
        if ((x != nullptr && !x->Numeric && (changesX || t.C != 0)) ||
            (y != nullptr && !y->Numeric && (changesY || t.B != 0)))
            return "coordinates given by parameters or expressions";
        if (state.Diameter && x != nullptr && (!t.AxisAligned() || t.Tx != 0))
            return "X is a diameter here (G7)";
        const bool writeX = x != nullptr || (t.B != 0 && y != nullptr);
        const bool writeY = y != nullptr || (t.C != 0 && x != nullptr);
        double ox = x != nullptr ? x->Value : 0;
        double oy = y != nullptr ? y->Value : 0;
        if (absolute) {
            // A coordinate the line leaves out stays where it was; turning needs to know where.
            const bool needX = (writeX && t.A != 0) || (writeY && t.C != 0);
            const bool needY = (writeY && t.D != 0) || (writeX && t.B != 0);
            if ((x == nullptr && needX && !state.X) || (y == nullptr && needY && !state.Y))
                return "the position before this line is not known (turning needs both X and Y)";
            if (x == nullptr && needX)
                ox = *state.X;
            if (y == nullptr && needY)
                oy = *state.Y;
        }
        const double newX = t.A * ox + t.B * oy + (absolute ? t.Tx : 0);
        const double newY = t.C * ox + t.D * oy + (absolute ? t.Ty : 0);
        if (x != nullptr)
            SetValue(line, *x, newX);
        else if (writeX && (absolute || !WritesAsZero(newX, *y, line.Text)))
            InsertWord(line, 'X', newX, *y, true);
        if (y != nullptr)
            SetValue(line, *y, newY);
        else if (writeY && (absolute || !WritesAsZero(newY, *x, line.Text)))
            InsertWord(line, 'Y', newY, *x, false);
    }
    const auto scaleLength = [&](const TBlockItem* word, double shift) -> bool {
        if (word == nullptr || (t.Scale == 1 && shift == 0))
            return true;
        if (!word->Numeric)
            return false;
        SetValue(line, *word, word->Value * t.Scale + shift);
        return true;
    };
    const double zShift = absolute ? t.Tz : 0;
    if (!scaleLength(z, zShift))
        return "coordinates given by parameters or expressions";
    if (plainPoints)
        return std::nullopt;
    if (IsCannedCycle(motion)) {
        // R is the retract level on Z; Q the peck depth of G73 and G83.
        if (!scaleLength(block.Find('R'), state.AbsoluteDistance ? t.Tz : 0) ||
            ((motion == 730 || motion == 830) && !scaleLength(block.Find('Q'), 0)))
            return "a cycle's levels given by parameters or expressions";
    } else if (motion == gcodes::kSpindleSynced || motion == gcodes::kRigidTap) {
        if (!scaleLength(block.Find('K'), 0))
            return "a thread pitch given by a parameter or an expression";
    } else if (IsArc(motion) && (modes.HasAxes || modes.MotionWord)) {
        if (!t.Identity())
            return TransformArc(line, state);
    }
    return std::nullopt;
}

// Keeps the motion of the transformed text right: a mirrored arc turns the other way, so its G2
// or G3 is swapped, and a line that goes on in an arc mode set before the range gets its own.
void TProgramTransformer::FixMotionWord(TLine& line, const TLineModes& modes, int plane)
{
    const TScannedBlock& block = *line.Block;
    const int wanted =
        IsArc(modes.Motion) && Reverses(plane) ? MirroredCode(modes.Motion) : modes.Motion;
    if (modes.MotionWord) {
        for (const TBlockItem& item : block.Items)
            if (item.Kind == TItemKind::Word && item.Letter == 'G' &&
                CodeOf(item) == *modes.MotionWord && wanted != *modes.MotionWord)
                line.Edits.push_back(
                    {item.Begin, item.End, ReplaceCode(ItemText(line.Text, item), wanted)});
    } else if (modes.HasAxes && IsArc(modes.Motion) && FWrittenMotion != wanted) {
        // After the leading blanks, a block delete and the N word.
        std::size_t at = 0;
        const TBlockItem* styleWord = nullptr;
        for (const TBlockItem& item : block.Items) {
            if (item.Kind == TItemKind::Word && styleWord == nullptr)
                styleWord = &item;
            if (item.Kind == TItemKind::Blank || item.Kind == TItemKind::BlockDelete ||
                (item.Kind == TItemKind::Word && item.Letter == 'N')) {
                at = item.End;
                continue;
            }
            break;
        }
        const bool lower =
            styleWord != nullptr &&
            std::islower(static_cast<unsigned char>(line.Text[styleWord->Begin])) != 0;
        line.Edits.push_back({at, at,
                              (lower ? "g" : "G") + std::to_string(wanted / 10) +
                                  (line.Separator.empty() ? "" : " ")});
    }
    FWrittenMotion = wanted;
}

std::vector<std::string> TProgramTransformer::Run()
{
    // The file's decimals and first units come from every line, the selected or not.
    int fileDecimals = 0;
    std::optional<bool> firstUnitsInch;
    TConventionCounter conventions;
    std::ptrdiff_t spacedLines = 0;
    TScannedBlock block;
    for (const std::string& text : FLines) {
        ScanBlock(text, block);
        if (const std::optional<std::string> separator = SeparatorOf(block))
            spacedLines += separator->empty() ? -1 : 1;
        for (const TBlockItem& item : block.Items) {
            if (item.Kind != TItemKind::Word || !item.Numeric)
                continue;
            if (std::string_view("XYZIJKR").find(item.Letter) != std::string_view::npos) {
                fileDecimals = std::max(fileDecimals, StyleOf(ValueText(text, item)).Decimals);
                conventions.Add(ValueText(text, item));
            }
            if (item.Letter == 'G' && !firstUnitsInch &&
                (CodeOf(item) == gcodes::kInch || CodeOf(item) == gcodes::kMillimetre))
                firstUnitsInch = CodeOf(item) == gcodes::kInch;
        }
    }
    FAmountsInInch = firstUnitsInch.value_or(false);
    FConventions = conventions.Result();
    FSeparator = spacedLines >= 0 ? " " : "";
    FPrecision = std::max({fileDecimals, kMinimumDecimals, FGiven.AmountDecimals});

    std::vector<std::string> result;
    result.reserve(FLines.size());
    std::vector<TRefusedLine> refused;
    TModalState state;
    for (std::size_t index = 0; index < FLines.size(); ++index) {
        const std::string& text = FLines[index];
        if (index > FRange.Last && FWrittenMotion == state.Motion) {
            // The transformed text is in the original's motion again: the rest stays as it is.
            result.insert(result.end(), FLines.begin() + static_cast<std::ptrdiff_t>(index),
                          FLines.end());
            break;
        }
        ScanBlock(text, block);
        const TLineModes modes = state.Read(block);
        state.ApplyCodes(block, modes);
        TLine line{text, &block, {}, {}};
        if (FRange.Contains(index)) {
            const double units = state.Inch == FAmountsInInch ? 1
                                 : state.Inch                 ? 1 / kMillimetresPerInch
                                                              : kMillimetresPerInch;
            FTransform.Tx = FGiven.Tx * units;
            FTransform.Ty = FGiven.Ty * units;
            FTransform.Tz = FGiven.Tz * units;
            line.Separator = SeparatorOf(block).value_or(FSeparator);
            if (const std::optional<std::string> reason = TransformLine(line, state, modes))
                refused.push_back({index, *reason});
            FixMotionWord(line, modes, state.Plane);
            result.push_back(ApplyEdits(text, std::move(line.Edits)));
        } else {
            if (index > FRange.Last && modes.HasAxes && !modes.MotionWord && IsArc(modes.Motion) &&
                FWrittenMotion != modes.Motion)
                refused.push_back(
                    {index, "goes on in the arc mode of the transformed lines before it"});
            if (modes.MotionWord)
                FWrittenMotion = *modes.MotionWord;
            result.push_back(text);
        }
        state.ApplyMotion(block, modes);
    }
    if (!refused.empty())
        throw EEditRefused(std::move(refused));
    return result;
}

}  // namespace

TPlaneTransform TPlaneTransform::Translation(double dx, double dy, double dz)
{
    TPlaneTransform transform;
    transform.Tx = dx;
    transform.Ty = dy;
    transform.Tz = dz;
    transform.AmountDecimals = std::max({DecimalsOf(dx), DecimalsOf(dy), DecimalsOf(dz)});
    return transform;
}

TPlaneTransform TPlaneTransform::Rotation(double degrees, double cx, double cy)
{
    // Quarter turns are exact, so that turning by 90 degrees four times gives the text back.
    double cosine = 0;
    double sine = 0;
    const double quarters = degrees / kQuarterTurnDegrees;
    if (quarters == std::round(quarters)) {
        constexpr int kQuartersPerTurn = 4;
        const int turn =
            ((static_cast<int>(std::fmod(quarters, kQuartersPerTurn)) % kQuartersPerTurn) +
             kQuartersPerTurn) %
            kQuartersPerTurn;
        constexpr double kCosines[] = {1, 0, -1, 0};
        constexpr double kSines[] = {0, 1, 0, -1};
        cosine = kCosines[turn];
        sine = kSines[turn];
    } else {
        const double radians = degrees * std::numbers::pi / (2 * kQuarterTurnDegrees);
        cosine = std::cos(radians);
        sine = std::sin(radians);
    }
    TPlaneTransform transform;
    transform.A = cosine;
    transform.B = -sine;
    transform.C = sine;
    transform.D = cosine;
    transform.Tx = cx - cosine * cx + sine * cy;
    transform.Ty = cy - sine * cx - cosine * cy;
    transform.AmountDecimals = std::max(DecimalsOf(cx), DecimalsOf(cy));
    return transform;
}

TPlaneTransform TPlaneTransform::Mirror(bool x, bool y)
{
    TPlaneTransform transform;
    transform.A = x ? -1 : 1;
    transform.D = y ? -1 : 1;
    return transform;
}

TPlaneTransform TPlaneTransform::Scaling(double factor)
{
    TPlaneTransform transform;
    transform.A = factor;
    transform.D = factor;
    transform.Scale = factor;
    return transform;
}

std::vector<std::string> TransformProgram(const std::vector<std::string>& lines,
                                          const TPlaneTransform& transform, const TLineRange& range)
{
    if (transform.Identity())
        return lines;
    return TProgramTransformer(lines, transform, range).Run();
}
