// View > Colour By in the real window: the choices recolour the plot of either reading with a
// legend, give the motion colours back, and are kept in the settings file only while they are
// not the motion mode.

#include "tests/app/PlotterTestSupport.h"

#include "app/window/ColourLegend.h"
#include "plot/OpenGLPanel.h"
#include "plot/SegmentColouring.h"
#include "tests/support/WaitFor.h"

namespace {

// A rapid, two feeds at 100 and 300 mm/min and an arc at 200, down to Z-2.
constexpr const char* kProgram =
    "G21 G90\nG0 X0 Y0 Z5\nG1 Z-2 F100\nG1 X10 F300\nG2 X20 Y0 I5 J0 F200\n";

class TColourByGuiTest : public TPlotterTest
{
protected:
    const TColourLegend& Legend() const
    {
        return *window->findChild<TColourLegend*>(QStringLiteral("lgdColourBy"));
    }
    std::vector<TColor> Colours() const
    {
        std::vector<TColor> colours;
        for (const TSegment& segment : window->Panel().Segments())
            colours.push_back(segment.colour);
        return colours;
    }
};

TEST_F(TColourByGuiTest, ChoicesRecolourBothReadingsAndTheMotionModeGivesTheColoursBack)
{
    MakeWindow({WriteFile(QStringLiteral("feeds.ngc"), kProgram)});
    ShowAndFocusEditor();
    for (const char* reading : {"transcription", "itmPlotterMachinePath"}) {
        SCOPED_TRACE(reading);
        if (reading != std::string("transcription"))
            ClickMenuItem("mnuPlotter", reading);
        const std::vector<TColor> motion = Colours();
        ClickMenuItem("mnuView", "itmViewColourByFeed");
        // The rapid, 100, 300 and the arc at 200 mm/min: its last chord.
        EXPECT_EQ((std::vector<TColor>{Colours()[0], Colours()[1], Colours()[2], Colours().back()}),
                  (std::vector<TColor>{kNoFeedColour, GradientColour(0), GradientColour(1),
                                       GradientColour(0.5)}));
        EXPECT_TRUE(Legend().isVisible());
        EXPECT_TRUE(Legend().Text().startsWith(QStringLiteral("Feed: 100 to 300 ")));

        ClickMenuItem("mnuView", "itmViewColourByDepth");
        EXPECT_EQ(Colours()[1], GradientColour(0)) << "the plunge to Z-2";
        EXPECT_TRUE(Legend().Text().startsWith(QStringLiteral("Z: -2 to 5 ")));

        ClickMenuItem("mnuView", "itmViewColourByMotion");
        EXPECT_EQ(Colours(), motion);
        EXPECT_FALSE(Legend().isVisible());
    }
}

TEST_F(TColourByGuiTest, TheChoiceIsKeptOnlyWhileItIsNotTheMotionMode)
{
    MakeWindow();
    window.reset();
    const QString first = SettingsText();
    EXPECT_FALSE(first.contains(QStringLiteral("[View]")));

    MakeWindow();
    ActionNamed("ViewColourByDepth").trigger();
    window.reset();
    EXPECT_TRUE(SettingsText().contains(QStringLiteral("[View]\nColorBy=2\n")))
        << SettingsText().toStdString();

    // Read back: a program opened with it is coloured by depth at once.
    MakeWindow({WriteFile(QStringLiteral("feeds.ngc"), kProgram)});
    EXPECT_TRUE(ActionNamed("ViewColourByDepth").isChecked());
    EXPECT_EQ(window->Panel().Segments()[1].colour, GradientColour(0));
    ActionNamed("ViewColourByMotion").trigger();
    window.reset();
    EXPECT_EQ(SettingsText().toStdString(), first.toStdString());
}

}  // namespace
