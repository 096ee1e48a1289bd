#pragma once
// The one-shot timer through which a watcher's worker reports a change: the worker arms it from
// its own thread, and Fired is emitted on the user-interface thread 100 ms after the first
// arming. Arming an armed timer changes nothing, so a burst of changes gives one notice.

#include <QObject>
#include <QTimer>

#include <atomic>

class TNoticeTimer : public QObject
{
    Q_OBJECT

public:
    static constexpr int kNoticeDelayMs = 100;

    explicit TNoticeTimer(QObject* parent);

    void Arm();     // any thread
    void Disarm();  // user-interface thread
    bool Armed() const { return FArmed.load(); }

signals:
    void Fired();

private:
    QTimer FTimer;
    std::atomic<bool> FArmed{false};
};
