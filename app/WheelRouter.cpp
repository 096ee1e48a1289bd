#include "WheelRouter.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QScopedValueRollback>
#include <QWheelEvent>

TWheelRouter::TWheelRouter(QWidget& window) : QObject(&window), window_(window)
{
    qApp->installEventFilter(this);
}

TWheelRouter::~TWheelRouter()
{
    qApp->removeEventFilter(this);
}

bool TWheelRouter::eventFilter(QObject* watched, QEvent* event)
{
    // The turns we hand on ourselves pass through this filter too and must reach their control.
    if (routing_ || event->type() != QEvent::Wheel || !watched->isWidgetType())
        return false;
    auto* receiver = static_cast<QWidget*>(watched);
    if (receiver != &window_ && !window_.isAncestorOf(receiver))
        return false;
    auto* turn = static_cast<QWheelEvent*>(event);
    turn->setAccepted(Route(*turn));
    return true;
}

bool TWheelRouter::Route(const QWheelEvent& turn)
{
    QWidget* control = QApplication::focusWidget();
    if (control == nullptr || (control != &window_ && !window_.isAncestorOf(control)))
        control = &window_;
    const QScopedValueRollback routing(routing_, true);
    for (; control != nullptr; control = control->parentWidget()) {
        if (Offer(*control, turn))
            return true;
        if (control == &window_)
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
    QWheelEvent offered(local, turn.globalPosition(), turn.pixelDelta(), turn.angleDelta(),
                        turn.buttons(), turn.modifiers(), turn.phase(), turn.inverted(),
                        turn.source());
    offered.setAccepted(false);
    QCoreApplication::sendEvent(&target, &offered);
    return scrollArea != nullptr || offered.isAccepted();
}
