#pragma once
// The standard orientations of the plot: its turns about X, Y and Z for each.
//
// The view turns a point about Z, then Y, then X. Front, Right and Isometric stand the world's Z
// axis upright on screen, as a machinist expects: a turn about Z brings the viewing direction
// round, and a turn about X tips Z up. Top looks down Z with Y up.

enum class TStandardView { Top, Front, Right, Isometric };

struct TViewTurns
{
    double rotationX;  // degrees
    double rotationY;
    double rotationZ;
};

TViewTurns StandardViewTurns(TStandardView view);
