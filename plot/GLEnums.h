#pragma once
// The OpenGL values of the GL command interface's enumerations, for every implementation that
// calls real GL functions.

#include "plot/GLCommands.h"

#include <GL/gl.h>

inline GLenum GLEnum(TGLCapability capability)
{
    switch (capability) {
    case TGLCapability::DepthTest:
        return GL_DEPTH_TEST;
    case TGLCapability::LineStipple:
        return GL_LINE_STIPPLE;
    }
    return GL_NONE;
}

inline GLenum GLEnum(TGLMatrixMode mode)
{
    switch (mode) {
    case TGLMatrixMode::Projection:
        return GL_PROJECTION;
    case TGLMatrixMode::Modelview:
        return GL_MODELVIEW;
    }
    return GL_NONE;
}

inline GLenum GLEnum(TGLPrimitive primitive)
{
    switch (primitive) {
    case TGLPrimitive::Lines:
        return GL_LINES;
    case TGLPrimitive::Points:
        return GL_POINTS;
    }
    return GL_NONE;
}

inline GLenum GLEnum(TGLShadeModel model)
{
    switch (model) {
    case TGLShadeModel::Flat:
        return GL_FLAT;
    }
    return GL_NONE;
}
