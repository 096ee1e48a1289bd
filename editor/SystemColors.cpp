#include "editor/SystemColors.h"

#include <QGuiApplication>

#include <array>
#include <optional>

namespace {

struct TPaletteEntry
{
    QPalette::ColorGroup group;
    QPalette::ColorRole role;
};

constexpr TPaletteEntry Active(QPalette::ColorRole role)
{
    return {QPalette::Active, role};
}
constexpr TPaletteEntry Inactive(QPalette::ColorRole role)
{
    return {QPalette::Inactive, role};
}
constexpr TPaletteEntry Disabled(QPalette::ColorRole role)
{
    return {QPalette::Disabled, role};
}

// System colour index -> palette entry. Index 25 names no colour.
constexpr int kSystemColorCount = 31;
constexpr int kUnusedSystemIndex = 25;
constexpr std::array<std::optional<TPaletteEntry>, kSystemColorCount> kSystemColors = {
    Active(QPalette::Button),             //  0 clScrollBar
    Active(QPalette::Window),             //  1 clBackground (desktop)
    Active(QPalette::Highlight),          //  2 clActiveCaption
    Inactive(QPalette::Highlight),        //  3 clInactiveCaption
    Active(QPalette::Window),             //  4 clMenu
    Active(QPalette::Base),               //  5 clWindow
    Active(QPalette::Shadow),             //  6 clWindowFrame
    Active(QPalette::WindowText),         //  7 clMenuText
    Active(QPalette::Text),               //  8 clWindowText
    Active(QPalette::HighlightedText),    //  9 clCaptionText
    Active(QPalette::Window),             // 10 clActiveBorder
    Inactive(QPalette::Window),           // 11 clInactiveBorder
    Active(QPalette::Mid),                // 12 clAppWorkSpace
    Active(QPalette::Highlight),          // 13 clHighlight
    Active(QPalette::HighlightedText),    // 14 clHighlightText
    Active(QPalette::Button),             // 15 clBtnFace
    Active(QPalette::Dark),               // 16 clBtnShadow
    Disabled(QPalette::Text),             // 17 clGrayText
    Active(QPalette::ButtonText),         // 18 clBtnText
    Inactive(QPalette::HighlightedText),  // 19 clInactiveCaptionText
    Active(QPalette::Light),              // 20 clBtnHighlight
    Active(QPalette::Shadow),             // 21 cl3DDkShadow
    Active(QPalette::Midlight),           // 22 cl3DLight
    Active(QPalette::ToolTipText),        // 23 clInfoText
    Active(QPalette::ToolTipBase),        // 24 clInfoBk
    std::nullopt,                         // 25
    Active(QPalette::Link),               // 26 clHotLight
    Active(QPalette::Highlight),          // 27 clGradientActiveCaption
    Inactive(QPalette::Highlight),        // 28 clGradientInactiveCaption
    Active(QPalette::Highlight),          // 29 clMenuHighlight
    Active(QPalette::Window),             // 30 clMenuBar
};
static_assert(!kSystemColors[kUnusedSystemIndex].has_value());

}  // namespace

QColor ColorToQColor(TColor colour, const QPalette& palette)
{
    if (colour == clNone || colour == clDefault)
        return {};
    if (IsSystemColor(colour)) {
        const int index = SystemColorIndex(colour);
        if (index >= kSystemColorCount || !kSystemColors[static_cast<std::size_t>(index)])
            return {};
        const TPaletteEntry& entry = *kSystemColors[static_cast<std::size_t>(index)];
        return palette.color(entry.group, entry.role);
    }
    return QColor(ColorRed(colour), ColorGreen(colour), ColorBlue(colour));
}

QColor ColorToQColor(TColor colour)
{
    return ColorToQColor(colour, QGuiApplication::palette());
}
