#pragma once
// The view window in world units: what the orthographic projection maps onto the panel.

struct TViewBounds
{
    double left;
    double right;
    double bottom;
    double top;
};
