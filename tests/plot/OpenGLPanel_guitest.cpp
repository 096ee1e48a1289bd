// The real plot panel in a window under Xvfb: what it draws, read back from its framebuffer, how
// pointer drags move the drawing, and the focus rule.
#include "plot/OpenGLPanel.h"
#include "tests/support/PointerMove.h"
#include "tests/support/WaitFor.h"

#include <QApplication>
#include <QImage>
#include <QLineEdit>
#include <QLocale>
#include <QOpenGLContext>
#include <QOpenGLFunctions>
#include <QPalette>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <memory>
#include <numbers>
#include <vector>

namespace {

constexpr int kPanelSize = 400;  // square: both axis factors equal the zoom factor
constexpr int kEditorHeight = 30;
constexpr QRgb kBlack = 0xFF000000;
constexpr QRgb kGreen = 0xFF00FF00;
constexpr QRgb kRed = 0xFFFF0000;
constexpr QRgb kBlue = 0xFF0000FF;

// Waits for Qt to deliver what the X server reports, up to a few seconds.
bool WaitFor(const std::function<bool()>& condition)
{
    constexpr int kStepMs = 10;
    constexpr int kSteps = 300;
    for (int step = 0; step < kSteps && !condition(); ++step)
        QTest::qWait(kStepMs);
    return condition();
}

// A world point turned like the panel turns it: first about Y, then about X (degrees).
QPointF Turned(double x, double y, double z, double rotationX, double rotationY, double* depth)
{
    const double b = rotationY * std::numbers::pi / 180.0;
    const double a = rotationX * std::numbers::pi / 180.0;
    const double x1 = x * std::cos(b) + z * std::sin(b);
    const double z1 = -x * std::sin(b) + z * std::cos(b);
    const double y2 = y * std::cos(a) - z1 * std::sin(a);
    if (depth)
        *depth = y * std::sin(a) + z1 * std::cos(a);
    return {x1, y2};
}

class TOpenGLPanelTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        window = std::make_unique<QWidget>();
        window->resize(kPanelSize, kPanelSize + kEditorHeight);
        panel = new TOpenGLPanel(window.get());
        panel->setGeometry(0, 0, kPanelSize, kPanelSize);
        editor = new QLineEdit(window.get());
        editor->setGeometry(0, kPanelSize, kPanelSize, kEditorHeight);
        panel->OnStatusText = [this](TOpenGLPanel& sender, const std::string& text) {
            EXPECT_EQ(&sender, panel);
            texts.push_back(text);
        };
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
        editor->setFocus();
        ASSERT_TRUE(WaitFor([this] { return editor->hasFocus(); }));
    }

    void TearDown() override { window.reset(); }

    void Drag(Qt::MouseButton button, QPoint from, QPoint to)
    {
        QTest::mousePress(panel, button, {}, from);
        QTest::mouseMove(panel, to);
        QTest::mouseRelease(panel, button, {}, to);
    }

    // Pixel of a world point after the turns, in the panel's current view window.
    QPointF PixelOf(QPointF world) const
    {
        const TViewBounds b = panel->ViewBounds();
        return {(world.x() - b.left) / (b.right - b.left) * kPanelSize,
                (b.top - world.y()) / (b.top - b.bottom) * kPanelSize};
    }

    // Whether the pixel at p, or one next to it, has the colour: lines are one pixel wide and
    // their exact row or column on a pixel boundary is the rasteriser's choice.
    static bool ColourNear(const QImage& image, QPointF p, QRgb colour)
    {
        const int cx = static_cast<int>(std::floor(p.x()));
        const int cy = static_cast<int>(std::floor(p.y()));
        for (int y = cy - 1; y <= cy + 1; ++y)
            for (int x = cx - 1; x <= cx + 1; ++x)
                if (image.valid(x, y) && image.pixel(x, y) == colour)
                    return true;
        return false;
    }

    // Share of the points along the middle of a line (pixels from..to) that find its colour.
    static double Coverage(const QImage& image, QPointF from, QPointF to, QRgb colour)
    {
        constexpr double kStart = 0.15;
        constexpr double kEnd = 0.85;
        const double length = std::hypot(to.x() - from.x(), to.y() - from.y());
        const int samples = static_cast<int>(length * (kEnd - kStart));
        int hits = 0;
        for (int i = 0; i < samples; ++i) {
            const double t = kStart + (kEnd - kStart) * i / samples;
            hits += ColourNear(image, from + (to - from) * t, colour);
        }
        return samples ? static_cast<double>(hits) / samples : 0.0;
    }

    // What the panel's framebuffer holds now, read without painting again.
    QImage FramebufferNow()
    {
        panel->makeCurrent();
        QImage image(kPanelSize, kPanelSize, QImage::Format_RGBA8888);
        panel->context()->functions()->glReadPixels(0, 0, kPanelSize, kPanelSize, GL_RGBA,
                                                    GL_UNSIGNED_BYTE, image.bits());
        panel->doneCurrent();
        return image.mirrored().convertToFormat(QImage::Format_RGB32);
    }

    std::unique_ptr<QWidget> window;
    TOpenGLPanel* panel = nullptr;
    QLineEdit* editor = nullptr;
    std::vector<std::string> texts;
};

TEST_F(TOpenGLPanelTest, ContextIsACompatibilityContextWithADepthBuffer)
{
    ASSERT_NE(panel->context(), nullptr);
    ASSERT_TRUE(panel->context()->isValid());
    const QSurfaceFormat format = panel->context()->format();
    EXPECT_EQ(format.profile(), QSurfaceFormat::CompatibilityProfile);
    EXPECT_GE(format.depthBufferSize(), 16);
    EXPECT_GE(format.redBufferSize(), 8);
    EXPECT_GT(panel->PaintCount(), 0);
}

TEST_F(TOpenGLPanelTest, EmptyPlotIsBlackInside)
{
    const QImage image = panel->grabFramebuffer();
    ASSERT_EQ(image.size(), QSize(kPanelSize, kPanelSize));
    // At reset the axes lie on the left and bottom edges.
    constexpr int kEdge = 3;
    int lit = 0;
    for (int y = kEdge; y < kPanelSize - kEdge; ++y)
        for (int x = kEdge; x < kPanelSize - kEdge; ++x)
            lit += image.pixel(x, y) != kBlack;
    EXPECT_EQ(lit, 0);
}

TEST_F(TOpenGLPanelTest, PanAndTurnShowSolidAndDottedHalfAxes)
{
    panel->SetExtent(20);
    Drag(Qt::LeftButton, {100, 300}, {300, 100});    // pan -200, -200: origin in the middle
    Drag(Qt::MiddleButton, {200, 200}, {230, 230});  // turn 30° about Y and 30° about X
    ASSERT_EQ(panel->ViewState().panX, -200);
    ASSERT_EQ(panel->ViewState().rotationX, 30.0);
    const QImage image = panel->grabFramebuffer();

    struct TAxis
    {
        double x, y, z;
        QRgb colour;
    };
    constexpr double kLength = 10.0;
    for (const TAxis& axis :
         {TAxis{kLength, 0, 0, kGreen}, TAxis{0, kLength, 0, kRed}, TAxis{0, 0, kLength, kBlue}}) {
        const QPointF origin = PixelOf({0, 0});
        const QPointF positive = PixelOf(Turned(axis.x, axis.y, axis.z, 30, 30, nullptr));
        const QPointF negative = PixelOf(Turned(-axis.x, -axis.y, -axis.z, 30, 30, nullptr));
        EXPECT_GT(Coverage(image, origin, positive, axis.colour), 0.9)
            << "solid half-axis of colour " << std::hex << axis.colour;
        const double dotted = Coverage(image, origin, negative, axis.colour);
        EXPECT_GT(dotted, 0.05) << "dotted half-axis of colour " << std::hex << axis.colour;
        EXPECT_LT(dotted, 0.6) << "dotted half-axis of colour " << std::hex << axis.colour;
    }
}

TEST_F(TOpenGLPanelTest, SegmentsShowInTheirColourWhereTheViewMapsThem)
{
    panel->AddSegment({2, 5, 0}, {8, 5, 0}, 0x00FF8040);
    panel->AddSegment({2, 3, 0}, {8, 3, 0}, 0xFF00FF00);  // top byte ignored: pure green
    const QImage image = panel->grabFramebuffer();
    EXPECT_TRUE(ColourNear(image, PixelOf({5, 5}), qRgb(0x40, 0x80, 0xFF)));
    EXPECT_TRUE(ColourNear(image, PixelOf({5, 3}), kGreen));
    EXPECT_EQ(image.pixel(PixelOf({5, 7}).toPoint()), kBlack);
}

TEST_F(TOpenGLPanelTest, SegmentTurnedBeyondTheExtentIsClipped)
{
    panel->AddSegment({2, 5, 0}, {2, 5, 20}, clYellow);
    Drag(Qt::MiddleButton, {100, 100}, {130, 100});  // 30° about Y
    const QImage image = panel->grabFramebuffer();
    // The turned z, -1 + 0.866 z, passes the extent 10 at z = 12.7, x = 8.08.
    double depth = 0;
    const QPointF inside = Turned(2, 5, 6, 0, 30, &depth);
    ASSERT_LT(depth, 10.0);
    const QPointF beyond = Turned(2, 5, 14.5, 0, 30, &depth);
    ASSERT_GT(depth, 10.0);
    ASSERT_LT(beyond.x(), panel->ViewBounds().right);  // would be in view if not clipped
    EXPECT_TRUE(ColourNear(image, PixelOf(inside), qRgb(0xFF, 0xFF, 0)));
    EXPECT_FALSE(ColourNear(image, PixelOf(beyond), qRgb(0xFF, 0xFF, 0)));
}

TEST_F(TOpenGLPanelTest, LeftDragCarriesTheSegmentWithThePointer)
{
    panel->AddSegment({5, 2, 0}, {5, 8, 0}, clWhite);
    const QPointF before = PixelOf({5, 5});
    ASSERT_TRUE(ColourNear(panel->grabFramebuffer(), before, qRgb(255, 255, 255)));

    Drag(Qt::LeftButton, {100, 300}, {140, 300});

    EXPECT_EQ(panel->ViewState().panX, -40);
    EXPECT_EQ(texts.front(), "Moved mouse from 100,300 to -40,0");
    const QPointF after = PixelOf({5, 5});
    EXPECT_GT(after.x(), before.x() + 40);  // moved right, with the pointer
    const QImage image = panel->grabFramebuffer();
    EXPECT_TRUE(ColourNear(image, after, qRgb(255, 255, 255)));
    EXPECT_FALSE(ColourNear(image, before, qRgb(255, 255, 255)));
}

TEST_F(TOpenGLPanelTest, MiddleDragTurnsTheSegment)
{
    panel->AddSegment({5, 2, 0}, {5, 8, 0}, clWhite);
    const QPointF before = PixelOf({5, 5});

    Drag(Qt::MiddleButton, {100, 300}, {160, 300});  // 60° about Y: x = 5 cos 60° = 2.5

    EXPECT_EQ(panel->ViewState().rotationY, 60.0);
    const QImage image = panel->grabFramebuffer();
    EXPECT_TRUE(ColourNear(image, PixelOf({2.5, 5}), qRgb(255, 255, 255)));
    EXPECT_FALSE(ColourNear(image, before, qRgb(255, 255, 255)));
}

TEST_F(TOpenGLPanelTest, OperationsThatPaintHaveDrawnWhenTheyReturn)
{
    panel->AddSegment({5, 2, 0}, {5, 8, 0}, clWhite);
    const QPointF at = PixelOf({5, 5});
    int painted = panel->PaintCount();
    panel->SetExtent(10);
    EXPECT_EQ(panel->PaintCount(), painted + 1);
    EXPECT_TRUE(ColourNear(FramebufferNow(), at, qRgb(255, 255, 255)));

    painted = panel->PaintCount();
    panel->ClearSegments();
    EXPECT_EQ(panel->PaintCount(), painted + 2);
    EXPECT_FALSE(ColourNear(FramebufferNow(), at, qRgb(255, 255, 255)));

    painted = panel->PaintCount();
    panel->ResetView();
    panel->ZoomBy(0.02);
    EXPECT_EQ(panel->PaintCount(), painted + 2);
    EXPECT_EQ(texts.back(), "Zoom Factor: " + QLocale().toString(0.98).toStdString());
}

// A change of the overlays alone puts back the picture of the segments and draws the overlays
// over it at the next frame, once for all the changes made before it; the operations that paint
// still run the whole sequence.
TEST_F(TOpenGLPanelTest, OverlayChangeDrawsOverTheKeptPictureWithoutTheSegments)
{
    constexpr QRgb kWhite = 0xFFFFFFFF;
    constexpr QRgb kYellow = 0xFFFFFF00;
    panel->AddSegment({5, 2, 0}, {5, 8, 0}, clWhite);
    panel->SetExtent(10);
    const QPointF at = PixelOf({5, 5});
    const QPointF dot = PixelOf({2, 5});
    const int paints = panel->PaintCount();
    const int overlayPaints = panel->OverlayPaintCount();

    panel->SetHighlight(0, 1);
    panel->View().SetOverlayLayer(0, {{TGLPrimitive::Points, clLime, 5, {{2, 5, 0}}}});
    EXPECT_SOON(panel->OverlayPaintCount() > overlayPaints);
    QImage image = FramebufferNow();
    EXPECT_TRUE(ColourNear(image, at, kYellow));
    EXPECT_TRUE(ColourNear(image, dot, kGreen));
    EXPECT_EQ(panel->OverlayPaintCount(), overlayPaints + 1);

    panel->SetHighlight(0, 0);
    panel->View().SetOverlayLayer(0, {});
    EXPECT_SOON(panel->OverlayPaintCount() > overlayPaints + 1);
    QTest::qWait(50);  // the updates that show the paints run no sequence either
    image = FramebufferNow();
    EXPECT_TRUE(ColourNear(image, at, kWhite));
    EXPECT_FALSE(ColourNear(image, at, kYellow));
    EXPECT_FALSE(ColourNear(image, dot, kGreen));
    EXPECT_EQ(panel->PaintCount(), paints) << "the segments were not drawn again";
    EXPECT_EQ(panel->OverlayPaintCount(), overlayPaints + 2);

    panel->ZoomBy(0.02);
    EXPECT_EQ(panel->PaintCount(), paints + 1);
}

TEST_F(TOpenGLPanelTest, PlaybackProgressDimsTheRestAndDrawsOnlyTheSegmentsPassedSinceAFrame)
{
    constexpr QRgb kWhite = 0xFFFFFFFF;
    constexpr int kSegments = 10;
    for (int i = 0; i < kSegments; ++i)
        panel->AddSegment({static_cast<float>(i), 5, 0}, {static_cast<float>(i + 1), 5, 0},
                          clWhite);
    panel->SetExtent(kSegments);
    const auto brightness = [this](const QImage& image, double x) {
        // The brightest pixel about the line: it may fall on either row next to y = 5.
        const QPointF at = PixelOf({x, 5});
        int brightest = 0;
        for (int dy = -1; dy <= 1; ++dy)
            brightest = std::max(brightest, qGray(image.pixel(static_cast<int>(at.x()),
                                                              static_cast<int>(at.y()) + dy)));
        return brightest;
    };
    const int paints = panel->PaintCount();
    panel->View().SetProgress(5, {5.5f, 5, 0});
    EXPECT_EQ(panel->PaintCount(), paints + 1) << "the dimmed picture is a new picture";
    QImage image = FramebufferNow();
    EXPECT_EQ(brightness(image, 2.5), 255);
    EXPECT_EQ(brightness(image, 5.25), 255) << "the segment the marker is on, up to it";
    EXPECT_GT(brightness(image, 7.5), 0);
    EXPECT_LT(brightness(image, 7.5), 128) << "the moves after the marker are dimmed";

    // A small step on draws the one segment passed over the kept progress, nothing more.
    const std::size_t drawn = panel->ProgressSegmentCount();
    const int overlayPaints = panel->OverlayPaintCount();
    panel->View().SetProgress(6, {6.5f, 5, 0});
    EXPECT_SOON(panel->OverlayPaintCount() > overlayPaints);
    image = FramebufferNow();
    EXPECT_EQ(panel->ProgressSegmentCount(), drawn + 1);
    EXPECT_EQ(panel->PaintCount(), paints + 1);
    EXPECT_EQ(brightness(image, 5.75), 255);
    EXPECT_EQ(brightness(image, 6.25), 255);
    EXPECT_LT(brightness(image, 7.5), 128);

    // A step back draws the passed segments again over the dimmed picture.
    panel->View().SetProgress(2, {2.5f, 5, 0});
    EXPECT_SOON(panel->OverlayPaintCount() > overlayPaints + 1);
    image = FramebufferNow();
    EXPECT_EQ(panel->ProgressSegmentCount(), drawn + 3);
    EXPECT_EQ(brightness(image, 1.5), 255);
    EXPECT_LT(brightness(image, 4.5), 128);
    EXPECT_LT(brightness(image, 6.25), 128);

    panel->View().ClearProgress();
    image = FramebufferNow();
    for (const double x : {1.5, 4.5, 7.5})
        EXPECT_TRUE(ColourNear(image, PixelOf({x, 5}), kWhite)) << x;
}

// Qt schedules a repaint of its own on a palette change; what matters is that the picture
// stays the same, since the background is always black and each line has its own colour.
TEST_F(TOpenGLPanelTest, PaletteChangeDrawsNothingNew)
{
    panel->AddSegment({2, 5, 0}, {8, 5, 0}, clAqua);
    const QImage before = panel->grabFramebuffer();
    QPalette palette = panel->palette();
    palette.setColor(QPalette::Window, Qt::red);
    palette.setColor(QPalette::Base, Qt::red);
    palette.setColor(QPalette::WindowText, Qt::yellow);
    panel->setPalette(palette);
    QTest::qWait(50);
    const QImage after = panel->grabFramebuffer();
    EXPECT_EQ(after.pixel(kPanelSize / 2, kPanelSize / 4), kBlack);
    EXPECT_TRUE(after == before);
}

TEST_F(TOpenGLPanelTest, LeftClickTakesTheFocusOtherButtonsDoNot)
{
    QTest::mouseClick(panel, Qt::MiddleButton, {}, {50, 50});
    QTest::mouseClick(panel, Qt::RightButton, {}, {50, 50});
    EXPECT_TRUE(editor->hasFocus());
    QTest::mouseClick(panel, Qt::LeftButton, {}, {50, 50});
    EXPECT_TRUE(panel->hasFocus());
}

TEST_F(TOpenGLPanelTest, LeftPressThatCannotTakeTheFocusIsDropped)
{
    QWidget other;
    other.resize(100, 100);
    other.move(kPanelSize + 50, 0);
    other.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&other));
    other.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));

    QTest::mousePress(panel, Qt::LeftButton, {}, {60, 70});
    EXPECT_FALSE(panel->hasFocus());
    EXPECT_FALSE(panel->ViewState().panFlag);
    EXPECT_EQ(panel->ViewState().lastPointerX, 0);
    QTest::mouseRelease(panel, Qt::LeftButton, {}, {60, 70});

    QTest::mousePress(panel, Qt::MiddleButton, {}, {60, 70});  // needs no focus
    EXPECT_TRUE(panel->ViewState().turnFlag);
    QTest::mouseRelease(panel, Qt::MiddleButton, {}, {60, 70});
}

TEST_F(TOpenGLPanelTest, PointerInsideFromTheFirstMoveUntilItLeaves)
{
    EXPECT_FALSE(panel->PointerInside());
    MovePointerTo(*editor, {10, 10});
    EXPECT_FALSE(panel->PointerInside());
    MovePointerTo(*panel, {200, 200});
    EXPECT_TRUE(panel->PointerInside());
    MovePointerTo(*panel, {201, 200});
    EXPECT_TRUE(panel->PointerInside());
    MovePointerTo(*editor, {10, 10});
    EXPECT_FALSE(panel->PointerInside());
}

// A new top-level window gives the panel a new context; it must draw with that one.
TEST_F(TOpenGLPanelTest, DrawsAgainAfterMovingToAnotherWindow)
{
    panel->AddSegment({5, 2, 0}, {5, 8, 0}, clWhite);
    QWidget other;
    other.resize(kPanelSize, kPanelSize);
    panel->setParent(&other);
    QApplication::processEvents();
    const int hidden = panel->PaintCount();
    panel->ResetView();  // between the two contexts: nothing to draw with
    EXPECT_EQ(panel->PaintCount(), hidden);
    panel->setGeometry(0, 0, kPanelSize, kPanelSize);
    panel->show();
    other.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&other));
    const int painted = panel->PaintCount();
    panel->SetExtent(10);
    EXPECT_EQ(panel->PaintCount(), painted + 1);
    EXPECT_TRUE(ColourNear(panel->grabFramebuffer(), PixelOf({5, 5}), qRgb(255, 255, 255)));
    panel->setParent(window.get());  // the fixture's window owns it again
}

// Before the panel is first shown there is no context: operations change the view state and
// draw nothing.
TEST(TOpenGLPanelWithoutContextTest, OperationsDrawNothingAndKeepWorking)
{
    TOpenGLPanel panel(nullptr);
    panel.resize(300, 200);
    panel.AddSegment({1, 1, 0}, {2, 2, 0}, clRed);
    panel.SetExtent(30);
    panel.ZoomBy(0.5);
    panel.repaint();
    QTest::qWait(20);
    EXPECT_EQ(panel.context(), nullptr);
    EXPECT_EQ(panel.PaintCount(), 0);
    EXPECT_EQ(panel.ViewState().extent, 30);
    EXPECT_EQ(panel.ViewState().zoomFactor, 0.5);
    panel.ClearSegments();
    EXPECT_TRUE(panel.Segments().empty());
    EXPECT_EQ(panel.PaintCount(), 0);
}

}  // namespace
