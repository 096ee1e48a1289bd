#include "OpenGLCommands.h"

#include <QOpenGLFunctions_1_1>

namespace
{

GLenum Enum(TGLCapability capability)
{
    switch (capability) {
    case TGLCapability::DepthTest: return GL_DEPTH_TEST;
    case TGLCapability::LineStipple: return GL_LINE_STIPPLE;
    }
    return GL_NONE;
}

GLenum Enum(TGLMatrixMode mode)
{
    switch (mode) {
    case TGLMatrixMode::Projection: return GL_PROJECTION;
    case TGLMatrixMode::Modelview: return GL_MODELVIEW;
    }
    return GL_NONE;
}

GLenum Enum(TGLPrimitive primitive)
{
    switch (primitive) {
    case TGLPrimitive::Lines: return GL_LINES;
    case TGLPrimitive::Points: return GL_POINTS;
    }
    return GL_NONE;
}

GLenum Enum(TGLShadeModel model)
{
    switch (model) {
    case TGLShadeModel::Flat: return GL_FLAT;
    }
    return GL_NONE;
}

} // namespace

TOpenGLCommands::TOpenGLCommands(std::function<void()> makeCurrent)
    : fMakeCurrent(std::move(makeCurrent))
{
}

bool TOpenGLCommands::MakeCurrent()
{
    if (!fFunctions)
        return false;
    fMakeCurrent();
    return true;
}

void TOpenGLCommands::ClearColor(float red, float green, float blue, float alpha)
{
    fFunctions->glClearColor(red, green, blue, alpha);
}

void TOpenGLCommands::ShadeModel(TGLShadeModel model) { fFunctions->glShadeModel(Enum(model)); }
void TOpenGLCommands::Enable(TGLCapability capability) { fFunctions->glEnable(Enum(capability)); }
void TOpenGLCommands::Disable(TGLCapability capability) { fFunctions->glDisable(Enum(capability)); }
void TOpenGLCommands::ClearColorBuffer() { fFunctions->glClear(GL_COLOR_BUFFER_BIT); }
void TOpenGLCommands::MatrixMode(TGLMatrixMode mode) { fFunctions->glMatrixMode(Enum(mode)); }
void TOpenGLCommands::LoadIdentity() { fFunctions->glLoadIdentity(); }

void TOpenGLCommands::Ortho(double left, double right, double bottom, double top,
                            double nearValue, double farValue)
{
    fFunctions->glOrtho(left, right, bottom, top, nearValue, farValue);
}

void TOpenGLCommands::Rotatef(float angleDegrees, float x, float y, float z)
{
    fFunctions->glRotatef(angleDegrees, x, y, z);
}

void TOpenGLCommands::Begin(TGLPrimitive primitive) { fFunctions->glBegin(Enum(primitive)); }
void TOpenGLCommands::End() { fFunctions->glEnd(); }

void TOpenGLCommands::Color3f(float red, float green, float blue)
{
    fFunctions->glColor3f(red, green, blue);
}

void TOpenGLCommands::Color3ub(std::uint8_t red, std::uint8_t green, std::uint8_t blue)
{
    fFunctions->glColor3ub(red, green, blue);
}

void TOpenGLCommands::Vertex3f(float x, float y, float z) { fFunctions->glVertex3f(x, y, z); }

void TOpenGLCommands::LineStipple(int factor, std::uint16_t pattern)
{
    fFunctions->glLineStipple(factor, pattern);
}

void TOpenGLCommands::LineWidth(float width) { fFunctions->glLineWidth(width); }
void TOpenGLCommands::PointSize(float size) { fFunctions->glPointSize(size); }

void TOpenGLCommands::Viewport(int x, int y, int width, int height)
{
    fFunctions->glViewport(x, y, width, height);
}

void TOpenGLCommands::Flush() { fFunctions->glFlush(); }
