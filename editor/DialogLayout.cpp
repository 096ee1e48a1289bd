#include "editor/DialogLayout.h"

#include <QRect>
#include <QStringList>
#include <QWidget>

#include <algorithm>

namespace {

constexpr int kFontPixelSize = 11;

}  // namespace

QFont DialogFont()
{
    QFont font;
    // The first installed family wins; the narrow faces come close to Tahoma's widths.
    font.setFamilies({QStringLiteral("Tahoma"), QStringLiteral("DejaVu Sans Condensed"),
                      QStringLiteral("Liberation Sans Narrow"),
                      QStringLiteral("Nimbus Sans Narrow")});
    font.setPixelSize(kFontPixelSize);
    return font;
}

int PlaceCaption(QWidget& caption, const QRect& place)
{
    const int overflow = std::max(0, caption.sizeHint().width() - place.width());
    caption.setGeometry(place.adjusted(0, 0, overflow, 0));
    return overflow;
}
