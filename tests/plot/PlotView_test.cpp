// The plot view without a window: construction, the view window, the paint sequence and which
// operations paint, recorded through TGLRecorder.
#include "plot/GLRecorder.h"
#include "plot/PlotView.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

namespace {

using TCommands = std::vector<std::string>;

class TPlotViewTest : public ::testing::Test
{
protected:
    // A panel of the given size, with the recording of its set-up dropped.
    void SizeAndForget(int width, int height)
    {
        view.Resize(width, height);
        gl.Clear();
    }

    // Adds (dx, dy) to pan X and pan Y with a left drag.
    void Pan(int dx, int dy)
    {
        view.Press(TMouseButton::Left, 0, 0);
        view.Move(-dx, dy);
        view.Release(TMouseButton::Left);
    }

    TGLRecorder gl;
    TPlotView view{gl};
};

TEST_F(TPlotViewTest, NewViewHoldsTheResetStateWithoutASize)
{
    const TViewState& state = view.State();
    EXPECT_EQ(state.zoomFactor, 1.0);
    EXPECT_EQ(state.spanX, 10.0);
    EXPECT_EQ(state.spanY, 10.0);
    EXPECT_EQ(state.extent, 10);
    EXPECT_FALSE(state.panFlag);
    EXPECT_FALSE(state.turnFlag);
    EXPECT_EQ(state.panX, 0);
    EXPECT_EQ(state.panY, 0);
    EXPECT_EQ(state.rotationX, 0.0);
    EXPECT_EQ(state.rotationY, 0.0);
    EXPECT_EQ(state.rotationZ, 0.0);
    EXPECT_TRUE(std::isnan(state.aspectRatio));  // 0 / 0 until the panel has a size
    EXPECT_TRUE(view.Segments().empty());
}

TEST_F(TPlotViewTest, InitialGLStateIsBlackFlatAndWithoutDepthTest)
{
    gl.Clear();
    view.InitializeGL();
    EXPECT_EQ(gl.Commands(), (TCommands{"MakeCurrent", "glClearColor(0, 0, 0, 0)",
                                        "glShadeModel(GL_FLAT)", "glDisable(GL_DEPTH_TEST)"}));
}

struct TBoundsCase
{
    const char* name;
    int width, height;
    int panX, panY;
    int extent;
    TViewBounds expected;
};

class TViewBoundsTest : public TPlotViewTest, public ::testing::WithParamInterface<TBoundsCase>
{};

TEST_P(TViewBoundsTest, WindowFollowsSizePanAndExtent)
{
    const TBoundsCase& c = GetParam();
    SizeAndForget(c.width, c.height);
    view.SetExtent(c.extent);
    Pan(c.panX, c.panY);
    const TViewBounds bounds = view.ViewBounds();
    EXPECT_DOUBLE_EQ(bounds.left, c.expected.left);
    EXPECT_DOUBLE_EQ(bounds.right, c.expected.right);
    EXPECT_DOUBLE_EQ(bounds.bottom, c.expected.bottom);
    EXPECT_DOUBLE_EQ(bounds.top, c.expected.top);
}

INSTANTIATE_TEST_SUITE_P(
    Panels, TViewBoundsTest,
    ::testing::Values(TBoundsCase{"Landscape", 800, 400, 0, 0, 10, {0, 20, 0, 10}},
                      TBoundsCase{"Portrait", 400, 800, 0, 0, 10, {0, 10, 0, 20}},
                      TBoundsCase{"Square", 500, 500, 0, 0, 10, {0, 10, 0, 10}},
                      TBoundsCase{"PortraitPannedRight", 400, 800, 20, 0, 10, {1, 11, 0, 20}},
                      TBoundsCase{"LandscapePannedLeft", 800, 400, -20, 0, 10, {-2, 18, 0, 10}},
                      TBoundsCase{"LandscapePannedUp", 800, 400, 0, 20, 10, {0, 20, 1, 11}},
                      TBoundsCase{"PortraitPannedUp", 400, 800, 0, 20, 10, {0, 10, 2, 22}},
                      TBoundsCase{"LandscapeExtent25", 800, 400, 0, 0, 25, {0, 50, 0, 25}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(TPlotViewTest, PaintDrawsGizmoThenSegmentsInOrderThroughOneTransformation)
{
    SizeAndForget(800, 400);
    view.AddSegment({1, 2, 3}, {4, 5, 6}, 0x00332211);
    // The top byte plays no part: this is pure green.
    view.AddSegment({-1.5f, 0, 0}, {0, 0.25f, -2}, 0xFF00FF00);
    view.Press(TMouseButton::Middle, 100, 50);
    view.Move(110, 45);  // rotation Y 10, rotation X -5
    gl.Clear();

    view.Paint();

    const TCommands expected{"MakeCurrent",
                             "glClear(GL_COLOR_BUFFER_BIT)",
                             "glMatrixMode(GL_PROJECTION)",
                             "glLoadIdentity()",
                             "glOrtho(0, 20, 0, 10, 10, -10)",
                             "glRotatef(-5, 1, 0, 0)",
                             "glRotatef(10, 0, 1, 0)",
                             "glRotatef(0, 0, 0, 1)",
                             "glBegin(GL_LINES)",
                             "glColor3f(0, 1, 0)",
                             "glVertex3f(0, 0, 0)",
                             "glVertex3f(10, 0, 0)",
                             "glColor3f(1, 0, 0)",
                             "glVertex3f(0, 0, 0)",
                             "glVertex3f(0, 10, 0)",
                             "glColor3f(0, 0, 1)",
                             "glVertex3f(0, 0, 0)",
                             "glVertex3f(0, 0, 10)",
                             "glEnd()",
                             "glEnable(GL_LINE_STIPPLE)",
                             "glLineStipple(1, 0x0101)",
                             "glBegin(GL_LINES)",
                             "glColor3f(0, 1, 0)",
                             "glVertex3f(-10, 0, 0)",
                             "glVertex3f(0, 0, 0)",
                             "glColor3f(1, 0, 0)",
                             "glVertex3f(0, 0, 0)",
                             "glVertex3f(0, -10, 0)",
                             "glColor3f(0, 0, 1)",
                             "glVertex3f(0, 0, 0)",
                             "glVertex3f(0, 0, -10)",
                             "glEnd()",
                             "glDisable(GL_LINE_STIPPLE)",
                             "glMatrixMode(GL_MODELVIEW)",
                             "glLoadIdentity()",
                             "glColor3ub(17, 34, 51)",
                             "glBegin(GL_LINES)",
                             "glVertex3f(1, 2, 3)",
                             "glVertex3f(4, 5, 6)",
                             "glEnd()",
                             "glColor3ub(0, 255, 0)",
                             "glBegin(GL_LINES)",
                             "glVertex3f(-1.5, 0, 0)",
                             "glVertex3f(0, 0.25, -2)",
                             "glEnd()",
                             "glFlush()"};
    EXPECT_EQ(gl.Commands(), expected);
    EXPECT_EQ(gl.PaintCount(), 1);
}

constexpr long double kInfinite = std::numeric_limits<long double>::infinity();
constexpr long double kNaN = std::numeric_limits<long double>::quiet_NaN();

struct TResizeCase
{
    const char* name;
    int width, height;
    long double aspectRatio;
    bool finiteWindow;
};

class TResizeStepTest : public TPlotViewTest, public ::testing::WithParamInterface<TResizeCase>
{};

// Zero sizes give a non-finite aspect ratio and view window, and nothing fails.
TEST_P(TResizeStepTest, SetsAspectAndViewportThenPaints)
{
    const TResizeCase& c = GetParam();
    gl.Clear();
    view.Resize(c.width, c.height);
    const long double aspect = view.State().aspectRatio;
    EXPECT_TRUE(aspect == c.aspectRatio || (std::isnan(aspect) && std::isnan(c.aspectRatio)))
        << static_cast<double>(aspect);
    const TCommands& commands = gl.Commands();
    ASSERT_GE(commands.size(), 3u);
    EXPECT_EQ(commands[0], "MakeCurrent");
    EXPECT_EQ(commands[1], "glViewport(0, 0, " + std::to_string(c.width) + ", " +
                               std::to_string(c.height) + ")");
    EXPECT_EQ(commands[2], "MakeCurrent");  // the paint's own
    EXPECT_EQ(gl.PaintCount(), 1);
    const TViewBounds b = view.ViewBounds();
    EXPECT_EQ(std::isfinite(b.left) && std::isfinite(b.right) && std::isfinite(b.bottom) &&
                  std::isfinite(b.top),
              c.finiteWindow);
}

INSTANTIATE_TEST_SUITE_P(Sizes, TResizeStepTest,
                         ::testing::Values(TResizeCase{"Landscape", 800, 400, 2.0L, true},
                                           TResizeCase{"Portrait", 400, 800, 0.5L, true},
                                           TResizeCase{"ZeroHeight", 800, 0, kInfinite, false},
                                           TResizeCase{"NoSizeYet", 0, 0, kNaN, false}),
                         [](const auto& info) { return std::string(info.param.name); });

struct TPaintCountCase
{
    const char* name;
    void (*operation)(TPlotView&);
    int paints;
};

class TPaintCountTest : public TPlotViewTest, public ::testing::WithParamInterface<TPaintCountCase>
{};

TEST_P(TPaintCountTest, OperationPaintsSoOften)
{
    SizeAndForget(800, 400);
    GetParam().operation(view);
    EXPECT_EQ(gl.PaintCount(), GetParam().paints);
}

INSTANTIATE_TEST_SUITE_P(
    Operations, TPaintCountTest,
    ::testing::Values(TPaintCountCase{"AddSegment",
                                      [](TPlotView& v) {
                                          v.AddSegment({}, {1, 1, 1}, clRed);
                                      },
                                      0},
                      TPaintCountCase{"ResetView", [](TPlotView& v) { v.ResetView(); }, 1},
                      TPaintCountCase{"SetExtent", [](TPlotView& v) { v.SetExtent(3); }, 1},
                      TPaintCountCase{"ZoomBy", [](TPlotView& v) { v.ZoomBy(0.02); }, 1},
                      TPaintCountCase{"ClearSegments", [](TPlotView& v) { v.ClearSegments(); }, 2}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(TPlotViewTest, ClearSegmentsPaintsTwiceTheAxesAloneAndKeepsTheExtent)
{
    SizeAndForget(800, 400);
    view.SetExtent(25);
    view.AddSegment({1, 1, 0}, {2, 2, 0}, clRed);
    view.AddSegment({1, 1, 0}, {2, 2, 0}, clRed);  // equal segments may repeat
    EXPECT_EQ(view.Segments().size(), 2u);
    view.ZoomBy(0.5);
    view.Press(TMouseButton::Middle, 0, 0);
    view.Move(30, 40);
    view.Release(TMouseButton::Middle);
    Pan(7, 9);
    gl.Clear();

    view.ClearSegments();

    EXPECT_EQ(gl.PaintCount(), 2);
    for (const std::string& command : gl.Commands())
        EXPECT_EQ(command.find("glColor3ub"), std::string::npos) << command;
    EXPECT_TRUE(view.Segments().empty());
    const TViewState& state = view.State();
    EXPECT_EQ(state.extent, 25);
    EXPECT_EQ(state.spanX, 25.0);
    EXPECT_EQ(state.spanY, 25.0);
    EXPECT_EQ(state.zoomFactor, 1.0);
    EXPECT_EQ(state.panX, 0);
    EXPECT_EQ(state.panY, 0);
    EXPECT_EQ(state.rotationX, 0.0);
    EXPECT_EQ(state.rotationY, 0.0);
}

TEST_F(TPlotViewTest, SetExtentPaintsOnceWithoutResizeAndKeepsZoomPanAndTurns)
{
    SizeAndForget(800, 400);
    view.ZoomBy(0.5);
    Pan(20, 0);
    view.Press(TMouseButton::Middle, 0, 0);
    view.Move(15, 0);
    gl.Clear();

    view.SetExtent(25);

    EXPECT_EQ(gl.PaintCount(), 1);
    for (const std::string& command : gl.Commands())
        EXPECT_EQ(command.find("glViewport"), std::string::npos) << command;
    const TViewState& state = view.State();
    EXPECT_EQ(state.zoomFactor, 0.5);
    EXPECT_EQ(state.panX, 20);
    EXPECT_EQ(state.rotationY, 15.0);
    const TViewBounds bounds = view.ViewBounds();  // kx = 2 × 0.5
    EXPECT_DOUBLE_EQ(bounds.left, 1.0);
    EXPECT_DOUBLE_EQ(bounds.right, 26.0);
    EXPECT_DOUBLE_EQ(bounds.top, 12.5);
    EXPECT_NE(
        std::find(gl.Commands().begin(), gl.Commands().end(), "glOrtho(1, 26, 0, 12.5, 25, -25)"),
        gl.Commands().end());
}

TEST_F(TPlotViewTest, WithoutAContextNothingIsDrawnButTheStateChanges)
{
    gl.Clear();
    gl.SetHasContext(false);
    view.InitializeGL();
    view.Resize(800, 400);
    view.AddSegment({0, 0, 0}, {1, 1, 1}, clRed);
    view.ClearSegments();
    view.SetExtent(20);
    view.Paint();
    for (const std::string& command : gl.Commands())
        EXPECT_EQ(command, "MakeCurrentFailed");
    EXPECT_EQ(gl.PaintCount(), 0);
    EXPECT_EQ(view.State().aspectRatio, 2.0L);
    EXPECT_EQ(view.State().extent, 20);
}

TEST(TPlotViewHostTest, PaintsGoThroughTheHostsPaintRoutine)
{
    TGLRecorder gl;
    int hostPaints = 0;
    TPlotView view(gl, [&hostPaints] { ++hostPaints; });
    EXPECT_EQ(hostPaints, 1);  // construction runs ResetView
    view.ClearSegments();
    EXPECT_EQ(hostPaints, 3);
    view.SetExtent(5);
    view.ZoomBy(0.1);
    EXPECT_EQ(hostPaints, 5);
    EXPECT_EQ(gl.PaintCount(), 0);  // the host decides when the sequence runs
}

}  // namespace

namespace {

// A host that keeps the picture under the overlays: the overlays' changes reach it instead of a
// paint, and the paint sequence tells it when the segments are drawn.
TEST_F(TPlotViewTest, OverlaysDrawOverTheSegmentsAndAloneOverAKeptPicture)
{
    int overlayChanges = 0;
    view.OnOverlaysChanged = [&overlayChanges] { ++overlayChanges; };
    SizeAndForget(800, 400);
    view.AddSegment({1, 2, 3}, {4, 5, 6}, clRed);
    view.SetHighlight(0, 1);
    view.SetOverlayLayer(2, {{TGLPrimitive::Points, clWhite, 5, {{7, 8, 9}}}});
    view.SetOverlayLayer(1, {{TGLPrimitive::Lines, clLime, 2, {{0, 0, 0}, {0, 0, 1}}}});
    view.SetOverlayLayer(3, {});  // none to remove: no change
    EXPECT_EQ(overlayChanges, 3);
    EXPECT_EQ(gl.PaintCount(), 0);

    std::size_t pictureDrawn = 0;
    view.Paint([this, &pictureDrawn] { pictureDrawn = gl.Commands().size(); });
    const TCommands full = gl.Commands();
    ASSERT_GE(pictureDrawn, 2u);
    EXPECT_EQ(full[pictureDrawn - 2], "glVertex3f(4, 5, 6)") << "the segments come before";
    const TCommands overlays(full.begin() + static_cast<std::ptrdiff_t>(pictureDrawn), full.end());

    gl.Clear();
    view.PaintOverlays();
    TCommands expected{"MakeCurrent",           "glMatrixMode(GL_PROJECTION)",
                       "glLoadIdentity()",      "glOrtho(0, 20, 0, 10, 10, -10)",
                       "glRotatef(0, 1, 0, 0)", "glRotatef(0, 0, 1, 0)",
                       "glRotatef(0, 0, 0, 1)", "glMatrixMode(GL_MODELVIEW)",
                       "glLoadIdentity()"};
    expected.insert(expected.end(), overlays.begin(), overlays.end());
    EXPECT_EQ(gl.Commands(), expected) << "the same overlays as in the paint sequence";
    const TCommands layers{"glColor3ub(0, 255, 0)", "glLineWidth(2)",
                           "glBegin(GL_LINES)",     "glVertex3f(0, 0, 0)",
                           "glVertex3f(0, 0, 1)",   "glEnd()",
                           "glLineWidth(1)",        "glColor3ub(255, 255, 255)",
                           "glPointSize(5)",        "glBegin(GL_POINTS)",
                           "glVertex3f(7, 8, 9)",   "glEnd()",
                           "glPointSize(1)",        "glFlush()"};
    ASSERT_GT(overlays.size(), layers.size());
    EXPECT_EQ(
        TCommands(overlays.end() - static_cast<std::ptrdiff_t>(layers.size()), overlays.end()),
        layers)
        << "the layers last, lower first, each at its size and back";

    view.SetOverlayLayer(1, {});
    view.SetOverlayLayer(2, {});
    view.SetHighlight(0, 0);
    EXPECT_EQ(overlayChanges, 6);
    EXPECT_EQ(gl.PaintCount(), 1) << "only the host paints";
}

TEST_F(TPlotViewTest, ProgressDimsTheSegmentsThenDrawsThePassedOnesAndThePassingOneInColour)
{
    SizeAndForget(800, 400);
    view.AddSegment({0, 0, 0}, {1, 0, 0}, clRed);
    view.AddSegment({1, 0, 0}, {2, 0, 0}, clLime);
    view.AddSegment({2, 0, 0}, {3, 0, 0}, clBlue);
    view.Paint();
    const TCommands plain = gl.Commands();

    const auto colours = [this](std::size_t from) {
        TCommands drawn;
        for (std::size_t i = from; i < gl.Commands().size(); ++i)
            if (gl.Commands()[i].starts_with("glColor3ub") ||
                gl.Commands()[i].starts_with("glVertex"))
                drawn.push_back(gl.Commands()[i]);
        return drawn;
    };
    gl.Clear();
    std::size_t pictureAt = 0;
    std::size_t progressAt = 0;
    view.SetProgress(1, {1.5f, 0, 0});
    EXPECT_EQ(gl.PaintCount(), 1) << "turning it on changes the picture";
    gl.Clear();
    view.Paint([&] { pictureAt = gl.Commands().size(); },
               [&] { progressAt = gl.Commands().size(); });
    const TCommands dimmed{"glColor3ub(77, 0, 0)",  "glVertex3f(0, 0, 0)", "glVertex3f(1, 0, 0)",
                           "glColor3ub(0, 77, 0)",  "glVertex3f(1, 0, 0)", "glVertex3f(2, 0, 0)",
                           "glColor3ub(0, 0, 77)",  "glVertex3f(2, 0, 0)", "glVertex3f(3, 0, 0)",
                           "glColor3ub(255, 0, 0)", "glVertex3f(0, 0, 0)", "glVertex3f(1, 0, 0)",
                           "glColor3ub(0, 255, 0)", "glVertex3f(1, 0, 0)", "glVertex3f(1.5, 0, 0)"};
    const TCommands all = colours(0);
    ASSERT_GE(all.size(), dimmed.size());
    EXPECT_EQ(TCommands(all.end() - static_cast<std::ptrdiff_t>(dimmed.size()), all.end()), dimmed);
    EXPECT_LT(pictureAt, progressAt);
    EXPECT_EQ(colours(progressAt),
              (TCommands{"glColor3ub(0, 255, 0)", "glVertex3f(1, 0, 0)", "glVertex3f(1.5, 0, 0)"}))
        << "after the kept progress only the passing segment, as far as the marker";

    // A new position changes the overlays alone; PaintSegments draws the ones passed since.
    int overlayChanges = 0;
    view.OnOverlaysChanged = [&overlayChanges] { ++overlayChanges; };
    view.SetProgress(3, {3, 0, 0});
    view.SetProgress(3, {3, 0, 0});
    EXPECT_EQ(overlayChanges, 1);
    EXPECT_EQ(view.ProgressPassed(), 3u);
    gl.Clear();
    view.PaintSegments(1, 3);
    EXPECT_EQ(colours(0),
              (TCommands{"glColor3ub(0, 255, 0)", "glVertex3f(1, 0, 0)", "glVertex3f(2, 0, 0)",
                         "glColor3ub(0, 0, 255)", "glVertex3f(2, 0, 0)", "glVertex3f(3, 0, 0)"}));

    view.ClearProgress();
    gl.Clear();
    view.Paint();
    EXPECT_EQ(gl.Commands(), plain) << "without progress the paint is as before";
}

TEST_F(TPlotViewTest, RecolouringChangesThePictureOnlyWithAColourForEverySegment)
{
    gl.Clear();
    view.AddSegment({0, 0, 0}, {1, 0, 0}, clRed);
    view.AddSegment({1, 0, 0}, {2, 0, 0}, clRed);
    const auto version = view.PictureVersion();
    view.RecolourSegments({clBlue});
    EXPECT_EQ(view.PictureVersion(), version);
    view.RecolourSegments({clBlue, clLime});
    EXPECT_NE(view.PictureVersion(), version);
    EXPECT_EQ(view.Segments()[0].colour, clBlue);
    EXPECT_EQ(view.Segments()[1].colour, clLime);
    EXPECT_EQ(gl.PaintCount(), 0);
}

}  // namespace
