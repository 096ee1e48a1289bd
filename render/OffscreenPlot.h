#pragma once
// A plot view that draws into an image instead of a window: the view's paints go to an
// offscreen OpenGL context of N x N pixels through the same GL command implementation as the
// panel's. Paints are held while the caller sets the view up, so it is drawn once, by Render.

#include "plot/PlotView.h"
#include "render/CurrentContextGL.h"
#include "render/EglOffscreenContext.h"

#include <cstdint>
#include <vector>

class TOffscreenPlot
{
public:
    // Throws EOffscreenContextError when the machine gives no offscreen context.
    explicit TOffscreenPlot(int size);

    TPlotView& View() { return FView; }
    int Size() const { return FContext.Width(); }
    // Paints the view and returns the picture: 8-bit RGB, the top row first.
    std::vector<std::uint8_t> Render();

private:
    TEglOffscreenContext FContext;
    TCurrentContextGL FFunctions;
    TCurrentContextCommands FGL;
    bool FPainting = false;
    TPlotView FView;  // last: its constructor already paints through the members above
};
