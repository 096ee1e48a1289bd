#pragma once
// A GL command sink that keeps every command as text ("glOrtho(0, 20, 0, 10, 10, -10)") and counts
// the paints, so that the view's drawing can be checked without a window.

#include "plot/GLCommands.h"

#include <string>
#include <vector>

class TGLRecorder final : public TGLCommands
{
public:
    // Without a context MakeCurrent fails and nothing is drawn, as on a machine without OpenGL.
    void SetHasContext(bool hasContext) { FHasContext = hasContext; }

    const std::vector<std::string>& Commands() const { return FCommands; }
    // Every paint ends with exactly one glFlush, and nothing else flushes.
    int PaintCount() const { return FPaintCount; }
    void Clear();

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
    template <typename... TArgs>
    void Record(const char* name, TArgs... args);

    bool FHasContext = true;
    int FPaintCount = 0;
    std::vector<std::string> FCommands;
};
