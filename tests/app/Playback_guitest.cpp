// Playback's wiring in the real window: View > Playback shows the bar under the plot and reads
// the machine path with its states, the keys on the plot step the marker block by block, the
// caret puts the marker at the end of its line's move, the slider puts it on its way with the caret
// following, and turning it off takes the marker away.

#include "tests/app/PlotterTestSupport.h"

#include "app/window/PlaybackBar.h"
#include "editor/GCodeEditor.h"
#include "plot/OpenGLPanel.h"
#include "tests/support/WaitFor.h"

#include <QPlainTextEdit>
#include <QSlider>
#include <QTest>

namespace {

constexpr const char* kProgram = "G21 G90\nG0 X-10 Y0\nG2 X10 Y0 I10 J0 F100\nG1 Y5\n";

class TPlaybackGuiTest : public TPlotterTest
{
protected:
    TPlaybackBar& Bar() const { return *window->findChild<TPlaybackBar*>("barPlayback"); }
    QString State() const
    {
        return window->findChild<QPlainTextEdit*>("memPlaybackState")->toPlainText();
    }
};

TEST_F(TPlaybackGuiTest, KeysAndTheCaretMoveTheMarkerOverTheMachinePath)
{
    MakeWindow({WriteFile(QStringLiteral("arc.ngc"), kProgram)});
    ShowAndFocusEditor();
    ClickMenuItem("mnuPlotter", "itmPlotterMachinePath");
    EXPECT_FALSE(Bar().isVisible()) << "off by default";
    ClickMenuItem("mnuView", "itmViewPlayback");
    ASSERT_TRUE(ActionNamed("ViewPlayback").isChecked());
    ASSERT_TRUE(Bar().isVisible());
    EXPECT_GT(Bar().TotalSeconds(), 0);
    EXPECT_TRUE(State().startsWith(QStringLiteral("line: 2\nreached: yes\n")))
        << State().toStdString();

    window->Panel().setFocus();
    EXPECT_SOON(window->Panel().hasFocus());
    const struct
    {
        Qt::Key Key;
        const char* Position;
    } kSteps[] = {
        {Qt::Key_Period, "position: X-10 Y0 Z0\n"},
        {Qt::Key_Period, "position: X10 Y0 Z0\n"},
        {Qt::Key_Period, "position: X10 Y5 Z0\n"},
        {Qt::Key_Comma, "position: X10 Y0 Z0\n"},
    };
    for (const auto& step : kSteps) {
        QTest::keyClick(&window->Panel(), step.Key);
        EXPECT_TRUE(State().contains(QLatin1String(step.Position))) << State().toStdString();
    }

    // The rapid of line 2 takes 10 mm at 5000 mm/min.
    // The editor reports caret moves as it updates, after the event loop has run.
    window->Editor().setCursorPosition(1, 0);
    EXPECT_SOON(State().contains(QStringLiteral("position: X-10 Y0 Z0\n")));
    EXPECT_NEAR(Bar().Seconds(), 0.12, 1e-9);

    // Scrubbed into the middle of the last move: the caret follows onto its line and the
    // marker stays on its way, 0.1% of the time before the end of the feed at 100 mm/min.
    auto* slider = window->findChild<QSlider*>("sldPlaybackTime");
    QTest::keyClick(slider, Qt::Key_End);
    QTest::keyClick(slider, Qt::Key_PageDown);
    const auto caretLine = [this] {
        int line = 0;
        int index = 0;
        window->Editor().getCursorPosition(&line, &index);
        return line;
    };
    EXPECT_SOON(caretLine() == 3);
    QCoreApplication::processEvents();
    EXPECT_TRUE(State().contains(QStringLiteral("line: 4\n"))) << State().toStdString();
    const double early = Bar().TotalSeconds() / 1000 * 100 / 60;
    EXPECT_TRUE(
        State().contains(QStringLiteral("position: X10 Y%1 Z0\n").arg(5 - early, 0, 'f', 4)))
        << State().toStdString();

    QTest::keyClick(&window->Panel(), Qt::Key_Space);
    EXPECT_TRUE(Bar().Playing());
    QTest::keyClick(&window->Panel(), Qt::Key_Space);
    EXPECT_FALSE(Bar().Playing());

    ClickMenuItem("mnuView", "itmViewPlayback");
    EXPECT_FALSE(Bar().isVisible());
    EXPECT_EQ(Bar().TotalSeconds(), 0);
}

// The plot dims what the marker has not reached, only while the bar shows.
TEST_F(TPlaybackGuiTest, MovesAfterTheMarkerAreDimmedWhileTheBarShows)
{
    MakeWindow({WriteFile(QStringLiteral("arc.ngc"), kProgram)});
    ShowAndFocusEditor();
    ClickMenuItem("mnuPlotter", "itmPlotterMachinePath");
    EXPECT_FALSE(window->Panel().View().HasProgress());
    ClickMenuItem("mnuView", "itmViewPlayback");
    TPlotView& view = window->Panel().View();
    ASSERT_TRUE(view.HasProgress());
    EXPECT_EQ(view.ProgressPassed(), 0u);

    // The rapid, the arc's chords, and back; each step draws over the kept picture what it
    // passed, never the whole path.
    window->Panel().setFocus();
    EXPECT_SOON(window->Panel().hasFocus());
    QTest::qWait(50);
    EXPECT_EQ(view.ProgressPassed(), 0u);
    const int paints = window->Panel().PaintCount();
    const std::size_t drawn = window->Panel().ProgressSegmentCount();
    const std::size_t arc = view.Segments().size() - 2;
    const struct
    {
        Qt::Key Key;
        std::size_t Passed;
        std::size_t Drawn;
    } kSteps[] = {
        {Qt::Key_Period, 1, 1}, {Qt::Key_Period, 1 + arc, 1 + arc}, {Qt::Key_Comma, 1, 2 + arc}};
    for (const auto& step : kSteps) {
        QTest::keyClick(&window->Panel(), step.Key);
        EXPECT_EQ(view.ProgressPassed(), step.Passed);
        EXPECT_SOON(window->Panel().ProgressSegmentCount() == drawn + step.Drawn);
    }
    QTest::qWait(50);
    EXPECT_EQ(window->Panel().PaintCount(), paints);

    ClickMenuItem("mnuView", "itmViewPlayback");
    EXPECT_FALSE(view.HasProgress());
}

}  // namespace
