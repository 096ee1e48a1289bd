#pragma once
// The plot the plot benchmarks measure on: 1,000,000 short segments of a random walk inside a
// square, coloured like the four motion modes, in a panel of 1024 x 768 pixels.

#include "common/Color.h"
#include "plot/Segment.h"

#include <array>
#include <cstdint>
#include <random>
#include <vector>

namespace bench {

constexpr int kSegmentCount = 1'000'000;
constexpr int kWidth = 1024;
constexpr int kHeight = 768;
constexpr float kPlotSize = 100.0f;  // world units the path wanders in
constexpr float kStepLength = 0.5f;  // world units per segment, at most
constexpr std::uint32_t kSeed = 274;
constexpr std::array<TColor, 4> kMotionColours{clBlue, clRed, clOlive, clTeal};

inline std::vector<TSegment> ShortSegments()
{
    std::mt19937 random(kSeed);
    std::uniform_real_distribution<float> step(-kStepLength, kStepLength);
    std::vector<TSegment> segments;
    segments.reserve(kSegmentCount);
    TPoint3f point{kPlotSize / 2, kPlotSize / 2, 0};
    for (int i = 0; i < kSegmentCount; ++i) {
        TPoint3f next{point.x + step(random), point.y + step(random), point.z + step(random)};
        if (next.x < 0 || next.x > kPlotSize || next.y < 0 || next.y > kPlotSize)
            next = {kPlotSize / 2, kPlotSize / 2, 0};
        segments.push_back({point, next, kMotionColours[i % kMotionColours.size()]});
        point = next;
    }
    return segments;
}

}  // namespace bench
