// The main window as a native Wayland client: it gets the window system's decorations (on
// Wayland drawn by Qt itself), as any plain Qt window does. Run by scripts/test-wayland.sh under
// a headless Weston; on other window systems there is nothing to check.
#include "tests/app/PlotterTestSupport.h"

#include <QGuiApplication>
#include <QMainWindow>
#include <QWindow>

#include <gtest/gtest.h>

namespace {

// Counts the paints of the widget it watches.
class TPaintCount : public QObject
{
public:
    int Count = 0;

protected:
    bool eventFilter(QObject* /*watched*/, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            ++Count;
        return false;
    }
};

class TWaylandTest : public TPlotterTest
{
protected:
    void SetUp() override
    {
        if (!QGuiApplication::platformName().startsWith(QStringLiteral("wayland")))
            GTEST_SKIP() << "not a Wayland client";
        TPlotterTest::SetUp();
    }

    // The decorations' size: zero on every side without them.
    static QMargins Frame(QWidget& widget)
    {
        widget.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&widget));
        return widget.windowHandle()->frameMargins();
    }
};

TEST_F(TWaylandTest, TheMainWindowHasATitleBarAsAPlainWindowHas)
{
    QMainWindow plain;
    const QMargins plainFrame = Frame(plain);
    ASSERT_GT(plainFrame.top(), 0);
    MakeWindow();
    TPaintCount paints;
    window->installEventFilter(&paints);
    EXPECT_EQ(Frame(*window), plainFrame);
    // The title bar of a window composed with OpenGL is drawn by a repaint after it is exposed.
    paints.Count = 0;
    EXPECT_TRUE(QTest::qWaitFor([&paints] { return paints.Count > 0; }));
}

}  // namespace
