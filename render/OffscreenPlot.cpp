#include "render/OffscreenPlot.h"

TOffscreenPlot::TOffscreenPlot(int size)
    : FContext(size, size), FGL([this] { FContext.MakeCurrent(); }), FView(FGL, [this] {
          if (FPainting)
              FView.Paint();
      })
{
    FGL.SetFunctions(&FFunctions);
    FView.InitializeGL();
    FView.Resize(size, size);
}

std::vector<std::uint8_t> TOffscreenPlot::Render()
{
    FPainting = true;
    FView.Paint();
    FPainting = false;
    return FContext.ReadPixels();
}
