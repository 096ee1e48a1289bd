#include "common/ColorTable.h"

#include "common/SameText.h"

#include <algorithm>
#include <array>

namespace {

constexpr std::array<TColorEntry, kColorTableSize> kColorTable{{
    // Standard colours.
    {"clBlack", clBlack},
    {"clMaroon", clMaroon},
    {"clGreen", clGreen},
    {"clOlive", clOlive},
    {"clNavy", clNavy},
    {"clPurple", clPurple},
    {"clTeal", clTeal},
    {"clGray", clGray},
    {"clSilver", clSilver},
    {"clRed", clRed},
    {"clLime", clLime},
    {"clYellow", clYellow},
    {"clBlue", clBlue},
    {"clFuchsia", clFuchsia},
    {"clAqua", clAqua},
    {"clWhite", clWhite},
    // Extended colours.
    {"clMoneyGreen", clMoneyGreen},
    {"clSkyBlue", clSkyBlue},
    {"clCream", clCream},
    {"clMedGray", clMedGray},
    // System colours, with clDefault and clNone among them.
    {"clActiveBorder", clActiveBorder},
    {"clActiveCaption", clActiveCaption},
    {"clAppWorkSpace", clAppWorkSpace},
    {"clBackground", clBackground},
    {"clBtnFace", clBtnFace},
    {"clBtnHighlight", clBtnHighlight},
    {"clBtnShadow", clBtnShadow},
    {"clBtnText", clBtnText},
    {"clCaptionText", clCaptionText},
    {"clDefault", clDefault},
    {"clGradientActiveCaption", clGradientActiveCaption},
    {"clGradientInactiveCaption", clGradientInactiveCaption},
    {"clGrayText", clGrayText},
    {"clHighlight", clHighlight},
    {"clHighlightText", clHighlightText},
    {"clHotLight", clHotLight},
    {"clInactiveBorder", clInactiveBorder},
    {"clInactiveCaption", clInactiveCaption},
    {"clInactiveCaptionText", clInactiveCaptionText},
    {"clInfoBk", clInfoBk},
    {"clInfoText", clInfoText},
    {"clMenu", clMenu},
    {"clMenuBar", clMenuBar},
    {"clMenuHighlight", clMenuHighlight},
    {"clMenuText", clMenuText},
    {"clNone", clNone},
    {"clScrollBar", clScrollBar},
    {"cl3DDkShadow", cl3DDkShadow},
    {"cl3DLight", cl3DLight},
    {"clWindow", clWindow},
    {"clWindowFrame", clWindowFrame},
    {"clWindowText", clWindowText},
}};

constexpr std::array<TColorEntry, kPickerColorCount> MakePickerColors()
{
    std::array<TColorEntry, kPickerColorCount> picker{};
    std::size_t count = 0;
    for (const TColorEntry& entry : kColorTable) {
        if (entry.Value != clNone && entry.Value != clDefault)
            picker[count++] = entry;
    }
    return picker;
}

constexpr std::array<TColorEntry, kPickerColorCount> kPickerColors = MakePickerColors();

}  // namespace

std::span<const TColorEntry> ColorTable()
{
    return kColorTable;
}

std::span<const TColorEntry> PickerColors()
{
    return kPickerColors;
}

std::optional<TColor> IdentToColor(std::string_view identifier)
{
    const auto found = std::ranges::find_if(kColorTable, [identifier](const TColorEntry& entry) {
        return SameText(entry.Identifier, identifier);
    });
    if (found == kColorTable.end())
        return std::nullopt;
    return found->Value;
}

std::optional<std::string_view> ColorToIdent(TColor colour)
{
    const auto found = std::ranges::find(kColorTable, colour, &TColorEntry::Value);
    if (found == kColorTable.end())
        return std::nullopt;
    return found->Identifier;
}
