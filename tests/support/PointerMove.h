#pragma once
// Pointer moves as the window system reports them, delivered before the call returns.
//
// QTest::mouseMove on a widget warps the X server's pointer and leaves the motion to arrive
// later, or not at all when the pointer already stands there; a test then waits on the server.
// These moves go through the top-level window's platform event queue instead, so Qt sends the
// widgets Leave, Enter and the spontaneous move just as it does for a real pointer.

#include <QTest>
#include <QWidget>

inline void MovePointerTo(QWidget& widget, QPoint local)
{
    QWidget* top = widget.window();
    // Qt drops a move to where the pointer already is (an earlier test's window may have left
    // it there), so the pointer steps in from the next pixel of the same widget.
    const QPoint beside = local + QPoint(local.x() > 0 ? -1 : 1, 0);
    QTest::mouseMove(top->windowHandle(), widget.mapTo(top, beside));
    QTest::mouseMove(top->windowHandle(), widget.mapTo(top, local));
}
