#include "app/window/WheelRouter.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QWheelEvent>
#include <QWindow>

TWheelRouter::TWheelRouter(QWidget& window) : QObject(&window), FWindow(window)
{
    qApp->installEventFilter(this);
}

TWheelRouter::~TWheelRouter()
{
    qApp->removeEventFilter(this);
}

bool TWheelRouter::eventFilter(QObject* watched, QEvent* event)
{
    // Turns enter through the window's native window. While a pop-up (a menu, a drop-down list)
    // is open, Qt hands the turns that reach the window to the pop-up.
    if (event->type() != QEvent::Wheel || watched != FWindow.windowHandle() ||
        QApplication::activePopupWidget() != nullptr)
        return false;
    auto* turn = static_cast<QWheelEvent*>(event);
    turn->setAccepted(Route(*turn));
    return true;
}

bool TWheelRouter::Route(const QWheelEvent& turn)
{
    // The window's own focus control: while another window is active the application has none.
    QWidget* control = FWindow.focusWidget();
    if (control == nullptr)
        control = &FWindow;
    for (; control != nullptr; control = control->parentWidget()) {
        if (Offer(*control, turn))
            return true;
        if (control == &FWindow)
            break;
    }
    return false;
}

bool TWheelRouter::Offer(QWidget& control, const QWheelEvent& turn)
{
    // A scroll area (the editor) takes its turns through its viewport and keeps every turn,
    // also one its scroll bar cannot use at the top or the bottom of the text.
    auto* scrollArea = qobject_cast<QAbstractScrollArea*>(&control);
    QWidget& target = scrollArea != nullptr ? *scrollArea->viewport() : control;
    const QPointF local = target.mapFromGlobal(turn.globalPosition());
    // Sent, not spontaneous: Qt hands such a turn to the target alone, without moving the focus
    // and without passing it on to the parents.
    QWheelEvent offered(local, turn.globalPosition(), turn.pixelDelta(), turn.angleDelta(),
                        turn.buttons(), turn.modifiers(), turn.phase(), turn.inverted(),
                        turn.source());
    offered.setAccepted(false);
    QCoreApplication::sendEvent(&target, &offered);
    return scrollArea != nullptr || offered.isAccepted();
}
