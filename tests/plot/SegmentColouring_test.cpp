// Colouring segments by feed and depth, the gradient, and which segments a motion made.
#include "plot/SegmentColouring.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <vector>

namespace {

int ChannelDistance(TColor a, TColor b)
{
    return std::abs(ColorRed(a) - ColorRed(b)) + std::abs(ColorGreen(a) - ColorGreen(b)) +
           std::abs(ColorBlue(a) - ColorBlue(b));
}

TEST(SegmentColouringTest, TheGradientStaysFarFromEveryMarkerColourAndTheHighlight)
{
    // Playback picks its marker among these; the highlight is yellow.
    constexpr int kLeastDistance = 200;
    for (int step = 0; step <= 100; ++step) {
        const TColor colour = GradientColour(step / 100.0);
        for (const TColor marker : {clFuchsia, clLime, clAqua, clYellow})
            EXPECT_GE(ChannelDistance(colour, marker), kLeastDistance) << step;
        EXPECT_GE(ChannelDistance(colour, kNoFeedColour), kLeastDistance / 2) << step;
    }
    // The ends differ from each other and go from blue to red; values beyond them are clamped.
    EXPECT_GT(ColorBlue(GradientColour(0)), ColorRed(GradientColour(0)));
    EXPECT_GT(ColorRed(GradientColour(1)), ColorBlue(GradientColour(1)));
    EXPECT_EQ(GradientColour(-3), GradientColour(0));
    EXPECT_EQ(GradientColour(7), GradientColour(1));
    EXPECT_EQ(GradientColour(NAN), GradientColour(0.5));
}

TMotion Move(TMotionKind kind, double rate)
{
    TMotion motion;
    motion.Kind = kind;
    motion.Rate = rate;
    return motion;
}

TEST(SegmentColouringTest, FeedsSpanTheGradientOverEachMotionsSegmentsAndRapidsAreGrey)
{
    TMotionList motions;
    motions.Motions = {Move(TMotionKind::Rapid, 0), Move(TMotionKind::Feed, 100),
                       Move(TMotionKind::Arc, 200), Move(TMotionKind::Feed, 300),
                       Move(TMotionKind::Feed, 0)};
    // The arc made three segments.
    const TMotionSegments segmentsOf({1, 2, 5, 6, 7});
    const std::vector<float> rates = FeedRates(motions);
    EXPECT_EQ(rates, (std::vector<float>{0, 100, 200, 300, 0}));
    const TSegmentColours colours = ColourByFeed(rates, segmentsOf, 0.5, 7);
    const TColor low = GradientColour(0);
    const TColor middle = GradientColour(0.5);
    const TColor high = GradientColour(1);
    EXPECT_EQ(colours.Colours, (std::vector<TColor>{kNoFeedColour, low, middle, middle, middle,
                                                    high, kNoFeedColour}));
    EXPECT_TRUE(colours.Ranged);
    EXPECT_EQ(colours.Low, 50);  // in the plot's units
    EXPECT_EQ(colours.High, 150);

    // One motion per segment, as the transcription makes them; one feed sits in the middle.
    const TSegmentColours single = ColourByFeed(rates, TMotionSegments(), 1, 5);
    EXPECT_EQ(single.Colours,
              (std::vector<TColor>{kNoFeedColour, low, middle, high, kNoFeedColour}));
    EXPECT_EQ(ColourByFeed({80, 0}, TMotionSegments(), 1, 2).Colours,
              (std::vector<TColor>{middle, kNoFeedColour}));
    // A rapid keeps its rate out of the range, whatever it is.
    motions.Motions = {Move(TMotionKind::Rapid, 5000)};
    const TSegmentColours none = ColourByFeed(FeedRates(motions), TMotionSegments(), 1, 1);
    EXPECT_FALSE(none.Ranged);
    EXPECT_EQ(none.Colours, std::vector<TColor>{kNoFeedColour});
}

TEST(SegmentColouringTest, DepthTakesEachSegmentsLowerEndOverTheWholeZRange)
{
    const std::vector<TSegment> segments{{{0, 0, 10}, {5, 0, 10}, clRed},
                                         {{5, 0, 10}, {5, 0, -10}, clRed},  // a plunge: its bottom
                                         {{5, 0, -10}, {9, 0, 0}, clRed},
                                         {{9, 0, 0}, {9, 9, 0}, clRed}};
    const TSegmentColours colours = ColourByDepth(segments);
    EXPECT_TRUE(colours.Ranged);
    EXPECT_EQ(colours.Low, -10);
    EXPECT_EQ(colours.High, 10);
    EXPECT_EQ(colours.Colours, (std::vector<TColor>{GradientColour(1), GradientColour(0),
                                                    GradientColour(0), GradientColour(0.5)}));
    EXPECT_FALSE(ColourByDepth({}).Ranged);
    const TSegmentColours flat = ColourByDepth({{{0, 0, 2}, {1, 0, 2}, clRed}});
    EXPECT_EQ(flat.Colours, std::vector<TColor>{GradientColour(0.5)});
}

TEST(MotionSegmentsTest, PassedCountsTheSegmentsWhoseEndsTheToolReached)
{
    const TMotionSegments arcs({1, 2, 6});  // the third motion made four segments
    struct TCase
    {
        std::size_t move;
        double fraction;
        std::size_t passed;
    };
    for (const TCase& c :
         {TCase{0, 0, 0}, TCase{0, 0.99, 0}, TCase{0, 1, 1}, TCase{1, 0.5, 1}, TCase{2, 0, 2},
          TCase{2, 0.3, 3}, TCase{2, 0.5, 4}, TCase{2, 1, 6}, TCase{2, 1.5, 6}, TCase{2, -1, 2}}) {
        EXPECT_EQ(arcs.Passed(c.move, c.fraction), c.passed) << c.move << " " << c.fraction;
    }
    EXPECT_EQ(TMotionSegments().Passed(7, 0.5), 7u);
    EXPECT_EQ(TMotionSegments().Passed(7, 1), 8u);
}

}  // namespace
