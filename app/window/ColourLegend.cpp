#include "app/window/ColourLegend.h"

#include "common/Color.h"
#include "plot/SegmentColouring.h"

#include <QLinearGradient>
#include <QPainter>

#include <algorithm>

namespace {

constexpr int kMarginPx = 6;
constexpr int kBarWidthPx = 160;
constexpr int kBarHeightPx = 10;
constexpr int kSwatchPx = 10;
constexpr int kGradientStops = 16;
constexpr int kBackgroundAlpha = 190;
constexpr int kPlaceOffsetPx = 8;  // from the plot's corner
constexpr int kNumberDigits = 5;

QColor ToQColor(TColor colour)
{
    return QColor(ColorRed(colour), ColorGreen(colour), ColorBlue(colour));
}

}  // namespace

TColourLegend::TColourLegend(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    hide();
}

void TColourLegend::ShowRange(const QString& title, double low, double high, const QString& units,
                              const QString& noValue)
{
    FText = tr("%1: %2 to %3 %4")
                .arg(title, QString::number(low, 'g', kNumberDigits),
                     QString::number(high, 'g', kNumberDigits), units);
    FNoValue = noValue;
    const QFontMetrics metrics = fontMetrics();
    const int lines = noValue.isEmpty() ? 1 : 2;
    const int width = std::max({kBarWidthPx, metrics.horizontalAdvance(FText),
                                kSwatchPx + kMarginPx + metrics.horizontalAdvance(noValue)});
    resize(width + 2 * kMarginPx,
           lines * metrics.height() + kBarHeightPx + (lines + 2) * kMarginPx);
    move(kPlaceOffsetPx, kPlaceOffsetPx);
    show();
    raise();
    update();
}

void TColourLegend::paintEvent(QPaintEvent* /*event*/)
{
    QPainter painter(this);
    painter.fillRect(rect(), QColor(0, 0, 0, kBackgroundAlpha));
    painter.setPen(Qt::white);
    const QFontMetrics metrics = fontMetrics();
    int y = kMarginPx;
    painter.drawText(QRect(kMarginPx, y, width() - 2 * kMarginPx, metrics.height()),
                     Qt::AlignLeft | Qt::AlignVCenter, FText);
    y += metrics.height() + kMarginPx;
    const QRect bar(kMarginPx, y, width() - 2 * kMarginPx, kBarHeightPx);
    QLinearGradient gradient(bar.topLeft(), bar.topRight());
    for (int i = 0; i <= kGradientStops; ++i) {
        const double at = static_cast<double>(i) / kGradientStops;
        gradient.setColorAt(at, ToQColor(GradientColour(at)));
    }
    painter.fillRect(bar, gradient);
    y += kBarHeightPx + kMarginPx;
    if (FNoValue.isEmpty())
        return;
    painter.fillRect(QRect(kMarginPx, y + (metrics.height() - kSwatchPx) / 2, kSwatchPx, kSwatchPx),
                     ToQColor(kNoFeedColour));
    painter.drawText(QRect(2 * kMarginPx + kSwatchPx, y, width(), metrics.height()),
                     Qt::AlignLeft | Qt::AlignVCenter, FNoValue);
}
