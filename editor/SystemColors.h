#pragma once
// Turns the shared colour values into Qt colours. System colours (0xFF0000nn) follow the palette
// through one table, so the editor, its previews and the colour pickers all change with the
// desktop theme in the same way.

#include "common/Color.h"

#include <QColor>
#include <QPalette>

// The colour that a value stands for under the given palette. clNone, clDefault and system
// colour indexes without a palette counterpart give an invalid QColor: the caller's own colour
// applies. Any other value is read as red, green and blue in its three low bytes.
QColor ColorToQColor(TColor colour, const QPalette& palette);

// The same under the application's palette.
QColor ColorToQColor(TColor colour);
