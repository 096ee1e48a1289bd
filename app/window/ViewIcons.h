#pragma once
// Icons of the View menu's commands that the tool bar shows: the desktop theme's when it has
// one, else a picture drawn here.

#include <QIcon>

QIcon FitToViewIcon();
