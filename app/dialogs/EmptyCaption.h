#pragma once
// Gives a top-level window an empty caption on screen. Qt never shows an empty title: it names
// an untitled window after the program. On X the window's name is therefore emptied on the
// native window itself; on other window systems the toolkit's caption stays.

class QWidget;

// Creates the window's native window when it has none yet; call before showing it.
void ShowEmptyCaption(QWidget& window);
