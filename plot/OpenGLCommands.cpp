#include "plot/OpenGLCommands.h"

template class TGLFunctionCommands<QOpenGLFunctions_1_1>;
