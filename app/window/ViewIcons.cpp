#include "app/window/ViewIcons.h"

#include "app/window/Icons.h"

#include <QPainter>
#include <QPixmap>

namespace {

// Four corners around a small box: everything brought inside the frame.
QIcon DrawnFitToViewIcon()
{
    QPixmap pixmap(kIconSizePx, kIconSizePx);
    pixmap.fill(Qt::transparent);
    {
        QPainter p(&pixmap);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(QColor(60, 60, 60), 1.5));
        constexpr double kLow = 1.5, kHigh = 14.5, kArm = 4.5;
        for (const double x : {kLow, kHigh})
            for (const double y : {kLow, kHigh}) {
                const double dx = x == kLow ? kArm : -kArm;
                const double dy = y == kLow ? kArm : -kArm;
                p.drawLine(QPointF(x, y), QPointF(x + dx, y));
                p.drawLine(QPointF(x, y), QPointF(x, y + dy));
            }
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(30, 110, 200));
        p.drawRect(QRectF(5, 5, 6, 6));
    }
    return QIcon(pixmap);
}

}  // namespace

QIcon FitToViewIcon()
{
    return QIcon::fromTheme(QStringLiteral("zoom-fit-best"), DrawnFitToViewIcon());
}
