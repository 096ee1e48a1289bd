#pragma once
// A point of the plot in world units (the units of the G-code text).

struct TPoint3f
{
    float x, y, z;
};

// The same coordinates exactly, as where one segment of a path ends and the next begins.
constexpr bool SamePoint(const TPoint3f& a, const TPoint3f& b)
{
    return a.x == b.x && a.y == b.y && a.z == b.z;
}
