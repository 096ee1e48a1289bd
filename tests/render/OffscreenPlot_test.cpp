// The plot drawn without a display: real pixels from the offscreen context.
#include "render/OffscreenPlot.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

constexpr int kSize = 100;          // pixels; the default view shows 0..10 on both axes
constexpr TColor kBlue = 0xFF0000;  // red in the low byte
constexpr TColor kRed = 0x0000FF;

struct TRgb
{
    std::uint8_t red, green, blue;
    bool operator==(const TRgb&) const = default;
};

class TOffscreenPlotTest : public ::testing::Test
{
protected:
    // No X server, whatever the test runner has set up.
    void SetUp() override
    {
        unsetenv("DISPLAY");
        unsetenv("WAYLAND_DISPLAY");
    }

    static TRgb Pixel(const std::vector<std::uint8_t>& pixels, int x, int y)
    {
        const std::uint8_t* p = pixels.data() + (y * kSize + x) * 3;
        return TRgb{p[0], p[1], p[2]};
    }

    // How many pixels of the colour lie in the rectangle (bounds included).
    static int Count(const std::vector<std::uint8_t>& pixels, TRgb colour, int left, int top,
                     int right, int bottom)
    {
        int count = 0;
        for (int y = top; y <= bottom; ++y)
            for (int x = left; x <= right; ++x)
                count += Pixel(pixels, x, y) == colour;
        return count;
    }
};

TEST_F(TOffscreenPlotTest, DrawsSegmentsInTheirColoursWhereTheViewPutsThem)
{
    TOffscreenPlot plot(kSize);
    // World y = 2 is image row 80; world x = 5 is column 50.
    plot.View().AddSegment({1, 2, 0}, {9, 2, 0}, kBlue);
    plot.View().AddSegment({5, 4, 0}, {5, 9, 0}, kRed);
    const std::vector<std::uint8_t> pixels = plot.Render();

    ASSERT_EQ(pixels.size(), static_cast<std::size_t>(kSize * kSize * 3));
    const TRgb blue{0, 0, 255};
    const TRgb red{255, 0, 0};
    EXPECT_GE(Count(pixels, blue, 10, 79, 90, 81), 75);
    EXPECT_GE(Count(pixels, red, 49, 11, 51, 60), 45);
    // Nothing else is drawn in the middle: the background is the panel's black.
    EXPECT_EQ(Count(pixels, TRgb{0, 0, 0}, 10, 20, 40, 70), 31 * 51);
}

TEST_F(TOffscreenPlotTest, ImageRowsRunFromTheTop)
{
    TOffscreenPlot plot(kSize);
    plot.View().AddSegment({1, 9, 0}, {9, 9, 0}, kBlue);  // near the top of the view
    const std::vector<std::uint8_t> pixels = plot.Render();
    EXPECT_GE(Count(pixels, TRgb{0, 0, 255}, 10, 9, 90, 11), 75);
    EXPECT_EQ(Count(pixels, TRgb{0, 0, 255}, 10, 85, 90, 95), 0);
}

TEST_F(TOffscreenPlotTest, RenderShowsTheViewAsItIsThen)
{
    TOffscreenPlot plot(kSize);
    plot.View().AddSegment({1, 2, 0}, {9, 2, 0}, kBlue);
    plot.View().SetExtent(20);  // the same segment, half as far from the bottom and as long
    const std::vector<std::uint8_t> pixels = plot.Render();
    EXPECT_GE(Count(pixels, TRgb{0, 0, 255}, 5, 89, 45, 91), 38);
    EXPECT_EQ(Count(pixels, TRgb{0, 0, 255}, 50, 89, 95, 91), 0);
}

}  // namespace
