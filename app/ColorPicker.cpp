#include "ColorPicker.h"

#include "ColorTable.h"

#include <QEvent>
#include <QPainter>
#include <QPalette>
#include <QPixmap>

#include <algorithm>
#include <array>
#include <span>

namespace {

constexpr int kSwatchWidthPx = 16;
constexpr int kSwatchHeightPx = 12;

struct TSystemColorRole
{
    QPalette::ColorGroup Group;
    QPalette::ColorRole Role;
};

// The desktop's system colours (0xFF0000nn, index nn) as the roles of the application palette
// that play the same part.
constexpr std::array<TSystemColorRole, 31> kSystemColorRoles{{
    {QPalette::Active, QPalette::Midlight},          // 0 scroll bar
    {QPalette::Active, QPalette::Dark},              // 1 desktop background
    {QPalette::Active, QPalette::Highlight},         // 2 active caption
    {QPalette::Inactive, QPalette::Highlight},       // 3 inactive caption
    {QPalette::Active, QPalette::Window},            // 4 menu
    {QPalette::Active, QPalette::Base},              // 5 window
    {QPalette::Active, QPalette::Shadow},            // 6 window frame
    {QPalette::Active, QPalette::WindowText},        // 7 menu text
    {QPalette::Active, QPalette::Text},              // 8 window text
    {QPalette::Active, QPalette::HighlightedText},   // 9 caption text
    {QPalette::Active, QPalette::Window},            // 10 active border
    {QPalette::Inactive, QPalette::Window},          // 11 inactive border
    {QPalette::Active, QPalette::Mid},               // 12 application work space
    {QPalette::Active, QPalette::Highlight},         // 13 highlight
    {QPalette::Active, QPalette::HighlightedText},   // 14 highlight text
    {QPalette::Active, QPalette::Button},            // 15 button face
    {QPalette::Active, QPalette::Dark},              // 16 button shadow
    {QPalette::Disabled, QPalette::Text},            // 17 grey text
    {QPalette::Active, QPalette::ButtonText},        // 18 button text
    {QPalette::Inactive, QPalette::HighlightedText}, // 19 inactive caption text
    {QPalette::Active, QPalette::Light},             // 20 button highlight
    {QPalette::Active, QPalette::Shadow},            // 21 3D dark shadow
    {QPalette::Active, QPalette::Midlight},          // 22 3D light
    {QPalette::Active, QPalette::ToolTipText},       // 23 info text
    {QPalette::Active, QPalette::ToolTipBase},       // 24 info background
    {QPalette::Active, QPalette::WindowText},        // 25 unused index
    {QPalette::Active, QPalette::Link},              // 26 hot light
    {QPalette::Active, QPalette::Highlight},         // 27 gradient of the active caption
    {QPalette::Inactive, QPalette::Highlight},       // 28 gradient of the inactive caption
    {QPalette::Active, QPalette::Highlight},         // 29 menu highlight
    {QPalette::Active, QPalette::Window},            // 30 menu bar
}};

QColor SwatchColor(TColor colour, const QPalette& palette)
{
    if (IsSystemColor(colour)) {
        const std::size_t index = SystemColorIndex(colour);
        if (index >= kSystemColorRoles.size())
            return palette.color(QPalette::Active, QPalette::WindowText);
        const TSystemColorRole& role = kSystemColorRoles[index];
        return palette.color(role.Group, role.Role);
    }
    return QColor(ColorRed(colour), ColorGreen(colour), ColorBlue(colour));
}

QIcon Swatch(const QColor& colour)
{
    QPixmap pixmap(kSwatchWidthPx, kSwatchHeightPx);
    pixmap.fill(colour);
    QPainter painter(&pixmap);
    painter.setPen(Qt::black);
    painter.drawRect(0, 0, kSwatchWidthPx - 1, kSwatchHeightPx - 1);
    return QIcon(pixmap);
}

} // namespace

TColorPicker::TColorPicker(QWidget* parent) : QComboBox(parent), m_color(PickerColors().front().Value)
{
    setIconSize(QSize(kSwatchWidthPx, kSwatchHeightPx));
    AddEntries();
    connect(this, &QComboBox::activated, this, &TColorPicker::EntryActivated);
}

void TColorPicker::AddEntries()
{
    for (const TColorEntry& entry : PickerColors())
        addItem(QString::fromLatin1(entry.Identifier.data(), static_cast<qsizetype>(entry.Identifier.size())));
    PaintSwatches();
    // Adding the first entry selected it; the picker's colour says so already.
}

void TColorPicker::PaintSwatches()
{
    const std::span<const TColorEntry> entries = PickerColors();
    for (std::size_t i = 0; i < entries.size(); ++i)
        setItemIcon(static_cast<int>(i), Swatch(SwatchColor(entries[i].Value, palette())));
}

void TColorPicker::SetColor(TColor colour)
{
    const std::span<const TColorEntry> entries = PickerColors();
    const auto found = std::ranges::find(entries, colour, &TColorEntry::Value);
    setCurrentIndex(found == entries.end() ? -1 : static_cast<int>(found - entries.begin()));
    m_color = colour;
}

void TColorPicker::EntryActivated(int index)
{
    const std::span<const TColorEntry> entries = PickerColors();
    if (index < 0 || index >= static_cast<int>(entries.size()))
        return;
    const TColor chosen = entries[static_cast<std::size_t>(index)].Value;
    if (chosen == m_color)
        return;
    m_color = chosen;
    emit ColorChanged(chosen);
}

void TColorPicker::changeEvent(QEvent* event)
{
    QComboBox::changeEvent(event);
    if (event->type() == QEvent::PaletteChange)
        PaintSwatches();
}
