#pragma once
// The GL command interface over a table of OpenGL 1.1 functions with the GL names: Qt's resolved
// functions of a widget's context, or the functions of whichever context is current when the
// plot is drawn without a window. One implementation serves both, so they draw alike.

#include "plot/GLCommands.h"
#include "plot/GLEnums.h"

#include <functional>

template <class TFunctions>
class TGLFunctionCommands final : public TGLCommands
{
public:
    // makeCurrent binds the context and the surface (or framebuffer object) to draw on.
    explicit TGLFunctionCommands(std::function<void()> makeCurrent);

    // The functions of the current context, or null while there is none: then MakeCurrent
    // fails and no GL function is ever called.
    void SetFunctions(TFunctions* functions) { FFunctions = functions; }
    bool Usable() const { return FFunctions != nullptr; }

    bool MakeCurrent() override;
    void ClearColor(float red, float green, float blue, float alpha) override;
    void ShadeModel(TGLShadeModel model) override;
    void Enable(TGLCapability capability) override;
    void Disable(TGLCapability capability) override;
    void ClearColorBuffer() override;
    void MatrixMode(TGLMatrixMode mode) override;
    void LoadIdentity() override;
    void Ortho(double left, double right, double bottom, double top, double nearValue,
               double farValue) override;
    void Rotatef(float angleDegrees, float x, float y, float z) override;
    void Begin(TGLPrimitive primitive) override;
    void End() override;
    void Color3f(float red, float green, float blue) override;
    void Color3ub(std::uint8_t red, std::uint8_t green, std::uint8_t blue) override;
    void Vertex3f(float x, float y, float z) override;
    void LineStipple(int factor, std::uint16_t pattern) override;
    void LineWidth(float width) override;
    void PointSize(float size) override;
    void Viewport(int x, int y, int width, int height) override;
    void Flush() override;

private:
    std::function<void()> FMakeCurrent;
    TFunctions* FFunctions = nullptr;
};

template <class TFunctions>
TGLFunctionCommands<TFunctions>::TGLFunctionCommands(std::function<void()> makeCurrent)
    : FMakeCurrent(std::move(makeCurrent))
{}

template <class TFunctions>
bool TGLFunctionCommands<TFunctions>::MakeCurrent()
{
    if (!FFunctions)
        return false;
    FMakeCurrent();
    return true;
}

template <class TFunctions>
void TGLFunctionCommands<TFunctions>::ClearColor(float red, float green, float blue, float alpha)
{
    FFunctions->glClearColor(red, green, blue, alpha);
}

template <class TFunctions>
void TGLFunctionCommands<TFunctions>::ShadeModel(TGLShadeModel model)
{
    FFunctions->glShadeModel(GLEnum(model));
}

template <class TFunctions>
void TGLFunctionCommands<TFunctions>::Enable(TGLCapability capability)
{
    FFunctions->glEnable(GLEnum(capability));
}

template <class TFunctions>
void TGLFunctionCommands<TFunctions>::Disable(TGLCapability capability)
{
    FFunctions->glDisable(GLEnum(capability));
}

template <class TFunctions>
void TGLFunctionCommands<TFunctions>::ClearColorBuffer()
{
    FFunctions->glClear(GL_COLOR_BUFFER_BIT);
}

template <class TFunctions>
void TGLFunctionCommands<TFunctions>::MatrixMode(TGLMatrixMode mode)
{
    FFunctions->glMatrixMode(GLEnum(mode));
}

template <class TFunctions>
void TGLFunctionCommands<TFunctions>::LoadIdentity()
{
    FFunctions->glLoadIdentity();
}

template <class TFunctions>
void TGLFunctionCommands<TFunctions>::Ortho(double left, double right, double bottom, double top,
                                            double nearValue, double farValue)
{
    FFunctions->glOrtho(left, right, bottom, top, nearValue, farValue);
}

template <class TFunctions>
void TGLFunctionCommands<TFunctions>::Rotatef(float angleDegrees, float x, float y, float z)
{
    FFunctions->glRotatef(angleDegrees, x, y, z);
}

template <class TFunctions>
void TGLFunctionCommands<TFunctions>::Begin(TGLPrimitive primitive)
{
    FFunctions->glBegin(GLEnum(primitive));
}

template <class TFunctions>
void TGLFunctionCommands<TFunctions>::End()
{
    FFunctions->glEnd();
}

template <class TFunctions>
void TGLFunctionCommands<TFunctions>::Color3f(float red, float green, float blue)
{
    FFunctions->glColor3f(red, green, blue);
}

template <class TFunctions>
void TGLFunctionCommands<TFunctions>::Color3ub(std::uint8_t red, std::uint8_t green,
                                               std::uint8_t blue)
{
    FFunctions->glColor3ub(red, green, blue);
}

template <class TFunctions>
void TGLFunctionCommands<TFunctions>::Vertex3f(float x, float y, float z)
{
    FFunctions->glVertex3f(x, y, z);
}

template <class TFunctions>
void TGLFunctionCommands<TFunctions>::LineStipple(int factor, std::uint16_t pattern)
{
    FFunctions->glLineStipple(factor, pattern);
}

template <class TFunctions>
void TGLFunctionCommands<TFunctions>::LineWidth(float width)
{
    FFunctions->glLineWidth(width);
}

template <class TFunctions>
void TGLFunctionCommands<TFunctions>::PointSize(float size)
{
    FFunctions->glPointSize(size);
}

template <class TFunctions>
void TGLFunctionCommands<TFunctions>::Viewport(int x, int y, int width, int height)
{
    FFunctions->glViewport(x, y, width, height);
}

template <class TFunctions>
void TGLFunctionCommands<TFunctions>::Flush()
{
    FFunctions->glFlush();
}
