// The machine path in the real window: the menu item reaches the reading and the settings file
// keeps it only while it is on, a failed reading marks its line, Esc cancels a long reading,
// and a move made in a subroutine tells its call line.

#include "tests/app/PlotterTestSupport.h"

#include "app/window/WorkProgress.h"
#include "editor/FailedLineMark.h"
#include "editor/GCodeEditor.h"
#include "plot/OpenGLPanel.h"
#include "plot/ViewProjection.h"
#include "tests/support/WaitFor.h"

#include <QStatusBar>
#include <QTest>

namespace {

// A half circle clockwise from (-10,0) over (0,10) to (10,0).
constexpr const char* kArcProgram = "G21 G90\nG0 X-10 Y0\nG2 X10 Y0 I10 J0 F100\n";

class TMachinePathGuiTest : public TPlotterTest
{
protected:
    std::size_t SegmentsIn(TColor colour) const
    {
        std::size_t count = 0;
        for (const TSegment& segment : window->Panel().Segments())
            count += segment.colour == colour;
        return count;
    }

    // Where a world point is drawn, in panel pixels.
    QPoint PixelOf(TPoint3f point) const
    {
        const TOpenGLPanel& panel = window->Panel();
        const TViewProjection projection(panel.ViewState(), panel.ViewBounds(), panel.width(),
                                         panel.height());
        const TPixelPoint pixel = projection.ToPixels(projection.Turned(point));
        return QPointF(pixel.x, pixel.y).toPoint();
    }

    void TurnMachinePathOn()
    {
        ClickMenuItem("mnuPlotter", "itmPlotterMachinePath");
        ASSERT_TRUE(ActionNamed("PlotterMachinePath").isChecked());
    }
};

TEST_F(TMachinePathGuiTest, TheMenuItemReadsTheMachinePathAndTheSettingsKeepItOnlyWhileOn)
{
    MakeWindow();
    window.reset();
    const QString firstRun = SettingsText();
    ASSERT_FALSE(firstRun.isEmpty());

    const QString file = WriteFile(QStringLiteral("arc.ngc"), kArcProgram);
    MakeWindow({file});
    EXPECT_FALSE(ActionNamed("PlotterMachinePath").isChecked()) << "off by default";
    EXPECT_EQ(SegmentsIn(window->MotionColors()[2]), 1u) << "the transcription's one chord";
    ShowWindow();
    TurnMachinePathOn();
    const std::size_t arcSegments = SegmentsIn(window->MotionColors()[2]);
    EXPECT_GE(arcSegments, 8u) << "the arc is drawn as an arc";
    EXPECT_EQ(SegmentsIn(window->MotionColors()[0]), 1u);
    // A move before the program names its units is read in the units the setting names.
    window->Editor().SetTextBytes("G1 X1 F10\nG21 X2\n");
    ClickMenuItem("mnuPlotter", "itmPlotterInchDefault");
    ASSERT_FALSE(window->Panel().Segments().empty());
    EXPECT_FLOAT_EQ(window->Panel().Segments().front().to.x, 25.4f);
    dialogs->answers.push_back(TAnswer::No);
    window.reset();
    EXPECT_TRUE(
        SettingsText().contains(QStringLiteral("[Reading]\nMachinePath=1\nDefaultUnits=inch\n")));

    // The next window starts with it on and opens the file as a machine reads it.
    MakeWindow({file});
    EXPECT_TRUE(ActionNamed("PlotterMachinePath").isChecked());
    EXPECT_EQ(SegmentsIn(window->MotionColors()[2]), arcSegments);
    ShowWindow();
    ClickMenuItem("mnuPlotter", "itmPlotterMachinePath");
    EXPECT_EQ(SegmentsIn(window->MotionColors()[2]), 1u) << "off, the transcription again";
    ClickMenuItem("mnuPlotter", "itmPlotterInchDefault");
    window.reset();
    EXPECT_EQ(SettingsText(), firstRun) << "switched off, the file is the first run's again";
}

TEST_F(TMachinePathGuiTest, AFailedReadingMarksItsLineAndPlotsTheMovesBeforeIt)
{
    MakeWindow();
    ShowWindow();
    TurnMachinePathOn();
    window->Editor().SetTextBytes("G0 X5\nG1 Y5 F100\nG2 X10 Y0\nG1 X0\n");
    ActionNamed("PlotterRefresh").trigger();
    ASSERT_EQ(dialogs->errors.size(), 1);
    EXPECT_TRUE(dialogs->errors.front().contains(QStringLiteral("line 3")))
        << dialogs->errors.front().toStdString();
    EXPECT_EQ(window->FailedLineMark().Line(), 2);
    EXPECT_EQ(window->Editor().annotation(2), dialogs->errors.front());
    EXPECT_EQ(window->Panel().Segments().size(), 2u);
}

TEST_F(TMachinePathGuiTest, EscCancelsALongReadingAndThePlotShowsWhatWasRead)
{
    constexpr int kLines = 400000;
    QByteArray program;
    for (int i = 0; i < kLines / 2; ++i)
        program += "G1 X1 F100\nG1 X0\n";
    MakeWindow();
    ShowWindow();
    TurnMachinePathOn();
    auto* progress = window->findChild<TWorkProgress*>(QStringLiteral("WorkProgress"));
    ASSERT_NE(progress, nullptr);
    progress->SetShowAfter(std::chrono::milliseconds(0));
    bool cancelShown = false;
    QObject::connect(progress, &TWorkProgress::StageShown, window.get(), [&](const QString& stage) {
        if (stage != QStringLiteral("Interpreting"))
            return;
        auto* cancel = window->statusBar()->findChild<QWidget*>(QStringLiteral("btnCancelWork"));
        cancelShown = cancel != nullptr && cancel->isVisible();
        QTest::keyClick(window->windowHandle(), Qt::Key_Escape);
    });
    window->Editor().SetTextBytes(program);
    ActionNamed("PlotterRefresh").trigger();
    EXPECT_TRUE(cancelShown) << "a Cancel button stands beside the progress";
    EXPECT_TRUE(dialogs->errors.isEmpty()) << "cancelling is no error";
    EXPECT_LT(window->Panel().Segments().size(), static_cast<std::size_t>(kLines));
    EXPECT_EQ(window->FailedLineMark().Line(), -1);
}

TEST_F(TMachinePathGuiTest, AMoveOfASubroutineTellsItsCallLineAndTheCallLineLightsItsMoves)
{
    MakeWindow();
    ShowAndFocusEditor();
    TurnMachinePathOn();
    window->Editor().SetTextBytes("o100 sub\n"
                                  "G1 X20 Y0 F100\n"
                                  "o100 endsub\n"
                                  "G0 X0 Y20\n"
                                  "o100 call\n"
                                  "M2\n");
    ActionNamed("PlotterRefresh").trigger();
    ASSERT_TRUE(dialogs->errors.isEmpty()) << dialogs->errors.join(' ').toStdString();
    ASSERT_EQ(window->Panel().Segments().size(), 2u);
    TOpenGLPanel& panel = window->Panel();
    panel.setFocus();
    EXPECT_SOON(panel.hasFocus());
    QTest::keyClick(&panel, Qt::Key_F);

    QTest::mouseClick(&panel, Qt::LeftButton, {}, PixelOf({10, 10, 0}));
    int line = -1, index = -1;
    window->Editor().getCursorPosition(&line, &index);
    EXPECT_EQ(line, 1) << "the caret goes to the body line";
    EXPECT_EQ(window->statusBar()->currentMessage(), QStringLiteral("called from line 5"));

    window->Editor().setCursorPosition(5, 0);
    EXPECT_SOON(!panel.HasHighlight());
    window->Editor().setCursorPosition(4, 0);
    EXPECT_SOON(panel.HasHighlight());
}

}  // namespace
