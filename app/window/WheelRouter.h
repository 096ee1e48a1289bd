#pragma once
// Routes wheel turns the way the main window expects them: a turn is offered first to the
// control with the window's keyboard focus, then to its parents one by one, the window itself
// last, until one of them handles it. Qt on its own delivers a turn to the control under the
// pointer, first handing the focus to it when it takes focus from the wheel, and then to each
// parent in turn; so the router takes every turn where it enters the window, before Qt's
// delivery starts, routes it once and ends it there.

#include <QObject>

class QWheelEvent;
class QWidget;

class TWheelRouter : public QObject
{
    Q_OBJECT
public:
    // Routes the turns aimed at window; installs itself on the application and removes itself
    // when destroyed.
    explicit TWheelRouter(QWidget& window);
    ~TWheelRouter() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // True when a control handled the turn.
    bool Route(const QWheelEvent& turn);
    bool Offer(QWidget& control, const QWheelEvent& turn);

    QWidget& FWindow;
};
