#pragma once
// The standard orientations of the plot: rotation X and rotation Y for each (rotation Z stays 0).
//
// The view turns a point about Z, then Y, then X. With no turn about Z, the world's Y axis can
// only ever lie along the screen's vertical or in depth, so a view along X (Right) or along a
// diagonal (Isometric) cannot stand Z upright: those two keep the usual viewing direction, from
// the +X side and from the (+X, -Y, +Z) corner, with the world's Y axis vertical on screen.

enum class TStandardView { Top, Front, Right, Isometric };

struct TViewTurns
{
    double rotationX;  // degrees
    double rotationY;
};

TViewTurns StandardViewTurns(TStandardView view);
