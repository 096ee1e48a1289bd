// Lenient reading and the program info window in the real window: the menu item switches the
// reading and rebuilds the plot, the settings file keeps it only while it is on, and the info
// window follows every run.

#include "tests/app/PlotterTestSupport.h"

#include "editor/GCodeEditor.h"
#include "plot/OpenGLPanel.h"
#include "tests/support/WaitFor.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>

namespace {

constexpr const char* kCamProgram = "G21 G90 ; metric\n"
                                    "G0 X10 Y5\n"
                                    "G1 X20. F300.\n"
                                    "Y.5 ; feed on\n";

class TLenientReadingGuiTest : public TPlotterTest
{
protected:
    // The figures as Program Info's Copy gives them.
    QString InfoText() const
    {
        auto* copy = window->findChild<QPushButton*>(QStringLiteral("btnCopy"));
        if (copy == nullptr)
            return {};
        QTest::mouseClick(copy, Qt::LeftButton);
        return QGuiApplication::clipboard()->text();
    }

    bool IncompleteShown() const
    {
        auto* label = window->findChild<QLabel*>(QStringLiteral("lblIncomplete"));
        return label != nullptr && label->isVisible();
    }
};

TEST_F(TLenientReadingGuiTest, TheMenuItemSwitchesTheReadingAndRebuildsThePlot)
{
    const QString file = WriteFile(QStringLiteral("cam.ngc"), kCamProgram);
    MakeWindow({file});
    EXPECT_EQ(dialogs->errors, QStringList({"Number expected on line 1."}));
    EXPECT_TRUE(window->Panel().Segments().empty());
    ShowWindow();

    ClickMenuItem("mnuPlotter", "itmPlotterLenient");
    EXPECT_TRUE(ActionNamed("PlotterLenient").isChecked());
    const std::vector<TSegment>& segments = window->Panel().Segments();
    ASSERT_EQ(segments.size(), 3u);
    EXPECT_EQ(segments[0].to.x, 10.0f);
    EXPECT_EQ(segments[0].colour, window->MotionColors()[0]);
    EXPECT_EQ(segments[1].to.x, 20.0f);
    EXPECT_EQ(segments[2].to.y, 0.5f);
    EXPECT_EQ(segments[2].colour, window->MotionColors()[1]);
    EXPECT_EQ(dialogs->errors.size(), 1) << "lenient reading reports no error";

    // Switched off, strict reading stops again and the plot keeps the last picture.
    ClickMenuItem("mnuPlotter", "itmPlotterLenient");
    EXPECT_FALSE(ActionNamed("PlotterLenient").isChecked());
    EXPECT_EQ(dialogs->errors.size(), 2);
    EXPECT_EQ(window->Panel().Segments().size(), 3u);
}

TEST_F(TLenientReadingGuiTest, TheSettingsFileKeepsLenientReadingOnlyWhileItIsOn)
{
    MakeWindow();
    window.reset();
    const QString firstRun = SettingsText();
    ASSERT_FALSE(firstRun.isEmpty());
    EXPECT_FALSE(firstRun.contains(QStringLiteral("Reading")));

    MakeWindow();
    ShowWindow();
    ClickMenuItem("mnuPlotter", "itmPlotterLenient");
    window.reset();
    EXPECT_TRUE(SettingsText().contains(QStringLiteral("[Reading]")));
    EXPECT_TRUE(SettingsText().contains(QStringLiteral("Lenient=1")));

    // The next window starts with it on, and reads leniently at once.
    const QString file = WriteFile(QStringLiteral("cam.ngc"), kCamProgram);
    MakeWindow({file});
    EXPECT_TRUE(ActionNamed("PlotterLenient").isChecked());
    EXPECT_TRUE(dialogs->errors.isEmpty());
    EXPECT_EQ(window->Panel().Segments().size(), 3u);
    ShowWindow();
    ClickMenuItem("mnuPlotter", "itmPlotterLenient");
    dialogs->errors.clear();
    window.reset();
    EXPECT_EQ(SettingsText(), firstRun) << "switched off, the file is the first run's again";
}

TEST_F(TLenientReadingGuiTest, ProgramInfoFollowsEveryRunAndTellsWhenThePlotIsIncomplete)
{
    const QString file = WriteFile(QStringLiteral("cam.ngc"), kCamProgram);
    MakeWindow({file});
    ShowWindow();
    ClickMenuItem("mnuPlotter", "itmPlotterLenient");
    ClickMenuItem("mnuView", "itmViewProgramInfo");
    auto* info = window->findChild<QWidget*>(QStringLiteral("frmProgramInfo"));
    ASSERT_NE(info, nullptr);
    EXPECT_SOON(info->isVisible());
    EXPECT_TRUE(InfoText().contains(QStringLiteral("segments G1: 2\n")));
    EXPECT_TRUE(InfoText().contains(QStringLiteral("units: G21\n")));
    EXPECT_FALSE(IncompleteShown());

    window->Editor().SetTextBytes("G0 X#1 Y2\nG1 X3\n");
    ActionNamed("PlotterRefresh").trigger();
    EXPECT_TRUE(InfoText().contains(QStringLiteral("segments G1: 1\n")));
    EXPECT_TRUE(InfoText().contains(QStringLiteral("skipped 1: line 1: X#1\n")));
    EXPECT_TRUE(IncompleteShown());
    EXPECT_TRUE(info->isVisible()) << "the window is not modal and stays open";
    auto* notice = window->findChild<QLabel*>(QStringLiteral("lblSkipped"));
    ASSERT_NE(notice, nullptr);
    EXPECT_TRUE(notice->isVisible());
    EXPECT_EQ(notice->text(),
              "Lenient reading skipped 1 word and 0 lines: the plot is incomplete.");

    window->Editor().SetTextBytes("G0 X1\n");
    ActionNamed("PlotterRefresh").trigger();
    EXPECT_FALSE(notice->isVisible());
    EXPECT_FALSE(IncompleteShown());
}

}  // namespace
