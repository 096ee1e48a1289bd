#include "render/OffscreenPlot.h"

TOffscreenPlot::TOffscreenPlot(int size)
    : fContext(size, size),
      fGL([this] { fContext.MakeCurrent(); }),
      fView(fGL, [this] {
          if (fPainting)
              fView.Paint();
      })
{
    fGL.SetFunctions(&fFunctions);
    fView.InitializeGL();
    fView.Resize(size, size);
}

std::vector<std::uint8_t> TOffscreenPlot::Render()
{
    fPainting = true;
    fView.Paint();
    fPainting = false;
    return fContext.ReadPixels();
}
