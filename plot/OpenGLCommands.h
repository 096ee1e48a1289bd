#pragma once
// The GL command interface on a real OpenGL 1.1 context, through Qt's resolved functions.

#include "GLCommands.h"

#include <functional>

class QOpenGLFunctions_1_1;

class TOpenGLCommands final : public TGLCommands
{
public:
    // makeCurrent binds the context and the surface (or framebuffer object) to draw on.
    explicit TOpenGLCommands(std::function<void()> makeCurrent);

    // The resolved 1.1 functions of the current context, or null while there is none: then
    // MakeCurrent fails and no GL function is ever called.
    void SetFunctions(QOpenGLFunctions_1_1* functions) { fFunctions = functions; }
    bool Usable() const { return fFunctions != nullptr; }

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
    std::function<void()> fMakeCurrent;
    QOpenGLFunctions_1_1* fFunctions = nullptr;
};
