#pragma once
// On Wayland Qt draws the window's title bar and frame itself. A window composed with OpenGL (the
// plot panel makes the main window one) gets them drawn only when its content is swapped to the
// screen; the first swap comes before they are ready, and with nothing else to repaint the window
// would keep an empty band where the title bar belongs, and its decorations would not follow the
// window's activation. This repaints the window whenever its decorations change.

#include <QObject>

class QWidget;

class TDecorationRepaint : public QObject
{
public:
    // Watches window on Wayland; elsewhere the window system draws the decorations and this does
    // nothing.
    explicit TDecorationRepaint(QWidget& window);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget& FWindow;
};
