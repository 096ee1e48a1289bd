// Fit to View, the standard views, picking a segment on screen and the highlighted move, on the
// plot view without a window; positions are checked in panel pixels through the projection that
// mirrors the paint sequence's transformation.
#include "plot/GLRecorder.h"
#include "plot/PlotView.h"
#include "plot/ViewFit.h"
#include "plot/ViewProjection.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

namespace {

struct TFitCase
{
    const char* name;
    int width, height;
    int extent;
    std::vector<TSegment> segments;
    double rotationX, rotationY;  // turned by a middle drag before the fit
};

TSegment Line(TPoint3f from, TPoint3f to)
{
    return TSegment{from, to, 0x00FF0000};
}

const std::vector<TSegment> kAllNegative{Line({0, 0, 0}, {-40, -12, -0.5f}),
                                         Line({-40, -12, -0.5f}, {-55, -30, -0.5f}),
                                         Line({-55, -30, -0.5f}, {-20, -31, 0})};

class TViewFitTest : public ::testing::TestWithParam<TFitCase>
{
protected:
    TViewProjection Projection() const
    {
        return TViewProjection(view.State(), view.ViewBounds(), view.Width(), view.Height());
    }

    TGLRecorder gl;
    TPlotView view{gl};
};

// Every end point lands inside the panel, at least about the margin away from its edges, and
// the plot fills the panel's width or height but for the margins.
TEST_P(TViewFitTest, EverySegmentFitsWithTheMarginAndTheTurnsStay)
{
    const TFitCase& c = GetParam();
    view.Resize(c.width, c.height);
    view.SetExtent(c.extent);
    for (const TSegment& s : c.segments)
        view.AddSegment(s.from, s.to, s.colour);
    view.Press(TMouseButton::Middle, 0, 0);
    view.Move(static_cast<int>(c.rotationY), static_cast<int>(c.rotationX));
    view.Release(TMouseButton::Middle);
    gl.Clear();

    view.FitToView();

    EXPECT_EQ(view.State().rotationX, c.rotationX);
    EXPECT_EQ(view.State().rotationY, c.rotationY);
    EXPECT_EQ(view.State().spanX, c.extent);
    EXPECT_EQ(gl.PaintCount(), 1);
    std::vector<TPoint3f> points;
    for (const TSegment& s : c.segments) {
        points.push_back(s.from);
        points.push_back(s.to);
    }
    if (points.empty())
        points = {{10, 0, 0}, {-10, 0, 0}, {0, 10, 0}, {0, -10, 0}, {0, 0, 10}, {0, 0, -10}};
    const TViewProjection projection = Projection();
    double minX = c.width, maxX = 0, minY = c.height, maxY = 0;
    for (const TPoint3f& p : points) {
        const TPixelPoint pixel = projection.ToPixels(projection.Turned(p));
        minX = std::min(minX, pixel.x);
        maxX = std::max(maxX, pixel.x);
        minY = std::min(minY, pixel.y);
        maxY = std::max(maxY, pixel.y);
    }
    const double marginX = 0.04 * c.width, marginY = 0.04 * c.height;
    EXPECT_GE(minX, marginX);
    EXPECT_LE(maxX, c.width - marginX);
    EXPECT_GE(minY, marginY);
    EXPECT_LE(maxY, c.height - marginY);
    const double filled = std::max((maxX - minX) / c.width, (maxY - minY) / c.height);
    EXPECT_GT(filled, 0.88);
}

INSTANTIATE_TEST_SUITE_P(
    Plots, TViewFitTest,
    ::testing::Values(
        // A program below and left of the origin gets the extent 1 from the builder: one pan
        // pixel then moves the window by 40 screen pixels, which the margin still absorbs.
        TFitCase{"AllNegativeLandscape", 800, 400, 1, kAllNegative, 0, 0},
        TFitCase{"AllNegativePortrait", 300, 700, 1, kAllNegative, 0, 0},
        TFitCase{"Turned",
                 640,
                 480,
                 60,
                 {Line({0, 0, 0}, {50, 20, -5}), Line({50, 20, -5}, {10, 59, 3})},
                 -30,
                 40},
        TFitCase{"EmptyFitsTheGizmo", 800, 400, 10, {}, 25, -60},
        TFitCase{"Large", 500, 500, 2001, {Line({0, 0, 0}, {2000, 1500, 0})}, 0, 0}),
    [](const auto& info) { return std::string(info.param.name); });

// A tiny plot magnifies no further than the zoom factor's lower bound.
TEST(TViewFitLimits, ZoomStopsAtItsMinimumAndASizelessPanelKeepsTheView)
{
    TGLRecorder gl;
    TPlotView view{gl};
    view.AddSegment({1, 1, 0}, {1.001f, 1, 0}, 0);
    view.FitToView();  // no size yet: nothing to fit into
    EXPECT_EQ(view.State().zoomFactor, 1.0);
    EXPECT_EQ(view.State().panX, 0);
    view.Resize(400, 400);
    view.FitToView();
    EXPECT_EQ(view.State().zoomFactor, kMinZoomFactor);
}

// Where a world axis points on screen after the turn: (right, up, towards the viewer).
TTurnedPoint Axis(const TPlotView& view, TPoint3f axis)
{
    return TViewTurn(view.State())(axis);
}

TEST(TStandardViewTest, EachViewSetsItsTurnsAndFits)
{
    TGLRecorder gl;
    TPlotView view{gl};
    view.Resize(600, 400);
    view.AddSegment({0, 0, 0}, {30, 20, -4}, 0);
    struct TExpected
    {
        TStandardView view;
        double rotationX, rotationY, rotationZ;
    };
    for (const TExpected& e :
         {TExpected{TStandardView::Front, -90, 0, 0}, TExpected{TStandardView::Right, -90, 0, -90},
          TExpected{TStandardView::Isometric, -54.73561032, 0, -45},
          TExpected{TStandardView::Top, 0, 0, 0}}) {
        view.ZoomBy(-3);  // away from any fit
        view.SetStandardView(e.view);
        EXPECT_NEAR(view.State().rotationX, e.rotationX, 1e-6);
        EXPECT_DOUBLE_EQ(view.State().rotationY, e.rotationY);
        EXPECT_DOUBLE_EQ(view.State().rotationZ, e.rotationZ);
        EXPECT_LT(view.State().zoomFactor, 3.0);
    }
    view.ResetView();
    EXPECT_EQ(view.State().rotationZ, 0.0);

    // Where each view puts the world's axes: (right, up, towards the viewer).
    struct TAxisCase
    {
        TStandardView view;
        TPoint3f axis;
        TTurnedPoint turned;
    };
    const double k = std::sqrt(0.5), up = std::sqrt(2.0 / 3.0), near = std::sqrt(1.0 / 3.0);
    const double down = std::sqrt(1.0 / 6.0);
    for (const TAxisCase& c : {
             TAxisCase{TStandardView::Front, {1, 0, 0}, {1, 0, 0}},  // looking along +Y
             TAxisCase{TStandardView::Front, {0, 0, 1}, {0, 1, 0}},
             TAxisCase{TStandardView::Front, {0, 1, 0}, {0, 0, -1}},
             TAxisCase{TStandardView::Right, {0, 1, 0}, {1, 0, 0}},  // looking along -X
             TAxisCase{TStandardView::Right, {0, 0, 1}, {0, 1, 0}},
             TAxisCase{TStandardView::Right, {1, 0, 0}, {0, 0, 1}},
             // Looking along (-1, +1, -1): the three axes equally foreshortened, Z upright.
             TAxisCase{TStandardView::Isometric, {0, 0, 1}, {0, up, near}},
             TAxisCase{TStandardView::Isometric, {1, 0, 0}, {k, -down, near}},
             TAxisCase{TStandardView::Isometric, {0, 1, 0}, {k, down, -near}},
             TAxisCase{TStandardView::Top, {0, 1, 0}, {0, 1, 0}},
         }) {
        view.SetStandardView(c.view);
        const TTurnedPoint turned = Axis(view, c.axis);
        EXPECT_NEAR(turned.x, c.turned.x, 1e-6) << int(c.view);
        EXPECT_NEAR(turned.y, c.turned.y, 1e-6) << int(c.view);
        EXPECT_NEAR(turned.z, c.turned.z, 1e-6) << int(c.view);
    }
}

// A path left of and below the origin and deeper than it is wide, under an extent of 1: the fit
// and the standard views keep the whole of it in the depth range, so it is drawn and picked
// however it is turned; a reset brings back the extent as the depth range.
TEST(TViewDepthTest, FitAndStandardViewsHoldThePathInDepthAndResetRestoresTheExtent)
{
    TGLRecorder gl;
    TPlotView view{gl};
    view.Resize(400, 400);
    view.SetExtent(1);
    view.AddSegment({0, 0, 0}, {-100, 0, 0}, 0);
    view.AddSegment({-100, 0, 0}, {-100, 0, -100}, 0);
    EXPECT_DOUBLE_EQ(HoldingDepthRange(1, {}), 10 * (1 + kFitMargin)) << "the axes gizmo";
    EXPECT_NEAR(HoldingDepthRange(1, view.Segments()), std::hypot(100.0, 100.0) * (1 + kFitMargin),
                1e-3);
    EXPECT_EQ(HoldingDepthRange(500, view.Segments()), 500);

    for (const TStandardView standard : {TStandardView::Top, TStandardView::Front,
                                         TStandardView::Right, TStandardView::Isometric}) {
        view.SetStandardView(standard);
        EXPECT_EQ(DepthRange(view.State()), HoldingDepthRange(1, view.Segments()));
        const auto ortho =
            std::find_if(gl.Commands().rbegin(), gl.Commands().rend(),
                         [](const std::string& c) { return c.starts_with("glOrtho"); });
        ASSERT_NE(ortho, gl.Commands().rend());
        const std::string depth = std::to_string(DepthRange(view.State())).substr(0, 6);
        EXPECT_NE(ortho->find(", " + depth), std::string::npos) << *ortho;
        EXPECT_NE(ortho->find(", -" + depth), std::string::npos) << *ortho;
        const TViewProjection projection(view.State(), view.ViewBounds(), 400, 400);
        for (std::size_t i = 0; i < view.Segments().size(); ++i) {
            const TSegment& s = view.Segments()[i];
            const TPoint3f middle{(s.from.x + s.to.x) / 2, (s.from.y + s.to.y) / 2,
                                  (s.from.z + s.to.z) / 2};
            const TTurnedPoint turned = projection.Turned(middle);
            EXPECT_LE(std::abs(turned.z), DepthRange(view.State())) << int(standard);
            const TPixelPoint pixel = projection.ToPixels(turned);
            // Seen end on, a segment is a point, and the other one passes through it too.
            if (view.SegmentAt(pixel.x, pixel.y, 1))
                continue;
            ADD_FAILURE() << "segment " << i << " cannot be picked in view " << int(standard);
        }
    }

    view.ResetView();
    EXPECT_EQ(DepthRange(view.State()), 1);
    view.FitToView();
    view.SetExtent(2);
    EXPECT_EQ(DepthRange(view.State()), 2);
}

// A fitted view fits again when the panel changes size, until the user moves it.
TEST(TViewDepthTest, FittedViewStaysFittedThroughResizesUntilMoved)
{
    TGLRecorder gl;
    TPlotView view{gl};
    view.Resize(400, 400);
    view.AddSegment({0, 0, 0}, {40, 20, 0}, 0);
    const auto fittedAt = [](int width, int height) {
        TGLRecorder otherGl;
        TPlotView other{otherGl};
        other.Resize(width, height);
        other.AddSegment({0, 0, 0}, {40, 20, 0}, 0);
        other.FitToView();
        return other.State();
    };
    view.FitToView();
    gl.Clear();
    view.Resize(700, 300);
    EXPECT_EQ(gl.PaintCount(), 1) << "one paint, as any resize";
    EXPECT_EQ(view.State().zoomFactor, fittedAt(700, 300).zoomFactor);
    EXPECT_EQ(view.State().panX, fittedAt(700, 300).panX);
    EXPECT_EQ(view.State().panY, fittedAt(700, 300).panY);

    struct TMoveCase
    {
        const char* name;
        void (*move)(TPlotView&);
    };
    for (const TMoveCase& c : {TMoveCase{"zoom", [](TPlotView& v) { v.ZoomBy(0.02); }},
                               TMoveCase{"pan",
                                         [](TPlotView& v) {
                                             v.Press(TMouseButton::Left, 5, 5);
                                             v.Move(9, 5);
                                             v.Release(TMouseButton::Left);
                                         }},
                               TMoveCase{"turn",
                                         [](TPlotView& v) {
                                             v.Press(TMouseButton::Middle, 5, 5);
                                             v.Move(5, 9);
                                             v.Release(TMouseButton::Middle);
                                         }},
                               TMoveCase{"reset", [](TPlotView& v) { v.ResetView(); }}}) {
        view.SetStandardView(TStandardView::Top);
        view.Resize(400, 400);
        c.move(view);
        const TViewState moved = view.State();
        view.Resize(700, 300);
        EXPECT_EQ(view.State().zoomFactor, moved.zoomFactor) << c.name;
        EXPECT_EQ(view.State().panX, moved.panX) << c.name;
    }
}

class TPickTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        view.Resize(400, 400);  // extent 10: 40 pixels per unit, origin bottom left
        view.AddSegment({1, 1, 0}, {9, 1, 0}, 0);    // pixel row 360
        view.AddSegment({1, 5, 0}, {9, 5, 0}, 0);    // pixel row 200
        view.AddSegment({1, 5, 0}, {9, 5, 0}, 0);    // drawn over the one before
        view.AddSegment({1, 8, 30}, {9, 8, 30}, 0);  // beyond the depth range: not drawn
    }

    TGLRecorder gl;
    TPlotView view{gl};
};

TEST_F(TPickTest, NearestDrawnSegmentWithinTheRadiusAndTheTopOneOfEqualOnes)
{
    EXPECT_EQ(view.SegmentAt(200, 355, 6), 0u);
    EXPECT_EQ(view.SegmentAt(36, 362, 6), 0u);             // beside its start
    EXPECT_EQ(view.SegmentAt(200, 204, 6), 2u);            // the later of two equal segments
    EXPECT_EQ(view.SegmentAt(200, 353, 6), std::nullopt);  // 7 pixels off
    EXPECT_EQ(view.SegmentAt(200, 80, 6), std::nullopt);   // where the clipped one would be
    EXPECT_EQ(view.SegmentAt(380, 360, 6), std::nullopt);  // past the end
}

TEST_F(TPickTest, HighlightIsDrawnLastWideAndWithAMarkerAndResetRemovesIt)
{
    gl.Clear();
    view.SetHighlight(1, 1);
    EXPECT_EQ(gl.PaintCount(), 1);
    const std::vector<std::string>& c = gl.Commands();
    EXPECT_EQ(
        std::vector<std::string>(c.end() - 13, c.end() - 1),
        (std::vector<std::string>{"glColor3ub(255, 255, 0)", "glLineWidth(3)", "glBegin(GL_LINES)",
                                  "glVertex3f(1, 5, 0)", "glVertex3f(9, 5, 0)", "glEnd()",
                                  "glLineWidth(1)", "glPointSize(7)", "glBegin(GL_POINTS)",
                                  "glVertex3f(9, 5, 0)", "glEnd()", "glPointSize(1)"}));
    EXPECT_EQ(c.back(), "glFlush()");

    gl.Clear();
    view.SetHighlight(1, 1);  // unchanged: no paint
    EXPECT_EQ(gl.PaintCount(), 0);
    view.ResetView();
    EXPECT_FALSE(view.HasHighlight());
    EXPECT_EQ(std::count(gl.Commands().begin(), gl.Commands().end(), "glLineWidth(3)"), 0);
}

}  // namespace
