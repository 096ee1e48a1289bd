#include "editor/ColorPicker.h"

#include "common/ColorTable.h"
#include "editor/SystemColors.h"

#include <QAbstractItemView>
#include <QEvent>
#include <QPainter>
#include <QPixmap>
#include <QProxyStyle>

#include <algorithm>
#include <span>

namespace {

constexpr int kSwatchWidthPx = 16;
constexpr int kSwatchHeightPx = 12;
// The open list shows this many entries and scrolls through the rest.
constexpr int kVisibleEntries = 16;

// Some desktop styles open a drop-down list as a menu, as tall as all its entries or the screen,
// and ignore the visible-entry limit. This style asks for a scrolling list instead and leaves
// everything else to the desktop's style.
class TScrollingListStyle : public QProxyStyle
{
public:
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override
    {
        if (hint == SH_ComboBox_Popup)
            return 0;
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

QIcon Swatch(const QColor& colour)
{
    QPixmap pixmap(kSwatchWidthPx, kSwatchHeightPx);
    pixmap.fill(colour);
    QPainter painter(&pixmap);
    painter.setPen(Qt::black);
    painter.drawRect(0, 0, kSwatchWidthPx - 1, kSwatchHeightPx - 1);
    return QIcon(pixmap);
}

}  // namespace

TColorPicker::TColorPicker(QWidget* parent)
    : QComboBox(parent), FColor(PickerColors().front().Value)
{
    setIconSize(QSize(kSwatchWidthPx, kSwatchHeightPx));
    auto* style = new TScrollingListStyle;
    style->setParent(this);
    setStyle(style);
    setMaxVisibleItems(kVisibleEntries);
    // The list was made under the desktop's style, which scrolls a menu by arrows only.
    view()->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    AddEntries();
    connect(this, &QComboBox::activated, this, &TColorPicker::EntryActivated);
}

void TColorPicker::AddEntries()
{
    for (const TColorEntry& entry : PickerColors())
        addItem(QString::fromLatin1(entry.Identifier.data(),
                                    static_cast<qsizetype>(entry.Identifier.size())));
    PaintSwatches();
    // Adding the first entry selected it; the picker's colour says so already.
}

void TColorPicker::PaintSwatches()
{
    const std::span<const TColorEntry> entries = PickerColors();
    for (std::size_t i = 0; i < entries.size(); ++i)
        setItemIcon(static_cast<int>(i), Swatch(ColorToQColor(entries[i].Value, palette())));
}

void TColorPicker::SetColor(TColor colour)
{
    const std::span<const TColorEntry> entries = PickerColors();
    const auto found = std::ranges::find(entries, colour, &TColorEntry::Value);
    setCurrentIndex(found == entries.end() ? -1 : static_cast<int>(found - entries.begin()));
    FColor = colour;
}

void TColorPicker::EntryActivated(int index)
{
    const std::span<const TColorEntry> entries = PickerColors();
    if (index < 0 || index >= static_cast<int>(entries.size()))
        return;
    const TColor chosen = entries[static_cast<std::size_t>(index)].Value;
    if (chosen == FColor)
        return;
    FColor = chosen;
    emit ColorChanged(chosen);
}

void TColorPicker::changeEvent(QEvent* event)
{
    QComboBox::changeEvent(event);
    if (event->type() == QEvent::PaletteChange)
        PaintSwatches();
}
