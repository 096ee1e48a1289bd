#pragma once
// The OpenGL 1.1 commands that the plot draws with. The view is written against this interface so
// that it runs on a real context (TOpenGLCommands) or on a recorder that keeps the exact sequence
// (TGLRecorder).

#include <cstdint>

enum class TGLCapability { DepthTest, LineStipple };
enum class TGLMatrixMode { Projection, Modelview };
enum class TGLPrimitive { Lines, Points };
enum class TGLShadeModel { Flat };

class TGLCommands
{
public:
    virtual ~TGLCommands() = default;

    // Makes the context current for the commands that follow. False when there is no usable
    // context: the caller then issues no command at all.
    virtual bool MakeCurrent() = 0;

    virtual void ClearColor(float red, float green, float blue, float alpha) = 0;
    virtual void ShadeModel(TGLShadeModel model) = 0;
    virtual void Enable(TGLCapability capability) = 0;
    virtual void Disable(TGLCapability capability) = 0;
    virtual void ClearColorBuffer() = 0;
    virtual void MatrixMode(TGLMatrixMode mode) = 0;
    virtual void LoadIdentity() = 0;
    virtual void Ortho(double left, double right, double bottom, double top, double nearValue,
                       double farValue) = 0;
    virtual void Rotatef(float angleDegrees, float x, float y, float z) = 0;
    virtual void Begin(TGLPrimitive primitive) = 0;
    virtual void End() = 0;
    virtual void Color3f(float red, float green, float blue) = 0;
    virtual void Color3ub(std::uint8_t red, std::uint8_t green, std::uint8_t blue) = 0;
    virtual void Vertex3f(float x, float y, float z) = 0;
    virtual void LineStipple(int factor, std::uint16_t pattern) = 0;
    virtual void LineWidth(float width) = 0;
    virtual void PointSize(float size) = 0;
    virtual void Viewport(int x, int y, int width, int height) = 0;
    virtual void Flush() = 0;
};
