#pragma once
// The OpenGL 1.1 functions of whichever context is current, under their GL names, so that the
// GL command implementation that serves the panel drives an offscreen context too.

#include "plot/GLFunctionCommands.h"

#include <GL/gl.h>

struct TCurrentContextGL
{
    decltype(&::glBegin) glBegin = &::glBegin;
    decltype(&::glClear) glClear = &::glClear;
    decltype(&::glClearColor) glClearColor = &::glClearColor;
    decltype(&::glColor3f) glColor3f = &::glColor3f;
    decltype(&::glColor3ub) glColor3ub = &::glColor3ub;
    decltype(&::glDisable) glDisable = &::glDisable;
    decltype(&::glEnable) glEnable = &::glEnable;
    decltype(&::glEnd) glEnd = &::glEnd;
    decltype(&::glFlush) glFlush = &::glFlush;
    decltype(&::glLineStipple) glLineStipple = &::glLineStipple;
    decltype(&::glLineWidth) glLineWidth = &::glLineWidth;
    decltype(&::glLoadIdentity) glLoadIdentity = &::glLoadIdentity;
    decltype(&::glMatrixMode) glMatrixMode = &::glMatrixMode;
    decltype(&::glOrtho) glOrtho = &::glOrtho;
    decltype(&::glPointSize) glPointSize = &::glPointSize;
    decltype(&::glRotatef) glRotatef = &::glRotatef;
    decltype(&::glShadeModel) glShadeModel = &::glShadeModel;
    decltype(&::glVertex3f) glVertex3f = &::glVertex3f;
    decltype(&::glViewport) glViewport = &::glViewport;
};

using TCurrentContextCommands = TGLFunctionCommands<TCurrentContextGL>;
