#include "plot/SegmentColouring.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>

namespace {

// Blue, pale grey, red: a diverging scale whose middle still reads on the black background.
constexpr std::array<std::array<double, 3>, 3> kStops{
    {{59, 76, 192}, {221, 221, 221}, {180, 4, 38}}};
constexpr double kDimming = 0.3;  // the share of each channel a dimmed colour keeps

TColor Rgb(double red, double green, double blue)
{
    const auto channel = [](double value) {
        return static_cast<TColor>(std::lround(std::clamp(value, 0.0, 255.0)));
    };
    return channel(red) | channel(green) << 8 | channel(blue) << 16;
}

double Fraction(double value, double low, double high)
{
    return high > low ? (value - low) / (high - low) : 0.5;
}

}  // namespace

TColor GradientColour(double fraction)
{
    const double at = std::clamp(std::isnan(fraction) ? 0.5 : fraction, 0.0, 1.0) *
                      static_cast<double>(kStops.size() - 1);
    const std::size_t stop = std::min(static_cast<std::size_t>(at), kStops.size() - 2);
    const double t = at - static_cast<double>(stop);
    const auto mix = [&](int channel) {
        return kStops[stop][channel] + (kStops[stop + 1][channel] - kStops[stop][channel]) * t;
    };
    return Rgb(mix(0), mix(1), mix(2));
}

TColor DimmedColour(TColor colour)
{
    return Rgb(ColorRed(colour) * kDimming, ColorGreen(colour) * kDimming,
               ColorBlue(colour) * kDimming);
}

std::vector<float> FeedRates(const TMotionList& motions)
{
    std::vector<float> rates;
    rates.reserve(motions.Motions.size());
    for (const TMotion& motion : motions.Motions)
        rates.push_back(motion.Kind == TMotionKind::Rapid ? 0 : static_cast<float>(motion.Rate));
    return rates;
}

TSegmentColours ColourByFeed(const std::vector<float>& rates, const TMotionSegments& segmentsOf,
                             double scale, std::size_t segmentCount)
{
    TSegmentColours result;
    for (const float rate : rates) {
        if (!(rate > 0))
            continue;
        result.Low = result.Ranged ? std::min(result.Low, double{rate}) : rate;
        result.High = result.Ranged ? std::max(result.High, double{rate}) : rate;
        result.Ranged = true;
    }
    result.Colours.assign(segmentCount, kNoFeedColour);
    for (std::size_t i = 0; i < rates.size(); ++i) {
        if (!(rates[i] > 0))
            continue;
        const TColor colour = GradientColour(Fraction(rates[i], result.Low, result.High));
        const TIndexRange range = segmentsOf.Of(i);
        const std::size_t end = std::min(range.first + range.count, segmentCount);
        for (std::size_t segment = range.first; segment < end; ++segment)
            result.Colours[segment] = colour;
    }
    result.Low *= scale;
    result.High *= scale;
    return result;
}

TSegmentColours ColourByDepth(const TSegmentList& segments)
{
    TSegmentColours result;
    if (segments.empty())
        return result;
    result.Ranged = true;
    result.Low = result.High = segments.front().from.z;
    for (const TSegment& segment : segments) {
        result.Low = std::min({result.Low, double{segment.from.z}, double{segment.to.z}});
        result.High = std::max({result.High, double{segment.from.z}, double{segment.to.z}});
    }
    result.Colours.reserve(segments.size());
    for (const TSegment& segment : segments) {
        const double depth = std::min(segment.from.z, segment.to.z);
        result.Colours.push_back(GradientColour(Fraction(depth, result.Low, result.High)));
    }
    return result;
}
