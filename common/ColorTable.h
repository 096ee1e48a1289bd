#pragma once
// The colour identifier table: the names by which the settings file stores colours and from
// which every colour picker offers its entries.

#include "common/Color.h"

#include <optional>
#include <span>
#include <string_view>

struct TColorEntry
{
    std::string_view Identifier;
    TColor Value;
};

constexpr int kColorTableSize = 52;
constexpr int kPickerColorCount = 50;  // the table without clNone and clDefault

// All 52 entries in table order; every value differs.
std::span<const TColorEntry> ColorTable();

// The entries a colour picker offers: the table in its order without clNone and clDefault.
std::span<const TColorEntry> PickerColors();

// The colour of the first entry whose identifier equals the text, ignoring ASCII letter case.
std::optional<TColor> IdentToColor(std::string_view identifier);

// The identifier of the first entry with that colour.
std::optional<std::string_view> ColorToIdent(TColor colour);
