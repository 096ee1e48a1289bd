#pragma once
// What the colour dialogs share in their fixed layouts: their font, and captions that grow to
// their text where a desktop's font is wider than the one the layout was drawn for.

#include <QFont>

class QRect;
class QWidget;

// Tahoma with a character height of 11 pixels; where Tahoma is missing, a narrow sans-serif of
// about its width at the same height, so that the captions fit their places as drawn.
QFont DialogFont();

// Places the caption at place, widened to the right when its text needs more room, so that the
// text is never cut. Returns how far the caption now reaches past place's right edge (0 when
// it fits), which is how far whatever stands right of it must move.
int PlaceCaption(QWidget& caption, const QRect& place);
