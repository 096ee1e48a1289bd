// Measuring on the plot: which point a click snaps to and the figures between two points.
#include "playback/StateText.h"
#include "plot/MeasurePoint.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

namespace {

// 100 x 100 pixels over the world square 0..100, unturned: pixel (x, 100 - y) shows (x, y);
// the depth range is the default extent, 10.
TViewProjection Projection(int width = 100)
{
    return TViewProjection(TViewState{}, TViewBounds{0, 100, 0, 100}, width, 100);
}

TEST(MeasurePointTest, SnapsToTheNearestMoveEndOrCentreWithinReach)
{
    const std::vector<TSegment> segments = {{{10, 10, 0}, {50, 10, 0}, 0},
                                            {{50, 10, 0}, {50, 50, 0}, 0},
                                            {{50, 50, 0}, {80, 80, 20}, 0},
                                            {{52, 50, 0}, {90, 50, 0}, 0}};
    const std::vector<TPoint3f> centres = {{30, 70, 0}};
    const struct
    {
        TPixelPoint pointer;
        std::optional<TPoint3f> expected;
        const char* what;
    } kCases[] = {
        {{12, 88}, TPoint3f{10, 10, 0}, "the first move's start"},
        {{46, 91}, TPoint3f{50, 10, 0}, "an end shared by two moves"},
        {{31, 31}, TPoint3f{30, 70, 0}, "an arc centre"},
        {{30, 90}, std::nullopt, "the middle of a move is no point"},
        {{80, 20}, std::nullopt, "an end beyond the depth range"},
        {{51.2, 50}, TPoint3f{52, 50, 0}, "the nearer of two close ends"},
        {{90, 56.5}, std::nullopt, "just beyond reach"},
    };
    for (const auto& c : kCases) {
        const auto point = SnapPoint(Projection(), segments, centres, c.pointer, 6);
        ASSERT_EQ(point.has_value(), c.expected.has_value()) << c.what;
        if (point) {
            EXPECT_TRUE(SamePoint(*point, *c.expected))
                << c.what << ": " << point->x << " " << point->y << " " << point->z;
        }
    }
    EXPECT_FALSE(SnapPoint(Projection(0), segments, centres, {12, 88}, 6))
        << "a panel without a size maps nothing";
}

TEST(MeasurePointTest, FiguresOfAMeasure)
{
    const struct
    {
        TPoint3f from, to;
        const char* expected;
    } kCases[] = {
        {{0, 0, 0}, {3, 4, -12}, "distance: 13\ndX: 3\ndY: 4\ndZ: -12\n"},
        {{1.5f, 2, 2}, {0, 2, 2}, "distance: 1.5\ndX: -1.5\ndY: 0\ndZ: 0\n"},
        {{0, 0, 0}, {0.25f, 0.25f, 0}, "distance: 0.3536\ndX: 0.25\ndY: 0.25\ndZ: 0\n"},
    };
    for (const auto& c : kCases)
        EXPECT_EQ(FormatMeasure(c.from, c.to), c.expected);
}

}  // namespace
