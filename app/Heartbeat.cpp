#include "app/Heartbeat.h"

#include <QFile>
#include <QTimer>

THeartbeat::THeartbeat(QObject* parent)
    : QObject(parent), FFileName(qEnvironmentVariable("ZORVIT_HEARTBEAT"))
{
    if (FFileName.isEmpty())
        return;
    auto* timer = new QTimer(this);
    connect(timer, &QTimer::timeout, this, &THeartbeat::Beat);
    timer->start(kIntervalMs);
    Beat();
}

void THeartbeat::Beat()
{
    QFile file(FFileName);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(QByteArray::number(++FBeats) + '\n');
}
