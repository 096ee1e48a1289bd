#pragma once
// When ZORVIT_HEARTBEAT names a file, the event loop rewrites it every second with the number
// of beats so far: a script driving the window (scripts/monkey.sh) tells a hung window from a
// busy one by the file's age. Nothing happens without the variable.

#include <QObject>
#include <QString>

class THeartbeat : public QObject
{
public:
    static constexpr int kIntervalMs = 1000;

    explicit THeartbeat(QObject* parent = nullptr);

private:
    void Beat();

    QString FFileName;
    long long FBeats = 0;
};
