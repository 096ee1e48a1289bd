#pragma once
// An OpenGL context that needs no display: Mesa's surfaceless EGL platform (a GPU's render node
// when there is one, else the llvmpipe software renderer) with a pbuffer of a fixed size to draw
// on. Desktop OpenGL in the compatibility profile, 8 bits per colour and a 16-bit depth
// buffer, as the panel's window has.

#include "common/Error.h"

#include <cstdint>
#include <vector>

class EOffscreenContextError : public EZorvitError
{
public:
    using EZorvitError::EZorvitError;
};

class TEglOffscreenContext
{
public:
    // Throws EOffscreenContextError when this machine gives no such context.
    TEglOffscreenContext(int width, int height);
    ~TEglOffscreenContext();
    TEglOffscreenContext(const TEglOffscreenContext&) = delete;
    TEglOffscreenContext& operator=(const TEglOffscreenContext&) = delete;

    void MakeCurrent();
    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    // What has been drawn: 8-bit RGB, three bytes a pixel, the top row first. Waits for the
    // drawing to finish.
    std::vector<std::uint8_t> ReadPixels();

private:
    void Release();

    int FWidth;
    int FHeight;
    void* FDisplay = nullptr;
    void* FSurface = nullptr;
    void* FContext = nullptr;
};
