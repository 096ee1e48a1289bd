#include "render/EglOffscreenContext.h"

#include <EGL/egl.h>
#include <EGL/eglext.h>
#include <GL/gl.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace {

constexpr EGLint kColourBits = 8;
constexpr EGLint kDepthBits = 16;
constexpr int kBytesPerPixel = 3;

[[noreturn]] void Fail(const std::string& what)
{
    std::string message = "No offscreen OpenGL context: " + what;
    if (const EGLint error = eglGetError(); error != EGL_SUCCESS) {
        char code[32];
        std::snprintf(code, sizeof code, " (EGL error 0x%04X)", static_cast<unsigned>(error));
        message += code;
    }
    throw EOffscreenContextError(message);
}

bool HasClientExtension(const char* name)
{
    const char* extensions = eglQueryString(EGL_NO_DISPLAY, EGL_EXTENSIONS);
    return extensions && std::strstr(extensions, name);
}

}  // namespace

TEglOffscreenContext::TEglOffscreenContext(int width, int height) : FWidth(width), FHeight(height)
{
    if (!HasClientExtension("EGL_MESA_platform_surfaceless"))
        Fail("EGL has no surfaceless platform");
    FDisplay = eglGetPlatformDisplay(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
    if (FDisplay == EGL_NO_DISPLAY || !eglInitialize(FDisplay, nullptr, nullptr)) {
        FDisplay = nullptr;
        Fail("the surfaceless display does not start");
    }
    try {
        if (!eglBindAPI(EGL_OPENGL_API))
            Fail("EGL offers no desktop OpenGL");
        const EGLint configAttributes[] = {EGL_SURFACE_TYPE, EGL_PBUFFER_BIT, EGL_RENDERABLE_TYPE,
                                           EGL_OPENGL_BIT,   EGL_RED_SIZE,    kColourBits,
                                           EGL_GREEN_SIZE,   kColourBits,     EGL_BLUE_SIZE,
                                           kColourBits,      EGL_DEPTH_SIZE,  kDepthBits,
                                           EGL_NONE};
        EGLConfig config = nullptr;
        EGLint configCount = 0;
        if (!eglChooseConfig(FDisplay, configAttributes, &config, 1, &configCount) ||
            configCount == 0)
            Fail("no pixel format with 8-bit colours and a depth buffer");
        const EGLint surfaceAttributes[] = {EGL_WIDTH, width, EGL_HEIGHT, height, EGL_NONE};
        FSurface = eglCreatePbufferSurface(FDisplay, config, surfaceAttributes);
        if (FSurface == EGL_NO_SURFACE) {
            FSurface = nullptr;
            Fail("no drawing surface of " + std::to_string(width) + " x " + std::to_string(height) +
                 " pixels");
        }
        // Without a version asked for, EGL gives the compatibility profile, which keeps the
        // immediate-mode calls the plot draws with.
        FContext = eglCreateContext(FDisplay, config, EGL_NO_CONTEXT, nullptr);
        if (FContext == EGL_NO_CONTEXT) {
            FContext = nullptr;
            Fail("the context cannot be created");
        }
        MakeCurrent();
    } catch (...) {
        Release();
        throw;
    }
}

TEglOffscreenContext::~TEglOffscreenContext()
{
    Release();
}

void TEglOffscreenContext::Release()
{
    if (!FDisplay)
        return;
    eglMakeCurrent(FDisplay, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
    if (FContext)
        eglDestroyContext(FDisplay, FContext);
    if (FSurface)
        eglDestroySurface(FDisplay, FSurface);
    eglTerminate(FDisplay);
}

void TEglOffscreenContext::MakeCurrent()
{
    if (!eglMakeCurrent(FDisplay, FSurface, FSurface, FContext))
        Fail("the context cannot be made current");
}

std::vector<std::uint8_t> TEglOffscreenContext::ReadPixels()
{
    MakeCurrent();
    const std::size_t rowBytes = static_cast<std::size_t>(FWidth) * kBytesPerPixel;
    std::vector<std::uint8_t> bottomUp(rowBytes * FHeight);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, FWidth, FHeight, GL_RGB, GL_UNSIGNED_BYTE, bottomUp.data());
    // GL counts rows from the bottom; images from the top.
    std::vector<std::uint8_t> topDown(bottomUp.size());
    for (int row = 0; row < FHeight; ++row)
        std::memcpy(topDown.data() + row * rowBytes,
                    bottomUp.data() + (FHeight - 1 - row) * rowBytes, rowBytes);
    return topDown;
}
