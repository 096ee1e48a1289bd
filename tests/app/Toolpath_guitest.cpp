// The toolpath builder of the main window: line tables become the panel's segments and extent.

#include "tests/app/PlotterTestSupport.h"

#include "app/dialogs/ColorsDlg.h"
#include "gcode/GCodeEngine.h"
#include "gcode/LineTable.h"
#include "plot/OpenGLPanel.h"

#include <cstdint>
#include <limits>
#include <string>
#include <vector>

namespace {

constexpr TColor kWhite = 0x00FFFFFF;

bool operator==(const TPoint3f& a, const TPoint3f& b)
{
    return a.x == b.x && a.y == b.y && a.z == b.z;
}

class TToolpathTest : public TPlotterTest
{
protected:
    void SetUp() override
    {
        TPlotterTest::SetUp();
        MakeWindow();
    }

    // Interprets the lines and hands the table to the builder, as a refresh does.
    std::shared_ptr<TLineTable> Plot(std::vector<std::string> lines)
    {
        engines.push_back(std::make_unique<TGCodeEngine>());
        engines.back()->Run(std::move(lines));
        window->SetLineTable(engines.back()->Table());
        return engines.back()->Table();
    }

    const TSegmentList& Segments() const { return window->Panel().Segments(); }
    std::int32_t Extent() const { return window->Panel().ViewState().extent; }
    TColor Colour(int mode) const { return window->MotionColors()[mode]; }

    void ExpectSegment(std::size_t index, TPoint3f from, TPoint3f to, TColor colour) const
    {
        ASSERT_LT(index, Segments().size());
        const TSegment& s = Segments()[index];
        EXPECT_TRUE(s.from == from)
            << "segment " << index << " from " << s.from.x << "," << s.from.y << "," << s.from.z;
        EXPECT_TRUE(s.to == to) << "segment " << index << " to " << s.to.x << "," << s.to.y << ","
                                << s.to.z;
        EXPECT_EQ(s.colour, colour) << "segment " << index;
    }

    std::vector<std::unique_ptr<TGCodeEngine>> engines;
};

TEST_F(TToolpathTest, StartsAtTheOriginAndCarriesMissingCoordinates)
{
    Plot({"G0 X1 Y2", "X3"});
    ASSERT_EQ(Segments().size(), 2u);
    ExpectSegment(0, {0, 0, 0}, {1, 2, 0}, Colour(0));
    ExpectSegment(1, {1, 2, 0}, {3, 2, 0}, Colour(0));
    EXPECT_EQ(Extent(), 4);
}

TEST_F(TToolpathTest, MotionModeCountsOnlyOnRowsWithACoordinate)
{
    Plot({"G1 F100", "X10"});
    ASSERT_EQ(Segments().size(), 1u);
    ExpectSegment(0, {0, 0, 0}, {10, 0, 0}, Colour(0));
    EXPECT_EQ(Extent(), 11);
}

TEST_F(TToolpathTest, ArcsAreStraightAndTheModeCarriesOver)
{
    Plot({"G2 X1 I5 R3", "G0 Z5", "X2 Y4", "G3 Y1", "G1 X6", "Z-2"});
    ASSERT_EQ(Segments().size(), 6u);
    ExpectSegment(0, {0, 0, 0}, {1, 0, 0}, Colour(2));
    ExpectSegment(1, {1, 0, 0}, {1, 0, 5}, Colour(0));
    ExpectSegment(2, {1, 0, 5}, {2, 4, 5}, Colour(0));
    ExpectSegment(3, {2, 4, 5}, {2, 1, 5}, Colour(3));
    ExpectSegment(4, {2, 1, 5}, {6, 1, 5}, Colour(1));
    ExpectSegment(5, {6, 1, 5}, {6, 1, -2}, Colour(1));
    EXPECT_EQ(Extent(), 7);
}

TEST_F(TToolpathTest, CoordinatesAreNarrowedToFloat)
{
    Plot({"G1 X0.1 Y1e-50 Z123456789.123"});
    ASSERT_EQ(Segments().size(), 1u);
    ExpectSegment(0, {0, 0, 0}, {0.1f, 0.0f, 123456789.123f}, Colour(1));
}

TEST_F(TToolpathTest, UnknownMotionModesAreWhiteUntilTheNextMode)
{
    // The interpreter stores only G0 to G3, so the odd mode is written into the table directly.
    auto table = std::make_shared<TLineTable>();
    const auto row = [&](std::optional<int> motion, double x) {
        table->AppendRow();
        if (motion)
            table->SetInteger("GMotion", *motion);
        table->SetFloat("AxisX", x);
        table->CommitRow();
    };
    row(1, 1);
    row(7, 2);
    row(std::nullopt, 3);
    row(0, 4);
    window->SetLineTable(table);
    ASSERT_EQ(Segments().size(), 4u);
    EXPECT_EQ(Segments()[0].colour, Colour(1));
    EXPECT_EQ(Segments()[1].colour, kWhite);
    EXPECT_EQ(Segments()[2].colour, kWhite);
    EXPECT_EQ(Segments()[3].colour, Colour(0));
}

TEST_F(TToolpathTest, APendingRowLeftByAFailedRunIsPlotted)
{
    TGCodeEngine engine;
    EXPECT_THROW(engine.Run({"G0 X1", "G1 X2 Y"}), EZorvitError);
    window->SetLineTable(engine.Table());
    ASSERT_EQ(Segments().size(), 2u);
    ExpectSegment(1, {1, 0, 0}, {2, 0, 0}, Colour(1));
}

// The extent is the largest positive X or Y, rounded half to even, plus 1.
class TExtentTest : public TToolpathTest,
                    public ::testing::WithParamInterface<std::pair<const char*, std::int32_t>>
{};

TEST_P(TExtentTest, FromTheLargestXOrY)
{
    Plot({GetParam().first});
    EXPECT_EQ(Extent(), GetParam().second);
}

INSTANTIATE_TEST_SUITE_P(
    Maxima, TExtentTest,
    ::testing::Values(std::pair{"X2.5", 3}, std::pair{"X3.5", 5}, std::pair{"X10", 11},
                      std::pair{"Y0.5 X0.2", 1}, std::pair{"X1.5 Y0.4", 3},
                      std::pair{"X1 Y7.49", 8}, std::pair{"X1 Z900", 2},
                      std::pair{"X2147483520", 2147483521},
                      // Beyond the 32-bit range the extent stays at the largest value.
                      std::pair{"X2147483647", std::numeric_limits<std::int32_t>::max()},
                      std::pair{"Y3e9", std::numeric_limits<std::int32_t>::max()},
                      std::pair{"X1e300", std::numeric_limits<std::int32_t>::max()}));

TEST_F(TToolpathTest, ExtentIsSetOnlyWhenTheMaximumChanges)
{
    const auto table = Plot({"G0 X1 Y2", "X3"});
    ASSERT_EQ(Extent(), 4);
    // A second build of the same table leaves an extent set meanwhile alone.
    window->Panel().SetExtent(50);
    window->SetLineTable(table);
    EXPECT_EQ(Extent(), 50);
    EXPECT_EQ(Segments().size(), 2u);

    // Negative coordinates and an empty table give a maximum of 0, hence extent 1.
    Plot({"X-5 Y-9 Z4"});
    EXPECT_EQ(Extent(), 1);
    window->Panel().SetExtent(50);
    Plot({});
    EXPECT_EQ(Extent(), 50) << "the maximum was 0 already";
    EXPECT_TRUE(Segments().empty());
}

TEST_F(TToolpathTest, NoTableAddsNothing)
{
    window->Panel().SetExtent(42);
    window->BuildToolpath();
    EXPECT_TRUE(Segments().empty());
    EXPECT_EQ(Extent(), 42);
}

TEST_F(TToolpathTest, SetLineTableResetsTheView)
{
    window->Panel().ZoomBy(0.5);
    Plot({"X1"});
    EXPECT_EQ(window->Panel().ViewState().zoomFactor, 1.0);
}

// The plot colours flow: OK rebuilds in the new colours, Cancel changes nothing.
TEST_F(TToolpathTest, ColoursDialogOkRebuildsInTheNewColours)
{
    Plot({"G0 X1", "G1 Y2", "G2 X3", "G3 Y4"});
    window->Panel().SetExtent(50);
    window->Panel().ZoomBy(0.5);
    const std::array<TColor, 4> chosen{clLime, clFuchsia, clNavy, clMaroon};
    std::array<TColor, 4> shown{};
    dialogs->onExecute = [&](QDialog& dialog) {
        auto& colours = dynamic_cast<TdlgColor&>(dialog);
        shown = colours.GetColors();
        colours.PutColors(chosen);
        return true;
    };
    ActionNamed("DisplayColors1").trigger();
    EXPECT_EQ(shown, (std::array<TColor, 4>{clBlue, clRed, clOlive, clTeal}));
    EXPECT_EQ(window->MotionColors(), chosen);
    ASSERT_EQ(Segments().size(), 4u);
    for (int mode = 0; mode < 4; ++mode)
        EXPECT_EQ(Segments()[mode].colour, chosen[mode]) << mode;
    EXPECT_EQ(Extent(), 5) << "the rebuild hands the extent over again";
    EXPECT_EQ(window->Panel().ViewState().zoomFactor, 1.0);
}

TEST_F(TToolpathTest, ColoursDialogCancelChangesNothing)
{
    Plot({"G0 X1", "G1 Y2"});
    window->Panel().ZoomBy(0.5);
    dialogs->onExecute = [](QDialog& dialog) {
        dynamic_cast<TdlgColor&>(dialog).PutColors({clLime, clLime, clLime, clLime});
        return false;
    };
    ActionNamed("DisplayColors1").trigger();
    EXPECT_EQ(window->MotionColors()[0], clBlue);
    EXPECT_EQ(Segments()[1].colour, clRed);
    EXPECT_EQ(window->Panel().ViewState().zoomFactor, 0.5);
}

}  // namespace
