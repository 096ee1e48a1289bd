#include "plot/GLRecorder.h"

#include <array>
#include <charconv>
#include <cstdio>
#include <type_traits>

namespace {

// Numbers as the shortest text that reads back as the same value, independent of the locale;
// names as they are.
template <typename TArg>
std::string Text(const TArg& value)
{
    if constexpr (std::is_arithmetic_v<TArg>) {
        std::array<char, 64> buffer{};
        const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
        return std::string(buffer.data(), result.ptr);
    } else {
        return std::string(value);
    }
}

const char* Name(TGLCapability capability)
{
    switch (capability) {
    case TGLCapability::DepthTest:
        return "GL_DEPTH_TEST";
    case TGLCapability::LineStipple:
        return "GL_LINE_STIPPLE";
    }
    return "?";
}

const char* Name(TGLMatrixMode mode)
{
    switch (mode) {
    case TGLMatrixMode::Projection:
        return "GL_PROJECTION";
    case TGLMatrixMode::Modelview:
        return "GL_MODELVIEW";
    }
    return "?";
}

const char* Name(TGLPrimitive primitive)
{
    switch (primitive) {
    case TGLPrimitive::Lines:
        return "GL_LINES";
    case TGLPrimitive::Points:
        return "GL_POINTS";
    }
    return "?";
}

const char* Name(TGLShadeModel model)
{
    switch (model) {
    case TGLShadeModel::Flat:
        return "GL_FLAT";
    }
    return "?";
}

}  // namespace

template <typename... TArgs>
void TGLRecorder::Record(const char* name, TArgs... args)
{
    std::string command = name;
    command += '(';
    bool first = true;
    [[maybe_unused]] const auto append = [&command, &first](const std::string& text) {
        command += first ? "" : ", ";
        command += text;
        first = false;
    };
    (append(Text(args)), ...);
    command += ')';
    FCommands.push_back(std::move(command));
}

void TGLRecorder::Clear()
{
    FCommands.clear();
    FPaintCount = 0;
}

bool TGLRecorder::MakeCurrent()
{
    FCommands.emplace_back(FHasContext ? "MakeCurrent" : "MakeCurrentFailed");
    return FHasContext;
}

void TGLRecorder::ClearColor(float red, float green, float blue, float alpha)
{
    Record("glClearColor", red, green, blue, alpha);
}

void TGLRecorder::ShadeModel(TGLShadeModel model)
{
    Record("glShadeModel", Name(model));
}
void TGLRecorder::Enable(TGLCapability capability)
{
    Record("glEnable", Name(capability));
}
void TGLRecorder::Disable(TGLCapability capability)
{
    Record("glDisable", Name(capability));
}
void TGLRecorder::ClearColorBuffer()
{
    Record("glClear", "GL_COLOR_BUFFER_BIT");
}
void TGLRecorder::MatrixMode(TGLMatrixMode mode)
{
    Record("glMatrixMode", Name(mode));
}
void TGLRecorder::LoadIdentity()
{
    Record("glLoadIdentity");
}

void TGLRecorder::Ortho(double left, double right, double bottom, double top, double nearValue,
                        double farValue)
{
    Record("glOrtho", left, right, bottom, top, nearValue, farValue);
}

void TGLRecorder::Rotatef(float angleDegrees, float x, float y, float z)
{
    Record("glRotatef", angleDegrees, x, y, z);
}

void TGLRecorder::Begin(TGLPrimitive primitive)
{
    Record("glBegin", Name(primitive));
}
void TGLRecorder::End()
{
    Record("glEnd");
}

void TGLRecorder::Color3f(float red, float green, float blue)
{
    Record("glColor3f", red, green, blue);
}

void TGLRecorder::Color3ub(std::uint8_t red, std::uint8_t green, std::uint8_t blue)
{
    Record("glColor3ub", unsigned{red}, unsigned{green}, unsigned{blue});
}

void TGLRecorder::Vertex3f(float x, float y, float z)
{
    Record("glVertex3f", x, y, z);
}

void TGLRecorder::LineStipple(int factor, std::uint16_t pattern)
{
    std::array<char, 8> hex{};
    std::snprintf(hex.data(), hex.size(), "0x%04x", unsigned{pattern});
    Record("glLineStipple", factor, hex.data());
}

void TGLRecorder::LineWidth(float width)
{
    Record("glLineWidth", width);
}
void TGLRecorder::PointSize(float size)
{
    Record("glPointSize", size);
}

void TGLRecorder::Viewport(int x, int y, int width, int height)
{
    Record("glViewport", x, y, width, height);
}

void TGLRecorder::Flush()
{
    Record("glFlush");
    ++FPaintCount;
}
