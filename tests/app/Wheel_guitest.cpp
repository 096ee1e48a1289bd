// Wheel turns in the main window: the focused control is offered a turn first, the window
// last, so the plot zooms only while the panel has the focus and the pointer is over it. Turns
// arrive as real input does, so Qt's own handling of real turns (focus, propagation) applies.

#include "tests/app/PlotterTestSupport.h"
#include "tests/support/PointerMove.h"

#include "editor/GCodeEditor.h"
#include "plot/OpenGLPanel.h"
#include "tests/support/WaitFor.h"

#include <QAction>
#include <QApplication>
#include <QSpontaneKeyEvent>
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
        EXPECT_SOON(window->Editor().hasFocus());
    }

    // The panel counts the pointer inside from its first move there.
    void PointAtPanel()
    {
        MovePointerTo(Panel(), PanelCentre());
        EXPECT_TRUE(Panel().PointerInside());
    }

    // A turn over the control under at local, delivered as the window system delivers it: a
    // spontaneous event through QApplication::notify to the window's native window, which
    // hands it on to the control under the pointer. True when the turn was handled.
    static bool TurnBy(QWidget& under, const QPoint& local, const QPoint& angleDelta)
    {
        QWidget& topLevel = *under.window();
        QWheelEvent turn(QPointF(under.mapTo(&topLevel, local)), QPointF(under.mapToGlobal(local)),
                         QPoint(), angleDelta, Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase,
                         false);
        QSpontaneKeyEvent::setSpontaneous(&turn);
        turn.setAccepted(false);
        QApplication::instance()->notify(topLevel.windowHandle(), &turn);
        return turn.isAccepted();
    }
    static bool Turn(QWidget& under, const QPoint& local, int delta)
    {
        return TurnBy(under, local, QPoint(0, delta));
    }

    void ClickPanel()
    {
        QTest::mouseClick(&Panel(), Qt::LeftButton, {}, PanelCentre());
        ASSERT_TRUE(Panel().hasFocus());
    }
};

// Counts the wheel turns that reach one widget's own handler.
class TTurnCounter : public QObject
{
public:
    explicit TTurnCounter(QWidget& widget) { widget.installEventFilter(this); }
    int turns = 0;

protected:
    bool eventFilter(QObject* /*watched*/, QEvent* event) override
    {
        turns += event->type() == QEvent::Wheel ? 1 : 0;
        return false;
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
    MovePointerTo(*toolBar, toolBar->rect().center());
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

TEST_F(TWheelTest, ATurnOverTheEditorNeitherScrollsItNorTakesTheFocusFromThePlot)
{
    ClickPanel();
    TGCodeEditor& editor = window->Editor();
    const QPoint overEditor = editor.viewport()->rect().center();
    MovePointerTo(*editor.viewport(), overEditor);
    ASSERT_FALSE(Panel().PointerInside());
    EXPECT_FALSE(Turn(*editor.viewport(), overEditor, -kNotch));
    EXPECT_EQ(editor.firstVisibleLine(), 0);
    EXPECT_TRUE(Panel().hasFocus());
    EXPECT_EQ(Zoom(), 1.0);

    PointAtPanel();
    EXPECT_TRUE(Turn(Panel(), PanelCentre(), kNotch));
    EXPECT_DOUBLE_EQ(Zoom(), 0.98) << "the next turn over the plot zooms";
}

TEST_F(TWheelTest, AnInactiveWindowOffersTheTurnToItsOwnFocusedControl)
{
    FocusEditor();
    PointAtPanel();
    QWidget other;
    other.setGeometry(0, 0, 40, 30);
    other.show();
    other.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    ASSERT_EQ(window->focusWidget(), &window->Editor());
    ASSERT_TRUE(Panel().PointerInside());

    EXPECT_TRUE(Turn(Panel(), PanelCentre(), -kNotch));
    EXPECT_EQ(Zoom(), 1.0);
    EXPECT_GT(window->Editor().firstVisibleLine(), 0) << "the window's focused editor scrolled";
}

TEST_F(TWheelTest, ASidewaysTurnIsNoZoomStep)
{
    ClickPanel();
    PointAtPanel();
    const int paints = Panel().PaintCount();
    EXPECT_FALSE(TurnBy(Panel(), PanelCentre(), QPoint(kNotch, 0)));
    EXPECT_EQ(Panel().PaintCount(), paints);
    EXPECT_EQ(Zoom(), 1.0);
    // A turn with both parts zooms by its vertical part.
    EXPECT_TRUE(TurnBy(Panel(), PanelCentre(), QPoint(kNotch, kNotch)));
    EXPECT_DOUBLE_EQ(Zoom(), 0.98);
}

TEST_F(TWheelTest, AnUnhandledTurnReachesTheWindowOnce)
{
    ClickPanel();
    TTurnCounter windowTurns(*window);
    const QPoint overStatusBar = window->statusBar()->rect().center();
    MovePointerTo(*window->statusBar(), overStatusBar);
    EXPECT_FALSE(Turn(*window->statusBar(), overStatusBar, kNotch));
    EXPECT_EQ(windowTurns.turns, 1);
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

}  // namespace
