#include "plot/ViewFit.h"

#include "plot/ViewProjection.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

constexpr float kGizmoHalfAxis = 10.0f;  // the axes gizmo reaches 10 units along each half-axis

// The turned x and y that the view window has to hold.
class TTurnedBox
{
public:
    void Add(const TTurnedPoint& point)
    {
        if (!std::isfinite(point.x) || !std::isfinite(point.y))
            return;
        FMinX = std::min(FMinX, point.x);
        FMaxX = std::max(FMaxX, point.x);
        FMinY = std::min(FMinY, point.y);
        FMaxY = std::max(FMaxY, point.y);
    }
    bool Empty() const { return FMinX > FMaxX; }
    double Width() const { return FMaxX - FMinX; }
    double Height() const { return FMaxY - FMinY; }
    double CentreX() const { return FMinX / 2 + FMaxX / 2; }
    double CentreY() const { return FMinY / 2 + FMaxY / 2; }

private:
    double FMinX = std::numeric_limits<double>::infinity();
    double FMaxX = -std::numeric_limits<double>::infinity();
    double FMinY = std::numeric_limits<double>::infinity();
    double FMaxY = -std::numeric_limits<double>::infinity();
};

TTurnedBox TurnedBox(const TViewState& state, const TSegmentList& segments)
{
    const TViewTurn turn(state);
    TTurnedBox box;
    if (segments.empty()) {
        box.Add(turn({0, 0, 0}));
        for (const float end : {-kGizmoHalfAxis, kGizmoHalfAxis}) {
            box.Add(turn({end, 0, 0}));
            box.Add(turn({0, end, 0}));
            box.Add(turn({0, 0, end}));
        }
    }
    for (std::size_t i = 0; i < segments.size(); ++i) {
        // A start where the segment before ended is in the box already.
        const TPoint3f& from = segments.From(i);
        if (i == 0 || !SamePoint(from, segments.To(i - 1)))
            box.Add(turn(from));
        box.Add(turn(segments.To(i)));
    }
    return box;
}

// Pan pixels that put the window's centre on centre: the window starts at 0.05 x pan x factor
// and is span x factor wide.
std::optional<std::int32_t> CentringPan(double centre, double span, double factor)
{
    const double pan = std::round((centre / factor - span / 2) / kPanWorldPerPixel);
    constexpr double kLowest = std::numeric_limits<std::int32_t>::min();
    constexpr double kHighest = std::numeric_limits<std::int32_t>::max();
    if (!(pan >= kLowest && pan <= kHighest))
        return std::nullopt;
    return static_cast<std::int32_t>(pan);
}

}  // namespace

double HoldingDepthRange(std::int32_t extent, const TSegmentList& segments)
{
    double farthest = kGizmoHalfAxis;
    const auto reach = [&farthest](const TPoint3f& p) {
        const double distance =
            std::sqrt(double(p.x) * p.x + double(p.y) * p.y + double(p.z) * p.z);
        if (std::isfinite(distance))
            farthest = std::max(farthest, distance);
    };
    for (std::size_t i = 0; i < segments.size(); ++i) {
        if (i == 0 || !SamePoint(segments.From(i), segments.To(i - 1)))
            reach(segments.From(i));
        reach(segments.To(i));
    }
    return std::max(std::abs(static_cast<double>(extent)), farthest * (1.0 + kFitMargin));
}

std::optional<TZoomAndPan> FitZoomAndPan(const TViewState& state, int width, int height,
                                         const TSegmentList& segments)
{
    const double aspect = static_cast<double>(state.aspectRatio);
    if (width <= 0 || height <= 0 || !(aspect > 0) || !std::isfinite(aspect) ||
        !(state.spanX > 0) || !(state.spanY > 0))
        return std::nullopt;
    const TTurnedBox box = TurnedBox(state, segments);
    if (box.Empty())
        return std::nullopt;

    // The axis factors of the view window per unit of zoom (landscape widens x, portrait
    // heightens y), as the view window computes them.
    const bool landscape = width > height;
    const double perZoomX = landscape ? aspect : 1.0;
    const double perZoomY = landscape ? 1.0 : 1.0 / aspect;
    const double inside = 1.0 - 2.0 * kFitMargin;
    const double zoom = std::max({kMinZoomFactor, box.Width() / (inside * state.spanX * perZoomX),
                                  box.Height() / (inside * state.spanY * perZoomY)});
    if (!std::isfinite(zoom))
        return std::nullopt;
    const auto panX = CentringPan(box.CentreX(), state.spanX, zoom * perZoomX);
    const auto panY = CentringPan(box.CentreY(), state.spanY, zoom * perZoomY);
    if (!panX || !panY)
        return std::nullopt;
    return TZoomAndPan{zoom, *panX, *panY};
}
