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
// projection clips to plus or minus the depth range.
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
        return {FMatrix[0][0] * x + FMatrix[0][1] * y + FMatrix[0][2] * z,
                FMatrix[1][0] * x + FMatrix[1][1] * y + FMatrix[1][2] * z,
                FMatrix[2][0] * x + FMatrix[2][1] * y + FMatrix[2][2] * z};
    }

private:
    std::array<std::array<double, 3>, 3> FMatrix{};
};

class TViewProjection
{
public:
    TViewProjection(const TViewState& state, const TViewBounds& bounds, int width, int height);

    TTurnedPoint Turned(const TPoint3f& point) const { return FTurn(point); }
    TPixelPoint ToPixels(const TTurnedPoint& point) const
    {
        return {(point.x - FLeft) * FPixelsPerUnitX, (FTop - point.y) * FPixelsPerUnitY};
    }
    // False while the panel has no size or the view window is not finite: nothing maps then.
    bool Usable() const { return FUsable; }
    double DepthLimit() const { return FDepthLimit; }

private:
    TViewTurn FTurn;
    double FLeft = 0, FTop = 0;
    double FPixelsPerUnitX = 0, FPixelsPerUnitY = 0;
    double FDepthLimit = 0;
    bool FUsable = false;
};
