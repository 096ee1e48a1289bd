// Pointer drags, zoom steps and their status texts on the plot view, without a window.
#include "plot/GLRecorder.h"
#include "plot/PlotView.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

namespace {

using TTexts = std::vector<std::string>;

class TPlotNavigationTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        view.OnStatusText = [this](const std::string& text) { texts.push_back(text); };
        view.Resize(800, 400);
        gl.Clear();
    }

    double WindowWidth() const
    {
        const TViewBounds bounds = view.ViewBounds();
        return bounds.right - bounds.left;
    }

    TGLRecorder gl;
    TPlotView view{gl};
    TTexts texts;
};

TEST_F(TPlotNavigationTest, LeftDragPansWithTheTextOfTheLastPositionAndOffset)
{
    view.Press(TMouseButton::Left, 100, 50);
    EXPECT_TRUE(view.State().panFlag);
    EXPECT_EQ(gl.PaintCount(), 0);  // a press paints nothing

    view.Move(110, 45);

    EXPECT_EQ(texts, TTexts{"Moved mouse from 100,50 to -10,5"});
    EXPECT_EQ(view.State().panX, -10);
    EXPECT_EQ(view.State().panY, -5);
    EXPECT_EQ(view.State().lastPointerX, 110);
    EXPECT_EQ(view.State().lastPointerY, 45);
    EXPECT_EQ(view.State().rotationX, 0.0);
    EXPECT_EQ(view.State().rotationY, 0.0);
    EXPECT_EQ(gl.PaintCount(), 1);
    EXPECT_EQ(gl.Commands()[1], "glViewport(0, 0, 800, 400)");  // through the resize step
    // Pointer 10 px right: the window moves left by 0.05 × 10 × kx, the plot follows.
    EXPECT_DOUBLE_EQ(view.ViewBounds().left, -1.0);
}

TEST_F(TPlotNavigationTest, MiddleDragTurnsOneDegreePerPixel)
{
    view.Press(TMouseButton::Middle, 100, 50);
    view.Move(110, 45);

    EXPECT_EQ(texts, TTexts{"Moved mouse from 100,50 to -10,5"});
    EXPECT_EQ(view.State().rotationY, 10.0);
    EXPECT_EQ(view.State().rotationX, -5.0);
    EXPECT_EQ(view.State().rotationZ, 0.0);
    EXPECT_EQ(view.State().panX, 0);
    EXPECT_EQ(view.State().panY, 0);
    EXPECT_EQ(view.State().lastPointerX, 110);
    EXPECT_EQ(gl.PaintCount(), 1);
}

TEST_F(TPlotNavigationTest, BothButtonsPanAndTurnWithTwoTextsAndOnePaint)
{
    view.Press(TMouseButton::Left, 100, 50);
    view.Press(TMouseButton::Middle, 100, 50);
    view.Move(110, 45);

    EXPECT_EQ(texts,
              (TTexts{"Moved mouse from 100,50 to -10,5", "Moved mouse from 100,50 to -10,5"}));
    EXPECT_EQ(view.State().panX, -10);
    EXPECT_EQ(view.State().rotationY, 10.0);
    EXPECT_EQ(gl.PaintCount(), 1);
}

TEST_F(TPlotNavigationTest, RightButtonRecordsThePositionAndNothingElse)
{
    view.Press(TMouseButton::Right, 30, 40);
    EXPECT_EQ(view.State().lastPointerX, 30);
    EXPECT_EQ(view.State().lastPointerY, 40);
    EXPECT_FALSE(view.State().panFlag);
    EXPECT_FALSE(view.State().turnFlag);

    view.Move(80, 90);
    view.Release(TMouseButton::Right);
    EXPECT_TRUE(texts.empty());
    EXPECT_EQ(gl.PaintCount(), 0);
    EXPECT_EQ(view.State().panX, 0);
    EXPECT_EQ(view.State().rotationY, 0.0);
    EXPECT_EQ(view.State().lastPointerX, 30);
}

TEST_F(TPlotNavigationTest, MoveWithoutButtonDoesNothing)
{
    view.Press(TMouseButton::Left, 5, 6);
    view.Release(TMouseButton::Left);
    gl.Clear();
    view.Move(200, 300);
    EXPECT_TRUE(texts.empty());
    EXPECT_TRUE(gl.Commands().empty());
    EXPECT_EQ(view.State().lastPointerX, 5);
    EXPECT_EQ(view.State().lastPointerY, 6);
    EXPECT_EQ(view.State().panX, 0);
}

// Press and release events and the drag state they lead to.
struct TDragCase
{
    const char* name;
    std::vector<std::pair<bool, TMouseButton>> events;  // true: press, false: release
    bool panFlag;
    bool turnFlag;
};

class TDragStateTest : public TPlotNavigationTest, public ::testing::WithParamInterface<TDragCase>
{};

TEST_P(TDragStateTest, ButtonsSetAndClearTheirOwnFlag)
{
    for (const auto& [press, button] : GetParam().events) {
        if (press)
            view.Press(button, 1, 1);
        else
            view.Release(button);
    }
    EXPECT_EQ(view.State().panFlag, GetParam().panFlag);
    EXPECT_EQ(view.State().turnFlag, GetParam().turnFlag);
}

constexpr auto L = TMouseButton::Left;
constexpr auto M = TMouseButton::Middle;
constexpr auto R = TMouseButton::Right;

INSTANTIATE_TEST_SUITE_P(
    Transitions, TDragStateTest,
    ::testing::Values(
        TDragCase{"Idle", {}, false, false}, TDragCase{"Panning", {{true, L}}, true, false},
        TDragCase{"Turning", {{true, M}}, false, true},
        TDragCase{"PanningAndTurning", {{true, M}, {true, L}}, true, true},
        TDragCase{"LeftReleaseEndsPanOnly", {{true, L}, {true, M}, {false, L}}, false, true},
        TDragCase{"MiddleReleaseEndsTurnOnly", {{true, L}, {true, M}, {false, M}}, true, false},
        TDragCase{"RightChangesNeither", {{true, L}, {true, R}, {false, R}}, true, false},
        TDragCase{"SecondPressKeepsFlag", {{true, L}, {true, L}}, true, false},
        TDragCase{"ReleaseWithoutPress", {{false, L}, {false, M}}, false, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(TPlotNavigationTest, ZoomStepsClampAtTheLowerBoundAndStillTextAndPaint)
{
    view.ZoomBy(5.0);
    EXPECT_EQ(view.State().zoomFactor, 0.01);
    view.ZoomBy(0.02);
    EXPECT_EQ(view.State().zoomFactor, 0.01);
    EXPECT_EQ(texts, (TTexts{"Zoom Factor: 0.01", "Zoom Factor: 0.01"}));
    EXPECT_EQ(gl.PaintCount(), 2);
    // The resize step runs each time.
    EXPECT_EQ(std::count(gl.Commands().begin(), gl.Commands().end(), "glViewport(0, 0, 800, 400)"),
              2);
}

TEST_F(TPlotNavigationTest, FiveNotchesTowardsTheUserZoomOutToOnePointOne)
{
    EXPECT_DOUBLE_EQ(TPlotView::WheelZoomStep(30), 0.005);  // finer wheels, finer steps
    const double resetWidth = WindowWidth();
    for (int notch = 0; notch < 5; ++notch)
        view.ZoomBy(TPlotView::WheelZoomStep(-120));
    EXPECT_NEAR(view.State().zoomFactor, 1.1, 1e-12);
    EXPECT_EQ(texts.back(), "Zoom Factor: 1.1");
    EXPECT_NEAR(WindowWidth(), 1.1 * resetWidth, 1e-9);
}

TEST_F(TPlotNavigationTest, ZoomTextUsesTheDecimalSeparatorAndFifteenDigits)
{
    view.ZoomBy(TPlotView::WheelZoomStep(120));
    view.SetDecimalSeparator(",");
    view.ZoomBy(0.98 - 1.0 / 3.0);  // 1/3 needs every one of the fifteen digits
    view.ZoomBy(-1e15);
    EXPECT_EQ(texts, (TTexts{"Zoom Factor: 0.98", "Zoom Factor: 0,333333333333333",
                             "Zoom Factor: 1e+15"}));
}

TEST_F(TPlotNavigationTest, NotANumberStepFallsToTheLowerBound)
{
    view.ZoomBy(std::numeric_limits<double>::quiet_NaN());
    EXPECT_EQ(view.State().zoomFactor, 0.01);
    view.ZoomBy(-1.0);
    EXPECT_DOUBLE_EQ(view.State().zoomFactor, 1.01);  // the view recovers
}

TEST_F(TPlotNavigationTest, ResetDuringADragKeepsTheDragGoing)
{
    view.Press(TMouseButton::Left, 100, 50);
    view.Move(110, 45);
    view.ResetView();
    EXPECT_EQ(view.State().panX, 0);
    EXPECT_TRUE(view.State().panFlag);
    EXPECT_EQ(view.State().lastPointerX, 110);

    view.Move(120, 45);
    EXPECT_EQ(view.State().panX, -10);
    EXPECT_EQ(texts,
              (TTexts{"Moved mouse from 100,50 to -10,5", "Moved mouse from 110,45 to -10,0"}));
}

}  // namespace
