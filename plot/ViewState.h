#pragma once
// Everything that decides how the segments are projected and how the pointer moves the view.
// The member initialisers are the values of a new panel.

#include <cstdint>
#include <limits>

constexpr double kPanWorldPerPixel = 0.05;  // window shift per pan pixel, times the axis factor
constexpr double kMinZoomFactor = 0.01;     // at most 100 times the reset magnification

struct TViewState
{
    double zoomFactor = 1.0;  // a smaller factor magnifies
    double spanY = 10.0;      // world units covered vertically, before aspect ratio and zoom
    double spanX = 10.0;      // world units covered horizontally, before aspect ratio and zoom
    bool panFlag = false;     // left button held
    bool turnFlag = false;    // middle button held
    std::int32_t lastPointerX = 0;  // pointer position at the last press or drag step, in pixels
    std::int32_t lastPointerY = 0;
    long double aspectRatio = std::numeric_limits<long double>::quiet_NaN();  // width / height
    std::int32_t panX = 0;  // accumulated drag offsets, in pixels
    std::int32_t panY = 0;
    std::int32_t extent = 10;  // plot size in world units: the spans and the depth range
    double rotationX = 0.0;    // degrees, never wrapped
    double rotationY = 0.0;
    double rotationZ = 0.0;
    // Half the depth the projection keeps, when Fit to View or a standard view set it to hold
    // the whole path; 0 keeps the extent.
    double depthRange = 0.0;
};

// Points turned to a depth beyond plus or minus this are clipped.
inline double DepthRange(const TViewState& state)
{
    return state.depthRange > 0 ? state.depthRange : state.extent;
}
