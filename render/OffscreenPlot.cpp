#include "render/OffscreenPlot.h"

TOffscreenPlot::TOffscreenPlot(int size)
    : fContext(size, size),
      FGL([this] { fContext.MakeCurrent(); }),
      FView(FGL, [this] {
          if (fPainting)
              FView.Paint();
      })
{
    FGL.SetFunctions(&FFunctions);
    FView.InitializeGL();
    FView.Resize(size, size);
}

std::vector<std::uint8_t> TOffscreenPlot::Render()
{
    fPainting = true;
    FView.Paint();
    fPainting = false;
    return fContext.ReadPixels();
}
