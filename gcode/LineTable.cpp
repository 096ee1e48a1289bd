#include "gcode/LineTable.h"

#include <bit>
#include <charconv>
#include <cmath>
#include <cstring>
#include <iterator>
#include <limits>
#include <optional>
#include <string>

#include "common/SameText.h"

namespace {

struct TColumnDef
{
    std::string_view Name;
    TFieldType Type;
};

constexpr std::array<TColumnDef, TLineTable::kColumnCount> kColumns{{
    {"Line", TFieldType::AutoInc},          {"ToolRadiusComp", TFieldType::Boolean},
    {"Feedrate", TFieldType::Integer},      {"GMotion", TFieldType::SmallInt},
    {"GPlane", TFieldType::SmallInt},       {"GDistance", TFieldType::SmallInt},
    {"GFeedMode", TFieldType::SmallInt},    {"GUnits", TFieldType::SmallInt},
    {"GCutterComp", TFieldType::SmallInt},  {"GToolOffset", TFieldType::SmallInt},
    {"GCoord", TFieldType::SmallInt},       {"ToolLengthOffset", TFieldType::Float},
    {"ArcOffsetX", TFieldType::Float},      {"ArcOffsetY", TFieldType::Float},
    {"ArcOffsetZ", TFieldType::Float},      {"MStop", TFieldType::SmallInt},
    {"MToolSelect", TFieldType::SmallInt},  {"MSpindleRotation", TFieldType::SmallInt},
    {"MCoolant", TFieldType::SmallInt},     {"LineNumber", TFieldType::Integer},
    {"Dwell", TFieldType::Integer},         {"Radius", TFieldType::Float},
    {"SpindleSpeed", TFieldType::SmallInt}, {"ToolChange", TFieldType::Integer},
    {"AxisX", TFieldType::Float},           {"AxisY", TFieldType::Float},
    {"AxisZ", TFieldType::Float},
}};

using TMask = std::uint32_t;
static_assert(TLineTable::kColumnCount <= std::numeric_limits<TMask>::digits);

constexpr std::size_t kBlockBytes = 64 * 1024;
constexpr std::size_t kFloatBytes = sizeof(double);
constexpr std::size_t kIntegerBytes = sizeof(std::int32_t);
constexpr std::size_t kSmallIntBytes = sizeof(std::int16_t);

constexpr TMask Bit(int column)
{
    return TMask{1} << column;
}

constexpr TMask MaskOf(TFieldType type)
{
    TMask mask = 0;
    for (int c = 0; c < TLineTable::kColumnCount; ++c)
        if (kColumns[c].Type == type)
            mask |= Bit(c);
    return mask;
}

constexpr TMask kFloatColumns = MaskOf(TFieldType::Float);
constexpr TMask kIntegerColumns = MaskOf(TFieldType::Integer);
constexpr TMask kSmallIntColumns = MaskOf(TFieldType::SmallInt);

// The number of set bits, computed inline: std::popcount becomes a library call wherever the
// build cannot assume a population-count instruction, and this runs for every value read.
constexpr std::size_t CountBits(TMask mask)
{
    mask = mask - ((mask >> 1) & 0x55555555u);
    mask = (mask & 0x33333333u) + ((mask >> 2) & 0x33333333u);
    mask = (mask + (mask >> 4)) & 0x0F0F0F0Fu;
    return (mask * 0x01010101u) >> 24;
}

// A row's reals are stored as 32-bit integers m with a shared count of decimals d when every
// one of them is exactly m / 10^d: that division gives back the very double that was stored,
// so readers see no difference, and typical coordinates (four decimals) take half the room.
// The mask's bits above the columns hold d + 1; 0 means the reals are stored as doubles. When
// every m of the row also fits in 24 bits, the mask's top bit is set and each m takes 3 bytes.
constexpr int kScaleShift = TLineTable::kColumnCount;
constexpr TMask kScaleBits = TMask{0xF} << kScaleShift;
constexpr TMask kNarrowBit = TMask{1} << (kScaleShift + 4);
constexpr TMask kFormatBits = kScaleBits | kNarrowBit;
constexpr int kMaxDecimals = 7;
constexpr std::array<double, kMaxDecimals + 1> kPowersOfTen{1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7};
static_assert(TLineTable::kColumnCount + 5 <= std::numeric_limits<TMask>::digits);
constexpr std::size_t kScaledFloatBytes = sizeof(std::int32_t);
constexpr std::size_t kNarrowFloatBytes = 3;
constexpr std::int32_t kNarrowLimit = std::int32_t{1} << (8 * kNarrowFloatBytes - 1);
// A narrow value is read with one 4-byte load that ends with it, its low byte first.
static_assert(std::endian::native == std::endian::little);

constexpr int DecimalsOf(TMask mask)
{
    return static_cast<int>((mask & kScaleBits) >> kScaleShift) - 1;
}

constexpr std::size_t RealBytes(TMask mask)
{
    if ((mask & kScaleBits) == 0)
        return kFloatBytes;
    return (mask & kNarrowBit) != 0 ? kNarrowFloatBytes : kScaledFloatBytes;
}

// Bytes that the values of the columns in the mask take, reals as the mask's format says.
constexpr std::size_t ValueBytes(TMask mask)
{
    return RealBytes(mask) * CountBits(mask & kFloatColumns) +
           kIntegerBytes * CountBits(mask & kIntegerColumns) +
           kSmallIntBytes * CountBits(mask & kSmallIntColumns);
}

constexpr TMask kAllColumns = (TMask{1} << TLineTable::kColumnCount) - 1;
using TMaskEntry = std::uint8_t;
constexpr std::size_t kMasksPerBlock = std::size_t{1} << (8 * sizeof(TMaskEntry));
constexpr std::size_t kMaxRowBytes = sizeof(TMaskEntry) + ValueBytes(kAllColumns);
static_assert(kMaxRowBytes <= kBlockBytes);

// For each column, the columns whose values come before its own in a row: reals, then 32-bit,
// then 16-bit integers, each group in column order.
constexpr std::array<TMask, TLineTable::kColumnCount> MakePrecedingColumns()
{
    std::array<TMask, TLineTable::kColumnCount> preceding{};
    for (int c = 0; c < TLineTable::kColumnCount; ++c) {
        const TMask lower = Bit(c) - 1;
        switch (kColumns[c].Type) {
        case TFieldType::Float:
            preceding[c] = kFloatColumns & lower;
            break;
        case TFieldType::Integer:
            preceding[c] = kFloatColumns | (kIntegerColumns & lower);
            break;
        case TFieldType::SmallInt:
            preceding[c] = kFloatColumns | kIntegerColumns | (kSmallIntColumns & lower);
            break;
        case TFieldType::AutoInc:
        case TFieldType::Boolean:
            break;  // never stored in a row
        }
    }
    return preceding;
}

constexpr std::array<TMask, TLineTable::kColumnCount> kPrecedingColumns = MakePrecedingColumns();

// Writes the values of the columns in the mask and group, in column order; returns the end.
template <typename TStored, typename TSource>
std::byte* PackValues(std::byte* out, TMask mask, const TSource& values)
{
    for (; mask != 0; mask &= mask - 1) {
        const auto stored = static_cast<TStored>(values[std::countr_zero(mask)]);
        std::memcpy(out, &stored, sizeof stored);
        out += sizeof stored;
    }
    return out;
}

// The integer that gives exactly value when divided by 10^decimals, if there is one in range.
std::optional<std::int32_t> Scaled(double value, int decimals)
{
    constexpr double kLargest = std::numeric_limits<std::int32_t>::max();
    const double power = kPowersOfTen[static_cast<std::size_t>(decimals)];
    const double scaled = std::nearbyint(value * power);
    if (!(std::fabs(scaled) <= kLargest))
        return std::nullopt;
    const auto integer = static_cast<std::int32_t>(scaled);
    // Compared bit for bit, so that -0.0 stays a double.
    if (std::bit_cast<std::uint64_t>(integer / power) != std::bit_cast<std::uint64_t>(value))
        return std::nullopt;
    return integer;
}

using TScaledReals = std::array<std::int32_t, TLineTable::kColumnCount>;

// The fewest decimals with which every real of the row scales exactly, if any do: the most
// that any one of them needs (X0.25 Z-0.2764 share four), with the reals so scaled. A value that
// scales with d decimals scales with more too, unless its integer leaves the 32-bit range, so
// the values met before the count rose are scaled again at the end.
template <typename TSource>
std::optional<int> ScaleReals(TMask floats, const TSource& values, TScaledReals& scaled)
{
    if (floats == 0)
        return std::nullopt;
    int decimals = 0;
    bool rose = false;
    for (TMask rest = floats; rest != 0; rest &= rest - 1) {
        const int column = std::countr_zero(rest);
        std::optional<std::int32_t> integer;
        while (!(integer = Scaled(values[column], decimals))) {
            if (++decimals > kMaxDecimals)
                return std::nullopt;
            rose = rose || rest != floats;  // past the first value
        }
        scaled[column] = *integer;
    }
    if (rose)
        for (TMask rest = floats; rest != 0; rest &= rest - 1) {
            const int column = std::countr_zero(rest);
            const std::optional<std::int32_t> integer = Scaled(values[column], decimals);
            if (!integer)
                return std::nullopt;
            scaled[column] = *integer;
        }
    return decimals;
}

// Whether every scaled real of the row fits in the narrow form.
bool FitNarrow(TMask floats, const TScaledReals& scaled)
{
    for (; floats != 0; floats &= floats - 1) {
        const std::int32_t integer = scaled[std::countr_zero(floats)];
        if (integer < -kNarrowLimit || integer >= kNarrowLimit)
            return false;
    }
    return true;
}

std::byte* PackNarrowValues(std::byte* out, TMask floats, const TScaledReals& scaled)
{
    for (; floats != 0; floats &= floats - 1) {
        std::memcpy(out, &scaled[std::countr_zero(floats)], kNarrowFloatBytes);
        out += kNarrowFloatBytes;
    }
    return out;
}

template <typename T>
T ReadValue(const std::byte* at)
{
    T value;
    std::memcpy(&value, at, sizeof value);
    return value;
}

// A 3-byte value, sign extended. The byte before it always belongs to the row (its mask entry
// or the value before), so one 4-byte load ending with the value reads it.
std::int32_t ReadNarrow(const std::byte* at)
{
    return static_cast<std::int32_t>(ReadValue<std::uint32_t>(at - 1)) >> 8;
}

// Where a set column's value starts in a row: after the mask and the values before it, reals
// sized as the row's format says.
const std::byte* ValueAt(const std::byte* row, TMask mask, int column)
{
    return row + sizeof(TMaskEntry) +
           ValueBytes((mask & kPrecedingColumns[column]) | (mask & kFormatBits));
}

// Calls use(readReal, bytes) for the form in which the mask's row stores its reals: a double, or
// a scaled integer of 4 or 3 bytes with the row's decimals; readReal gives the real stored at a
// place and bytes is its size. Each form gets code of its own, so a loop over a row's reals tests
// the form once.
template <typename TUse>
void WithRealForm(TMask mask, TUse use)
{
    const int decimals = DecimalsOf(mask);
    if (decimals < 0) {
        use([](const std::byte* at) { return ReadValue<double>(at); }, kFloatBytes);
        return;
    }
    const double power = kPowersOfTen[static_cast<std::size_t>(decimals)];
    if ((mask & kNarrowBit) != 0)
        use([power](const std::byte* at) { return ReadNarrow(at) / power; }, kNarrowFloatBytes);
    else
        use([power](const std::byte* at) { return ReadValue<std::int32_t>(at) / power; },
            kScaledFloatBytes);
}

// A number in shortest general form with up to 15 significant digits.
std::string FormatGeneral(double value)
{
    constexpr int kSignificantDigits = 15;
    char text[32];
    const auto result = std::to_chars(std::begin(text), std::end(text), value,
                                      std::chars_format::general, kSignificantDigits);
    return std::string(text, result.ptr);
}

}  // namespace

TLineTable::TLineTable() = default;

int TLineTable::ColumnIndex(std::string_view name) const
{
    for (int c = 0; c < kColumnCount; ++c)
        if (SameText(kColumns[c].Name, name))
            return c;
    throw ETableError("Field '" + std::string(name) + "' not found");
}

void TLineTable::ColumnRangeError(int column)
{
    throw ETableError("Column index " + std::to_string(column) + " out of range");
}

std::string_view TLineTable::ColumnName(int column) const
{
    return kColumns[CheckedColumn(column)].Name;
}

TFieldType TLineTable::ColumnType(int column) const
{
    return kColumns[CheckedColumn(column)].Type;
}

void TLineTable::AccessError(int column, std::string_view asType) const
{
    throw ETableError("Cannot access field '" + std::string(kColumns[column].Name) + "' as type " +
                      std::string(asType));
}

void TLineTable::StartPendingRow()
{
    FPending = true;
    FPendingMask = 0;
}

void TLineTable::SettlePendingRow()
{
    if (!FPending)
        return;
    if (RowModified())
        CommitRow();
    else
        DiscardRow();
}

void TLineTable::EmptyTable()
{
    SettlePendingRow();
    FBlocks.clear();
    FRowCount = 0;
    FCurrent = {};
    FCurrentIndex = 0;
    FAtEnd = true;
}

void TLineTable::AppendRow()
{
    SettlePendingRow();
    StartPendingRow();
}

void TLineTable::CommitRow()
{
    if (!FPending)
        return;
    // A block takes rows while the largest row would still fit, so the row's size is known
    // only once it is packed.
    const TMask floats = FPendingMask & kFloatColumns;
    TScaledReals scaled;
    const std::optional<int> decimals = ScaleReals(floats, FPendingFloat, scaled);
    const bool narrow = decimals && FitNarrow(floats, scaled);
    const TMask rowMask = FPendingMask |
                          (decimals ? static_cast<TMask>(*decimals + 1) << kScaleShift : 0) |
                          (narrow ? kNarrowBit : 0);
    std::optional<TMaskEntry> entry;
    if (!FBlocks.empty() && kBlockBytes - FBlocks.back().Used >= kMaxRowBytes)
        entry = MaskEntry(rowMask);
    if (!entry) {
        FBlocks.push_back({std::make_unique_for_overwrite<std::byte[]>(kBlockBytes), 0, {}});
        entry = MaskEntry(rowMask);
    }
    TBlock& block = FBlocks.back();
    std::byte* const rowStart = block.Data.get() + block.Used;
    std::byte* out = rowStart;
    std::memcpy(out, &*entry, sizeof *entry);
    out += sizeof *entry;
    if (narrow)
        out = PackNarrowValues(out, floats, scaled);
    else if (decimals)
        out = PackValues<std::int32_t>(out, floats, scaled);
    else
        out = PackValues<double>(out, floats, FPendingFloat);
    out = PackValues<std::int32_t>(out, FPendingMask & kIntegerColumns, FPendingInteger);
    out = PackValues<std::int16_t>(out, FPendingMask & kSmallIntColumns, FPendingInteger);
    const auto rowBytes = static_cast<std::size_t>(out - rowStart);

    if (FRowCount == 0)
        FFirstLine = FNextLine;
    // The counter wraps like the 32-bit value it is instead of overflowing.
    FNextLine = static_cast<std::int32_t>(static_cast<std::uint32_t>(FNextLine) + 1);
    FCurrent = {FBlocks.size() - 1, block.Used};
    FCurrentIndex = FRowCount;
    block.Used += rowBytes;
    ++FRowCount;
    FAtEnd = false;
    FPending = false;
    FPendingMask = 0;
}

void TLineTable::AppendTable(TLineTable&& later)
{
    SettlePendingRow();
    if (later.FRowCount > 0) {
        if (FRowCount == 0)
            FFirstLine = FNextLine;
        FNextLine = static_cast<std::int32_t>(static_cast<std::uint32_t>(FNextLine) +
                                              static_cast<std::uint32_t>(later.FRowCount));
        FCurrent = {FBlocks.size() + later.FCurrent.Block, later.FCurrent.Offset};
        FCurrentIndex = FRowCount + later.FCurrentIndex;
        FRowCount += later.FRowCount;
        FAtEnd = false;
        FBlocks.insert(FBlocks.end(), std::make_move_iterator(later.FBlocks.begin()),
                       std::make_move_iterator(later.FBlocks.end()));
    }
    FPending = later.FPending;
    FPendingMask = later.FPendingMask;
    FPendingFloat = later.FPendingFloat;
    FPendingInteger = later.FPendingInteger;
    later.DiscardRow();
    later.EmptyTable();
}

std::optional<std::uint8_t> TLineTable::MaskEntry(TMask mask)
{
    std::vector<TMask>& masks = FBlocks.back().Masks;
    // Newest first: consecutive rows mostly share their mask.
    for (std::size_t i = masks.size(); i-- > 0;)
        if (masks[i] == mask)
            return static_cast<TMaskEntry>(i);
    if (masks.size() == kMasksPerBlock)
        return std::nullopt;
    masks.push_back(mask);
    return static_cast<TMaskEntry>(masks.size() - 1);
}

void TLineTable::DiscardRow()
{
    FPending = false;
    FPendingMask = 0;
}

void TLineTable::SetInteger(int column, std::int32_t value)
{
    const TFieldType type = ColumnType(column);
    if (type != TFieldType::SmallInt && type != TFieldType::Integer)
        AccessError(column, "Integer");
    if (!FPending)
        throw ETableError("No row is being written");
    constexpr std::int32_t kSmallIntMin = std::numeric_limits<std::int16_t>::min();
    constexpr std::int32_t kSmallIntMax = std::numeric_limits<std::int16_t>::max();
    if (type == TFieldType::SmallInt && (value < kSmallIntMin || value > kSmallIntMax))
        throw ERangeError(FormatGeneral(value) + " is not a valid value for field '" +
                          std::string(kColumns[column].Name) + "'. The allowed range is " +
                          FormatGeneral(kSmallIntMin) + " to " + FormatGeneral(kSmallIntMax));
    FPendingInteger[column] = value;
    FPendingMask |= Bit(column);
}

void TLineTable::SetFloat(int column, double value)
{
    if (ColumnType(column) != TFieldType::Float)
        AccessError(column, "Float");
    if (!FPending)
        throw ETableError("No row is being written");
    FPendingFloat[column] = value;
    FPendingMask |= Bit(column);
}

void TLineTable::MoveFirst()
{
    SettlePendingRow();
    FCurrent = {};
    FCurrentIndex = 0;
    FAtEnd = FRowCount == 0;
}

void TLineTable::MoveNext()
{
    if (FAtEnd)
        return;
    if (FCurrentIndex + 1 >= FRowCount) {
        FAtEnd = true;  // the cursor stays on the last row
        return;
    }
    FCurrent.Offset += sizeof(TMaskEntry) + ValueBytes(CurrentMask());
    if (FCurrent.Offset >= FBlocks[FCurrent.Block].Used)
        FCurrent = {FCurrent.Block + 1, 0};
    ++FCurrentIndex;
}

void TLineTable::MoveTo(const TBookmark& mark)
{
    SettlePendingRow();
    FCurrent = {mark.FBlock, mark.FOffset};
    FCurrentIndex = mark.FIndex;
    FAtEnd = FCurrentIndex >= FRowCount;
}

bool TLineTable::HasCurrentRow() const
{
    return FRowCount > 0;
}

TLineTable::TMask TLineTable::CurrentMask() const
{
    const TBlock& block = FBlocks[FCurrent.Block];
    return block.Masks[ReadValue<TMaskEntry>(block.Data.get() + FCurrent.Offset)];
}

bool TLineTable::IsNull(int column) const
{
    const TFieldType type = ColumnType(column);
    if (FPending)
        return (FPendingMask & Bit(column)) == 0;
    if (!HasCurrentRow())
        return true;
    if (type == TFieldType::AutoInc)
        return false;
    return (CurrentMask() & Bit(column)) == 0;
}

std::uint32_t TLineTable::SetColumns() const
{
    if (FPending)
        return FPendingMask;
    return HasCurrentRow() ? CurrentMask() & kAllColumns : 0;
}

std::int32_t TLineTable::GetInteger(int column) const
{
    const TFieldType type = ColumnType(column);
    if (type == TFieldType::Float)
        AccessError(column, "Integer");
    if (FPending)
        return (FPendingMask & Bit(column)) != 0 ? FPendingInteger[column] : 0;
    if (!HasCurrentRow())
        return 0;
    if (type == TFieldType::AutoInc)
        return static_cast<std::int32_t>(static_cast<std::uint32_t>(FFirstLine) +
                                         static_cast<std::uint32_t>(FCurrentIndex));
    // The row's mask is read once, for the null test and the value's place.
    const std::byte* const row = CurrentRow();
    const TMask mask = CurrentMask();
    if ((mask & Bit(column)) == 0)
        return 0;
    const std::byte* const value = ValueAt(row, mask, column);
    switch (type) {
    case TFieldType::SmallInt:
        return ReadValue<std::int16_t>(value);
    case TFieldType::Integer:
        return ReadValue<std::int32_t>(value);
    case TFieldType::AutoInc:
    case TFieldType::Boolean:  // never set, so always null
    case TFieldType::Float:
        break;
    }
    return 0;
}

double TLineTable::GetFloat(int column) const
{
    if (ColumnType(column) != TFieldType::Float)
        return GetInteger(column);
    if (FPending)
        return (FPendingMask & Bit(column)) != 0 ? FPendingFloat[column] : 0;
    if (!HasCurrentRow())
        return 0;
    const std::byte* const row = CurrentRow();
    const TMask mask = CurrentMask();
    if ((mask & Bit(column)) == 0)
        return 0;
    const std::byte* const at = ValueAt(row, mask, column);
    double value = 0;
    WithRealForm(mask, [&](auto readReal, std::size_t) { value = readReal(at); });
    return value;
}

void TLineTable::GetFloats(int first, int count, double* values) const
{
    for (int column = first; column < first + count; ++column)
        if (ColumnType(column) != TFieldType::Float)
            AccessError(column, "Float");
    if (FPending) {
        for (int i = 0; i < count; ++i)
            if ((FPendingMask & Bit(first + i)) != 0)
                values[i] = FPendingFloat[first + i];
        return;
    }
    if (!HasCurrentRow())
        return;
    // Reals are packed in column order, so the set ones of adjacent real columns follow each other.
    const std::byte* const row = CurrentRow();
    const TMask mask = CurrentMask();
    const std::byte* value = ValueAt(row, mask, first);
    WithRealForm(mask, [&](auto readReal, std::size_t step) {
        for (int i = 0; i < count; ++i) {
            if ((mask & Bit(first + i)) == 0)
                continue;
            values[i] = readReal(value);
            value += step;
        }
    });
}

std::size_t TLineTable::AllocatedBytes() const
{
    std::size_t bytes = sizeof(*this) + FBlocks.capacity() * sizeof(TBlock);
    for (const TBlock& block : FBlocks)
        bytes += kBlockBytes + block.Masks.capacity() * sizeof(TMask);
    return bytes;
}
