// Wheel turns in the main window: the focused control is offered a turn first, the window
// last, so the plot zooms only while the panel has the focus and the pointer is over it.

#include "PlotterTestSupport.h"

#include "GCodeEditor.h"
#include "OpenGLPanel.h"

#include <QAction>
#include <QApplication>
#include <QStatusBar>
#include <QTest>
#include <QToolBar>
#include <QWheelEvent>

namespace {

constexpr int kNotch = 120;

class TWheelTest : public TPlotterTest
{
protected:
    void SetUp() override
    {
        TPlotterTest::SetUp();
        MakeWindow();
        QString text;
        for (int line = 1; line <= 300; ++line)
            text += QStringLiteral("N%1 G1 X%1\n").arg(line);
        window->Editor().setText(text);
        window->show();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }

    TOpenGLPanel& Panel() const { return window->Panel(); }
    double Zoom() const { return Panel().ViewState().zoomFactor; }
    QPoint PanelCentre() const { return Panel().rect().center(); }

    void FocusEditor()
    {
        window->Editor().setFocus();
        QTRY_VERIFY(window->Editor().hasFocus());
    }

    void PointAtPanel() { QTest::mouseMove(&Panel(), PanelCentre()); }

    // A turn delivered where Qt delivers it: to the control under the pointer.
    static bool Turn(QWidget& under, const QPoint& local, int delta)
    {
        QWheelEvent turn(QPointF(local), QPointF(under.mapToGlobal(local)), QPoint(),
                         QPoint(0, delta), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase,
                         false);
        turn.setAccepted(false);
        QApplication::sendEvent(&under, &turn);
        return turn.isAccepted();
    }
};

TEST_F(TWheelTest, ThePlotZoomsOnlyAfterALeftClickOnThePanel)
{
    FocusEditor();
    PointAtPanel();
    ASSERT_TRUE(Panel().PointerInside());
    Turn(Panel(), PanelCentre(), -kNotch);
    EXPECT_EQ(Zoom(), 1.0) << "the editor has the focus and takes the turn";
    EXPECT_GT(window->Editor().firstVisibleLine(), 0) << "the editor scrolled";

    QTest::mouseClick(&Panel(), Qt::LeftButton, {}, PanelCentre());
    ASSERT_TRUE(Panel().hasFocus());
    PointAtPanel();
    EXPECT_TRUE(Turn(Panel(), PanelCentre(), kNotch));
    EXPECT_DOUBLE_EQ(Zoom(), 0.98);
    Turn(Panel(), PanelCentre(), -kNotch);
    Turn(Panel(), PanelCentre(), -kNotch);
    EXPECT_DOUBLE_EQ(Zoom(), 1.02);
    // A fine wheel zooms in proportion.
    Turn(Panel(), PanelCentre(), kNotch / 4);
    EXPECT_DOUBLE_EQ(Zoom(), 1.015);
}

TEST_F(TWheelTest, TheEditorAtItsTopStillKeepsTheTurn)
{
    FocusEditor();
    PointAtPanel();
    Turn(Panel(), PanelCentre(), kNotch);  // up, where the editor cannot scroll further
    EXPECT_EQ(Zoom(), 1.0);
    EXPECT_EQ(window->Editor().firstVisibleLine(), 0);
}

TEST_F(TWheelTest, TurnsOutsideThePanelDoNothing)
{
    QTest::mouseClick(&Panel(), Qt::LeftButton, {}, PanelCentre());
    ASSERT_TRUE(Panel().hasFocus());
    auto* toolBar = window->findChild<QToolBar*>("ToolBar1");
    QTest::mouseMove(toolBar, toolBar->rect().center());
    ASSERT_FALSE(Panel().PointerInside());
    EXPECT_FALSE(Turn(*toolBar, toolBar->rect().center(), kNotch));
    EXPECT_FALSE(Turn(*window->statusBar(), QPoint(5, 5), kNotch));
    EXPECT_EQ(Zoom(), 1.0);
    EXPECT_EQ(window->Editor().firstVisibleLine(), 0);

    bool handled = false;
    window->FormMouseWheel(kNotch, QPoint(), handled);
    EXPECT_FALSE(handled);
    EXPECT_EQ(Zoom(), 1.0);
}

TEST_F(TWheelTest, PanelTextsNeverReachTheStatusBar)
{
    QTest::mouseClick(&Panel(), Qt::LeftButton, {}, PanelCentre());
    PointAtPanel();
    window->statusBar()->clearMessage();
    Turn(Panel(), PanelCentre(), kNotch);
    QTest::mousePress(&Panel(), Qt::LeftButton, {}, PanelCentre());
    QTest::mouseMove(&Panel(), PanelCentre() + QPoint(10, 5));
    QTest::mouseRelease(&Panel(), Qt::LeftButton, {}, PanelCentre() + QPoint(10, 5));
    ASSERT_NE(Panel().ViewState().panX, 0);
    EXPECT_TRUE(window->statusBar()->currentMessage().isEmpty());
}

TEST_F(TWheelTest, ResetToOriginResetsTheView)
{
    window->SetLineTable(nullptr);
    Panel().AddSegment({0, 0, 0}, {1, 1, 0}, clRed);
    Panel().SetExtent(25);
    Panel().ZoomBy(0.3);
    QTest::mousePress(&Panel(), Qt::MiddleButton, {}, PanelCentre());
    QTest::mouseMove(&Panel(), PanelCentre() + QPoint(7, 3));
    QTest::mouseRelease(&Panel(), Qt::MiddleButton, {}, PanelCentre() + QPoint(7, 3));
    ASSERT_NE(Panel().ViewState().rotationY, 0.0);

    window->findChild<QAction*>("itmSettingsResetDrawing")->trigger();
    const TViewState& view = Panel().ViewState();
    EXPECT_EQ(view.zoomFactor, 1.0);
    EXPECT_EQ(view.rotationX, 0.0);
    EXPECT_EQ(view.rotationY, 0.0);
    EXPECT_EQ(view.panX, 0);
    EXPECT_EQ(view.spanX, 25.0);
    EXPECT_EQ(view.extent, 25);
    EXPECT_EQ(Panel().Segments().size(), 1u);
}

} // namespace
