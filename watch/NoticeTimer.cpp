#include "watch/NoticeTimer.h"

TNoticeTimer::TNoticeTimer(QObject* parent) : QObject(parent), FTimer(this)
{
    FTimer.setSingleShot(true);
    FTimer.setInterval(kNoticeDelayMs);
    connect(&FTimer, &QTimer::timeout, this, &TNoticeTimer::Fired);
}

void TNoticeTimer::Arm()
{
    if (FArmed.exchange(true))
        return;
    // A QTimer may only be started on its own thread: queue the start there. Should the timer
    // be destroyed first, Qt drops the queued call with it.
    QMetaObject::invokeMethod(
        &FTimer, [this] { FTimer.start(); }, Qt::QueuedConnection);
}

void TNoticeTimer::Disarm()
{
    FTimer.stop();
    FArmed.store(false);
}
