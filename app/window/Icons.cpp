#include "app/window/Icons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <array>

namespace {

enum Slot {
    kUndo = 0,
    kDelete = 1,
    kCopy = 2,
    kCut = 3,
    kPaste = 5,
    kNew = 6,
    kOpen = 7,
    kSave = 9,
    kSaveAs = 10,
    kExit = 12,
    kRefresh = 13,
    kColors = 14
};

// Freedesktop icon names by slot; nullptr for the slots no action uses.
constexpr std::array<const char*, kIconSlotCount> kThemeNames = {"edit-undo",
                                                                 "edit-delete",
                                                                 "edit-copy",
                                                                 "edit-cut",
                                                                 nullptr,
                                                                 "edit-paste",
                                                                 "document-new",
                                                                 "document-open",
                                                                 nullptr,
                                                                 "document-save",
                                                                 "document-save-as",
                                                                 nullptr,
                                                                 "application-exit",
                                                                 "view-refresh",
                                                                 "preferences-desktop-theme"};

const QColor kOutline(60, 60, 60);
const QColor kPaper(255, 255, 255);

void DrawPage(QPainter& p, const QRectF& r)
{
    constexpr qreal kFoldPx = 3;
    QPainterPath page;
    page.moveTo(r.left(), r.top());
    page.lineTo(r.right() - kFoldPx, r.top());
    page.lineTo(r.right(), r.top() + kFoldPx);
    page.lineTo(r.right(), r.bottom());
    page.lineTo(r.left(), r.bottom());
    page.closeSubpath();
    p.setPen(kOutline);
    p.setBrush(kPaper);
    p.drawPath(page);
}

void DrawFloppy(QPainter& p)
{
    p.setPen(kOutline);
    p.setBrush(QColor(40, 90, 170));
    p.drawRect(QRectF(1.5, 1.5, 13, 13));
    p.setBrush(kPaper);
    p.drawRect(QRectF(4.5, 1.5, 7, 5));
    p.setBrush(QColor(200, 200, 200));
    p.drawRect(QRectF(3.5, 9.5, 9, 5));
}

void DrawArrowHead(QPainter& p, QPointF tip, QPointF back1, QPointF back2)
{
    const QPointF head[] = {tip, back1, back2};
    p.drawPolygon(head, 3);
}

void Draw(QPainter& p, int slot)
{
    switch (slot) {
    case kUndo: {
        const QColor arrow(30, 110, 200);
        p.setPen(QPen(arrow, 2));
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(3, 4, 10, 9), 90 * 16, -270 * 16);
        p.setPen(arrow);
        p.setBrush(arrow);
        DrawArrowHead(p, {1, 8.5}, {6, 5}, {6, 12});
        break;
    }
    case kDelete:
        p.setPen(QPen(QColor(200, 30, 30), 3, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(3, 3), QPointF(13, 13));
        p.drawLine(QPointF(13, 3), QPointF(3, 13));
        break;
    case kCopy:
        DrawPage(p, QRectF(1.5, 1.5, 8, 10));
        DrawPage(p, QRectF(6.5, 4.5, 8, 10));
        break;
    case kCut:
        p.setPen(QPen(kOutline, 1.5));
        p.drawLine(QPointF(4, 1), QPointF(10, 11));
        p.drawLine(QPointF(12, 1), QPointF(6, 11));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QRectF(2, 10, 4, 4));
        p.drawEllipse(QRectF(10, 10, 4, 4));
        break;
    case kPaste:
        p.setPen(kOutline);
        p.setBrush(QColor(170, 120, 60));
        p.drawRect(QRectF(2.5, 2.5, 10, 12));
        p.setBrush(QColor(180, 180, 180));
        p.drawRect(QRectF(5.5, 1.5, 4, 2));
        DrawPage(p, QRectF(7.5, 6.5, 7, 8));
        break;
    case kNew:
        DrawPage(p, QRectF(3.5, 1.5, 10, 13));
        break;
    case kOpen:
        p.setPen(kOutline);
        p.setBrush(QColor(230, 190, 60));
        p.drawRect(QRectF(1.5, 4.5, 13, 9));
        p.drawRect(QRectF(1.5, 2.5, 5, 2));
        break;
    case kSave:
        DrawFloppy(p);
        break;
    case kSaveAs:
        DrawFloppy(p);
        p.setPen(QPen(QColor(220, 140, 20), 2, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(8, 14), QPointF(15, 7));
        break;
    case kExit: {
        p.setPen(kOutline);
        p.setBrush(QColor(150, 100, 60));
        p.drawRect(QRectF(1.5, 1.5, 7, 13));
        const QColor arrow(30, 140, 60);
        p.setPen(QPen(arrow, 2));
        p.drawLine(QPointF(6, 8), QPointF(12, 8));
        p.setPen(arrow);
        p.setBrush(arrow);
        DrawArrowHead(p, {15, 8}, {11, 4.5}, {11, 11.5});
        break;
    }
    case kRefresh: {
        const QColor arrow(30, 140, 60);
        p.setPen(QPen(arrow, 2));
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(2.5, 2.5, 11, 11), 60 * 16, 300 * 16);
        p.setPen(arrow);
        p.setBrush(arrow);
        DrawArrowHead(p, {13.5, 1}, {14, 7}, {8.5, 4});
        break;
    }
    case kColors:
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(230, 40, 40, 200));
        p.drawEllipse(QRectF(1, 1, 9, 9));
        p.setBrush(QColor(40, 180, 40, 200));
        p.drawEllipse(QRectF(6, 1, 9, 9));
        p.setBrush(QColor(40, 80, 230, 200));
        p.drawEllipse(QRectF(3.5, 6, 9, 9));
        break;
    default:
        break;
    }
}

}  // namespace

QIcon DrawnActionIcon(int slot)
{
    if (slot < 0 || slot >= kIconSlotCount || kThemeNames[slot] == nullptr)
        return {};
    QPixmap pixmap(kIconSizePx, kIconSizePx);
    pixmap.fill(Qt::transparent);
    {
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        Draw(painter, slot);
    }
    return QIcon(pixmap);
}

QIcon ActionIcon(int slot)
{
    if (slot < 0 || slot >= kIconSlotCount || kThemeNames[slot] == nullptr)
        return {};
    return QIcon::fromTheme(QLatin1String(kThemeNames[slot]), DrawnActionIcon(slot));
}
