// The progress of long synchronous work in the status bar: nothing for short work; for long
// work the stage and a bar, the window repainted meanwhile, and timers (the watcher's notice,
// say) kept waiting until the work is over. And the main window's open reports its stages.

#include "tests/app/PlotterTestSupport.h"

#include "app/window/WorkProgress.h"
#include "plot/OpenGLPanel.h"

#include <QLabel>
#include <QMainWindow>
#include <QProgressBar>
#include <QStatusBar>
#include <QTest>
#include <QTimer>

#include <chrono>
#include <stdexcept>
#include <thread>
#include <vector>

namespace {

using namespace std::chrono_literals;

// Counts its paints.
class TPaintCounter : public QWidget
{
public:
    int paints = 0;

protected:
    void paintEvent(QPaintEvent*) override { ++paints; }
};

class TWorkProgressTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        counter = new TPaintCounter;
        window.setCentralWidget(counter);
        window.resize(400, 300);
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
        QObject::connect(progress, &TWorkProgress::StageShown,
                         [this](const QString& stage) { stages << stage; });
    }

    QLabel& Label() const { return *window.statusBar()->findChild<QLabel*>("lblWorkStage"); }
    QProgressBar& Bar() const { return *window.statusBar()->findChild<QProgressBar*>("pbrWork"); }

    QMainWindow window;
    TPaintCounter* counter = nullptr;
    TWorkProgress* progress = new TWorkProgress(*window.statusBar());
    QStringList stages;
};

TEST_F(TWorkProgressTest, ShortWorkShowsNothing)
{
    {
        const TWorkProgress::TScope working(*progress);
        progress->Report(kStageReading, 0, 10);
        progress->Report(kStageInterpreting, 5, 10);
        EXPECT_FALSE(progress->Showing());
    }
    EXPECT_TRUE(stages.isEmpty());
    EXPECT_TRUE(Label().isHidden());
    EXPECT_TRUE(Bar().isHidden());
}

TEST_F(TWorkProgressTest, LongWorkShowsStageAndBarRepaintsAndHoldsTimersUntilItEnds)
{
    progress->SetShowAfter(0ms);
    // Due before the work reports, as the watcher's notice timer may be.
    bool timerFired = false;
    QTimer timer;
    timer.setSingleShot(true);
    QObject::connect(&timer, &QTimer::timeout, [&] { timerFired = true; });
    timer.start(1);
    std::this_thread::sleep_for(5ms);
    {
        const TWorkProgress::TScope working(*progress);
        counter->update();
        const int paintsBefore = counter->paints;
        progress->Report(kStageReading, 1, 4);
        EXPECT_TRUE(Label().isVisible());
        EXPECT_EQ(Label().text(), "Reading");
        EXPECT_TRUE(Bar().isVisible());
        EXPECT_EQ(Bar().value(), Bar().maximum() / 4);
        EXPECT_GT(counter->paints, paintsBefore) << "the window is repainted while it works";

        {
            const TWorkProgress::TScope inner(*progress);  // a nested step keeps the progress
        }
        EXPECT_TRUE(progress->Showing());
        progress->Report(kStageInterpreting, 0, 4);
        progress->Report(kStagePlotting, 3, 4);
        EXPECT_EQ(Label().text(), "Plotting");
        EXPECT_FALSE(timerFired) << "no timer runs in the middle of the work";
    }
    EXPECT_EQ(stages, (QStringList{"Reading", "Interpreting", "Plotting"}));
    EXPECT_TRUE(Label().isHidden());
    EXPECT_TRUE(Bar().isHidden());
    QTest::qWait(20);
    EXPECT_TRUE(timerFired);
}

// Counts the paints of a widget it watches.
class TPaintWatch : public QObject
{
public:
    explicit TPaintWatch(QWidget& widget) { widget.installEventFilter(this); }
    int paints = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        paints += event->type() == QEvent::Paint ? 1 : 0;
        return false;
    }
};

TEST_F(TWorkProgressTest, ReportsBetweenRepaintsPaintNothing)
{
    progress->SetShowAfter(0ms);
    const TWorkProgress::TScope working(*progress);
    progress->Report(kStageInterpreting, 0, 100);
    const TPaintWatch bar(Bar());
    // Each report moves the bar by more than a pixel; each paint would compose the window.
    for (int done = 1; done < 100; ++done)
        progress->Report(kStageInterpreting, static_cast<std::size_t>(done), 100);
    EXPECT_EQ(bar.paints, 0);
}

TEST_F(TWorkProgressTest, PaintsAreHeldWhileTheProgressShows)
{
    std::vector<bool> holds;
    progress->HoldPaintsWith([&](bool held) { holds.push_back(held); });
    {
        const TWorkProgress::TScope quick(*progress);
        progress->Report(kStagePlotting, 0, 2);
    }
    EXPECT_TRUE(holds.empty()) << "short work holds nothing";
    progress->SetShowAfter(0ms);
    {
        const TWorkProgress::TScope working(*progress);
        progress->Report(kStagePlotting, 0, 2);
        EXPECT_EQ(holds, std::vector<bool>{true});
        progress->Report(kStagePlotting, 1, 2);
    }
    EXPECT_EQ(holds, (std::vector<bool>{true, false}));
}

TEST_F(TWorkProgressTest, AFailingStepStillHidesTheProgress)
{
    progress->SetShowAfter(0ms);
    try {
        const TWorkProgress::TScope working(*progress);
        progress->Report(kStageInterpreting, 0, 1);
        throw std::runtime_error("Number expected");
    } catch (const std::runtime_error&) {}
    EXPECT_TRUE(Label().isHidden());
    EXPECT_FALSE(progress->Showing());
}

class TWindowProgressTest : public TPlotterTest
{};

TEST_F(TWindowProgressTest, LongOpenShowsReadingInterpretingPlottingThenTheUsualWindow)
{
    const QString path = WriteFile("square.ngc", "G0 X1 Y1\nG1 X5\nY5\nX1\nY1\n");
    MakeWindow();
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    auto* workProgress = window->findChild<TWorkProgress*>("WorkProgress");
    ASSERT_NE(workProgress, nullptr);
    workProgress->SetShowAfter(0ms);
    QStringList shown;
    QObject::connect(workProgress, &TWorkProgress::StageShown,
                     [&](const QString& stage) { shown << stage; });

    dialogs->openNames.push_back(path);
    ActionNamed("FileOpen1").trigger();
    EXPECT_EQ(shown, (QStringList{"Reading", "Interpreting", "Plotting"}));
    EXPECT_EQ(window->Panel().Segments().size(), 5u);
    EXPECT_FALSE(workProgress->Showing());
    EXPECT_TRUE(window->Panel().updatesEnabled());

    shown.clear();
    ActionNamed("PlotterRefresh").trigger();
    EXPECT_EQ(shown, (QStringList{"Interpreting", "Plotting"}));
    EXPECT_EQ(window->Panel().Segments().size(), 5u);
}

}  // namespace
