#pragma once
// Where the paint sequence puts a world point: turned as glRotatef turns it on the projection
// matrix (about X, then Y, then Z, so a point is turned about Z first), then mapped from the view
// window onto the panel's pixels. Fit, pick and the highlight marker all measure with this, so
// they agree with what is drawn.

#include "common/Point.h"
#include "plot/ViewBounds.h"
#include "plot/ViewState.h"

#include <array>

// A world point after the turns: x and y span the view window, z is the depth that the
// projection clips to -extent .. +extent.
struct TTurnedPoint
{
    double x, y, z;
};

// Panel pixels, x to the right and y downwards, as the pointer reports them.
struct TPixelPoint
{
    double x, y;
};

// The view's three turns as one matrix.
class TViewTurn
{
public:
    explicit TViewTurn(const TViewState& state);

    TTurnedPoint operator()(const TPoint3f& point) const
    {
        const double x = point.x, y = point.y, z = point.z;
        return {fMatrix[0][0] * x + fMatrix[0][1] * y + fMatrix[0][2] * z,
                fMatrix[1][0] * x + fMatrix[1][1] * y + fMatrix[1][2] * z,
                fMatrix[2][0] * x + fMatrix[2][1] * y + fMatrix[2][2] * z};
    }

private:
    std::array<std::array<double, 3>, 3> fMatrix{};
};

class TViewProjection
{
public:
    TViewProjection(const TViewState& state, const TViewBounds& bounds, int width, int height);

    TTurnedPoint Turned(const TPoint3f& point) const { return fTurn(point); }
    TPixelPoint ToPixels(const TTurnedPoint& point) const
    {
        return {(point.x - fLeft) * fPixelsPerUnitX, (fTop - point.y) * fPixelsPerUnitY};
    }
    // False while the panel has no size or the view window is not finite: nothing maps then.
    bool Usable() const { return fUsable; }
    double DepthLimit() const { return fDepthLimit; }

private:
    TViewTurn fTurn;
    double fLeft = 0, fTop = 0;
    double fPixelsPerUnitX = 0, fPixelsPerUnitY = 0;
    double fDepthLimit = 0;
    bool fUsable = false;
};
