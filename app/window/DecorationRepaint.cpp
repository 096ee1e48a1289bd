#include "app/window/DecorationRepaint.h"

#include <QEvent>
#include <QGuiApplication>
#include <QWidget>
#include <QWindow>

TDecorationRepaint::TDecorationRepaint(QWidget& window) : QObject(&window), FWindow(window)
{
    if (QGuiApplication::platformName().startsWith(QStringLiteral("wayland")))
        FWindow.installEventFilter(this);
}

bool TDecorationRepaint::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::Show:
        // The native window, made now, tells when it is exposed.
        if (watched == &FWindow && FWindow.windowHandle() != nullptr)
            FWindow.windowHandle()->installEventFilter(this);
        break;
    case QEvent::Expose:
    case QEvent::ActivationChange:
    case QEvent::WindowStateChange:
    case QEvent::WindowTitleChange:
        // Once the change has reached the decorations.
        QMetaObject::invokeMethod(
            &FWindow, [window = &FWindow] { window->update(); }, Qt::QueuedConnection);
        break;
    default:
        break;
    }
    return false;
}
