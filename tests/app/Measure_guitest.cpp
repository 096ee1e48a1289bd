// Measuring in the real window: Shift+clicks near two move ends draw the measure line over the
// kept picture and give the figures to the status bar, or to the playback readout while it
// shows; Esc takes both away.

#include "tests/app/PlotterTestSupport.h"

#include "plot/OpenGLPanel.h"
#include "plot/ViewProjection.h"
#include "tests/support/WaitFor.h"

#include <QApplication>
#include <QLabel>
#include <QSpontaneKeyEvent>
#include <QStatusBar>

namespace {

class TMeasureGuiTest : public TPlotterTest
{
protected:
    // The panel pixel that shows the world point, a few pixels off so that the click snaps.
    QPoint PixelOf(const TPoint3f& point) const
    {
        TOpenGLPanel& panel = window->Panel();
        const TViewProjection projection(panel.ViewState(), panel.ViewBounds(), panel.width(),
                                         panel.height());
        const TPixelPoint pixel = projection.ToPixels(projection.Turned(point));
        return QPoint(static_cast<int>(pixel.x) + 2, static_cast<int>(pixel.y) - 2);
    }

    // A Shift+click as the window system delivers it: spontaneous press and release through
    // QApplication::notify to the window's native window.
    void ShiftClick(const QPoint& local) const
    {
        QWidget& panel = window->Panel();
        QWidget& top = *panel.window();
        const QPointF at(panel.mapTo(&top, local));
        const QPointF global(panel.mapToGlobal(local));
        for (const auto& [type, buttons] :
             {std::pair{QEvent::MouseButtonPress, Qt::MouseButtons(Qt::LeftButton)},
              std::pair{QEvent::MouseButtonRelease, Qt::MouseButtons(Qt::NoButton)}}) {
            QMouseEvent event(type, at, at, global, Qt::LeftButton, buttons, Qt::ShiftModifier);
            QSpontaneKeyEvent::setSpontaneous(&event);
            QApplication::instance()->notify(top.windowHandle(), &event);
        }
    }

    QString Readout() const { return window->findChild<QLabel*>("lblPlaybackMeasure")->text(); }
};

TEST_F(TMeasureGuiTest, ShiftClicksMeasureAndEscClears)
{
    MakeWindow({WriteFile(QStringLiteral("l.ngc"), "G21 G90\nG0 X0 Y0\nG1 X30 Y0 F100\nG1 Y40\n")});
    ShowAndFocusEditor();
    TOpenGLPanel& panel = window->Panel();
    const int paints = panel.PaintCount();
    const int overlayPaints = panel.OverlayPaintCount();

    ShiftClick(PixelOf({0, 0, 0}));
    EXPECT_TRUE(window->statusBar()->currentMessage().isEmpty()) << "one point has no figures";
    ShiftClick(PixelOf({30, 40, 0}));
    EXPECT_EQ(window->statusBar()->currentMessage(),
              QStringLiteral("distance: 50  dX: 30  dY: 40  dZ: 0"));
    EXPECT_SOON(panel.OverlayPaintCount() > overlayPaints);
    EXPECT_EQ(panel.PaintCount(), paints) << "the measure is drawn over the kept picture";

    // A third point starts a new measure; the readout shows it while the bar is up.
    ClickMenuItem("mnuView", "itmViewPlayback");
    ShiftClick(PixelOf({30, 0, 0}));
    ShiftClick(PixelOf({30, 40, 0}));
    EXPECT_EQ(Readout(), QStringLiteral("distance: 40  dX: 0  dY: 40  dZ: 0"));

    panel.setFocus();
    EXPECT_SOON(panel.hasFocus());
    QTest::keyClick(&panel, Qt::Key_Escape);
    EXPECT_TRUE(Readout().isEmpty());
    ShiftClick(PixelOf({30, 0, 0}));
    EXPECT_TRUE(Readout().isEmpty()) << "after Esc a measure starts from its first point";
}

}  // namespace
