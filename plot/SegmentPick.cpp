#include "plot/SegmentPick.h"

#include <algorithm>
#include <cmath>

namespace {

// The part t0..t1 of the segment a + t (b - a) whose depth lies within -limit .. +limit; false
// when none does.
bool ClipToDepth(double depthA, double depthB, double limit, double& t0, double& t1)
{
    t0 = 0.0;
    t1 = 1.0;
    const double delta = depthB - depthA;
    if (delta == 0.0)
        return std::abs(depthA) <= limit;
    const double tLow = (-limit - depthA) / delta;
    const double tHigh = (limit - depthA) / delta;
    t0 = std::max(t0, std::min(tLow, tHigh));
    t1 = std::min(t1, std::max(tLow, tHigh));
    return t0 <= t1;
}

double SquaredDistanceToSegment(TPixelPoint p, TPixelPoint a, TPixelPoint b)
{
    const double dx = b.x - a.x, dy = b.y - a.y;
    const double length2 = dx * dx + dy * dy;
    double t = length2 > 0.0 ? ((p.x - a.x) * dx + (p.y - a.y) * dy) / length2 : 0.0;
    t = std::clamp(t, 0.0, 1.0);
    const double ex = a.x + t * dx - p.x, ey = a.y + t * dy - p.y;
    return ex * ex + ey * ey;
}

// A point in panel pixels with its depth; the projection is affine, so pieces of a segment
// interpolate the same in pixels as in the world.
struct TScreenPoint
{
    TPixelPoint pixel;
    double depth;
};

TScreenPoint OnScreen(const TViewProjection& projection, const TPoint3f& point)
{
    const TTurnedPoint turned = projection.Turned(point);
    return {projection.ToPixels(turned), turned.z};
}

TPixelPoint Between(TPixelPoint a, TPixelPoint b, double t)
{
    return {a.x + t * (b.x - a.x), a.y + t * (b.y - a.y)};
}

// Both ends beyond the same side of the square around the pointer: the segment cannot come
// within reach.
bool OutOfReach(TPixelPoint a, TPixelPoint b, TPixelPoint pointer, double reach)
{
    return (a.x < pointer.x - reach && b.x < pointer.x - reach) ||
           (a.x > pointer.x + reach && b.x > pointer.x + reach) ||
           (a.y < pointer.y - reach && b.y < pointer.y - reach) ||
           (a.y > pointer.y + reach && b.y > pointer.y + reach);
}

}  // namespace

std::optional<std::size_t> PickSegment(const TViewProjection& projection,
                                       const TSegmentList& segments, TPixelPoint pointer,
                                       double maxDistance)
{
    if (!projection.Usable())
        return std::nullopt;
    std::optional<std::size_t> nearest;
    double nearest2 = maxDistance * maxDistance;
    const double limit = projection.DepthLimit();
    TScreenPoint lastEnd{};
    for (std::size_t i = 0; i < segments.size(); ++i) {
        // A tool path mostly starts each segment where the one before ended: projected once.
        const bool continues = i > 0 && SamePoint(segments.From(i), segments.To(i - 1));
        const TScreenPoint a = continues ? lastEnd : OnScreen(projection, segments.From(i));
        const TScreenPoint b = OnScreen(projection, segments.To(i));
        lastEnd = b;
        if (OutOfReach(a.pixel, b.pixel, pointer, maxDistance))
            continue;
        TPixelPoint from = a.pixel, to = b.pixel;
        if (std::abs(a.depth) > limit || std::abs(b.depth) > limit) {
            double t0 = 0.0, t1 = 1.0;
            if (!ClipToDepth(a.depth, b.depth, limit, t0, t1))
                continue;
            from = Between(a.pixel, b.pixel, t0);
            to = Between(a.pixel, b.pixel, t1);
        }
        const double distance2 = SquaredDistanceToSegment(pointer, from, to);
        // Not-a-number distances (from coordinates that are not finite) never compare true.
        if (distance2 <= nearest2) {
            nearest2 = distance2;
            nearest = i;
        }
    }
    return nearest;
}
