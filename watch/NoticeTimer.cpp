#include "watch/NoticeTimer.h"

TNoticeTimer::TNoticeTimer(QObject* parent) : QObject(parent), timer_(this)
{
    timer_.setSingleShot(true);
    timer_.setInterval(kNoticeDelayMs);
    connect(&timer_, &QTimer::timeout, this, &TNoticeTimer::Fired);
}

void TNoticeTimer::Arm()
{
    if (armed_.exchange(true))
        return;
    // A QTimer may only be started on its own thread: queue the start there. Should the timer
    // be destroyed first, Qt drops the queued call with it.
    QMetaObject::invokeMethod(&timer_, [this] { timer_.start(); }, Qt::QueuedConnection);
}

void TNoticeTimer::Disarm()
{
    timer_.stop();
    armed_.store(false);
}
