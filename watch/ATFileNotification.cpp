#include "watch/ATFileNotification.h"

#include "common/Guard.h"
#include "watch/DirThread.h"
#include "watch/FileNameEncoding.h"
#include "watch/NoticeTimer.h"
#include "watch/ThreadErrorBox.h"

#include <exception>

namespace {
std::string LocalPath(const QString& path)
{
    return EncodeFileName(path).toStdString();
}
}  // namespace

TATFileNotification::TATFileNotification(QObject* parent)
    : QObject(parent), FNoticeTimer(new TNoticeTimer(this))
{
    connect(FNoticeTimer, &TNoticeTimer::Fired, this, &TATFileNotification::TimerStep);
}

TATFileNotification::~TATFileNotification()
{
    Stop();
}

void TATFileNotification::SetDirectory(const QString& directory)
{
    if (directory == FDirectory)
        return;
    FDirectory = directory;
    FFileName.clear();
}

void TATFileNotification::SetFileName(const QString& fileName)
{
    if (fileName == FFileName)
        return;
    FFileName = fileName;
    FDirectory.clear();
}

void TATFileNotification::Start()
{
    const std::lock_guard guard(FLock);
    if (FRunning)
        return;
    try {
        FWorker = std::make_unique<TDirThread>(LocalPath(FDirectory), *FNoticeTimer,
                                               FOptions.Filter(), FSubtree, LocalPath(FFileName));
        FRunning = true;
    } catch (...) {
        TThreadErrorBox::Show(QStringLiteral("Exception while creating thread"));
    }
}

void TATFileNotification::Stop()
{
    const std::lock_guard guard(FLock);
    if (!FRunning)
        return;
    try {
        FWorker->End();
        FWorker.reset();
        FRunning = false;
    } catch (...) {
        TThreadErrorBox::Show(QStringLiteral("Exception while terminating thread"));
    }
}

bool TATFileNotification::Running() const
{
    const std::lock_guard guard(FLock);
    return FRunning;
}

bool TATFileNotification::NoticePending() const
{
    return FNoticeTimer->Armed();
}

void TATFileNotification::TimerStep()
{
    FNoticeTimer->Disarm();
    if (!OnChanged)
        return;
    // Nothing may escape into the event loop; a failing handler is reported like the watcher's
    // own failures.
    Guarded(OnChanged, [] {
        TThreadErrorBox::Show(QString::fromLocal8Bit(CurrentExceptionMessage().c_str()));
    });
}
