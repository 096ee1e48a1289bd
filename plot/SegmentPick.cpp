#include "SegmentPick.h"

#include <algorithm>
#include <cmath>

namespace
{

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

TTurnedPoint Between(const TTurnedPoint& a, const TTurnedPoint& b, double t)
{
    return {a.x + t * (b.x - a.x), a.y + t * (b.y - a.y), a.z + t * (b.z - a.z)};
}

} // namespace

std::optional<std::size_t> PickSegment(const TViewProjection& projection,
                                       const std::vector<TSegment>& segments, TPixelPoint pointer,
                                       double maxDistance)
{
    if (!projection.Usable())
        return std::nullopt;
    std::optional<std::size_t> nearest;
    double nearest2 = maxDistance * maxDistance;
    for (std::size_t i = 0; i < segments.size(); ++i) {
        TTurnedPoint a = projection.Turned(segments[i].from);
        TTurnedPoint b = projection.Turned(segments[i].to);
        double t0 = 0.0, t1 = 1.0;
        if (!ClipToDepth(a.z, b.z, projection.DepthLimit(), t0, t1))
            continue;
        if (t0 > 0.0 || t1 < 1.0) {
            const TTurnedPoint start = Between(a, b, t0);
            b = Between(a, b, t1);
            a = start;
        }
        const double distance2 =
            SquaredDistanceToSegment(pointer, projection.ToPixels(a), projection.ToPixels(b));
        // Not-a-number distances (from coordinates that are not finite) never compare true.
        if (distance2 <= nearest2) {
            nearest2 = distance2;
            nearest = i;
        }
    }
    return nearest;
}
