#pragma once
// The GL command interface on a widget's OpenGL 1.1 context, through Qt's resolved functions.

#include "plot/GLFunctionCommands.h"

#include <QOpenGLFunctions_1_1>

using TOpenGLCommands = TGLFunctionCommands<QOpenGLFunctions_1_1>;
extern template class TGLFunctionCommands<QOpenGLFunctions_1_1>;
