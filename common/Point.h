#pragma once
// A point of the plot in world units (the units of the G-code text).

struct TPoint3f
{
    float x, y, z;
};
