#include "plot/MeasurePoint.h"

#include <cmath>

namespace {

// Keeps point when it is on screen, within the depth range and nearer than the best so far.
void Consider(const TViewProjection& projection, const TPoint3f& point, TPixelPoint pointer,
              double& nearest2, std::optional<TPoint3f>& nearest)
{
    const TTurnedPoint turned = projection.Turned(point);
    if (std::abs(turned.z) > projection.DepthLimit())
        return;
    const TPixelPoint pixel = projection.ToPixels(turned);
    const double dx = pixel.x - pointer.x, dy = pixel.y - pointer.y;
    const double distance2 = dx * dx + dy * dy;
    if (distance2 < nearest2) {
        nearest2 = distance2;
        nearest = point;
    }
}

}  // namespace

std::optional<TPoint3f> SnapPoint(const TViewProjection& projection, const TSegmentList& segments,
                                  const std::vector<TPoint3f>& centres, TPixelPoint pointer,
                                  double maxDistance)
{
    if (!projection.Usable())
        return std::nullopt;
    std::optional<TPoint3f> nearest;
    double nearest2 = maxDistance * maxDistance;
    for (std::size_t i = 0; i < segments.size(); ++i) {
        if (i == 0 || !SamePoint(segments.From(i), segments.To(i - 1)))
            Consider(projection, segments.From(i), pointer, nearest2, nearest);
        Consider(projection, segments.To(i), pointer, nearest2, nearest);
    }
    for (const TPoint3f& centre : centres)
        Consider(projection, centre, pointer, nearest2, nearest);
    return nearest;
}

std::vector<TOverlayShape> MeasureShapes(const std::vector<TPoint3f>& points, TColor colour)
{
    if (points.empty())
        return {};
    std::vector<TOverlayShape> shapes{{TGLPrimitive::Points, colour, 7, points}};
    if (points.size() == 2)
        shapes.push_back({TGLPrimitive::Lines, colour, 2, points});
    return shapes;
}
