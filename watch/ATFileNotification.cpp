#include "watch/ATFileNotification.h"

#include "watch/DirThread.h"
#include "watch/FileNameEncoding.h"
#include "watch/NoticeTimer.h"
#include "watch/ThreadErrorBox.h"

#include <exception>

namespace
{
std::string LocalPath(const QString& path)
{
    return EncodeFileName(path).toStdString();
}
}  // namespace

TATFileNotification::TATFileNotification(QObject* parent)
    : QObject(parent), noticeTimer_(new TNoticeTimer(this))
{
    connect(noticeTimer_, &TNoticeTimer::Fired, this, &TATFileNotification::TimerStep);
}

TATFileNotification::~TATFileNotification()
{
    Stop();
}

void TATFileNotification::SetDirectory(const QString& directory)
{
    if (directory == directory_)
        return;
    directory_ = directory;
    fileName_.clear();
}

void TATFileNotification::SetFileName(const QString& fileName)
{
    if (fileName == fileName_)
        return;
    fileName_ = fileName;
    directory_.clear();
}

void TATFileNotification::Start()
{
    const std::lock_guard guard(lock_);
    if (running_)
        return;
    try {
        worker_ = std::make_unique<TDirThread>(LocalPath(directory_), *noticeTimer_,
                                               options_.Filter(), subtree_, LocalPath(fileName_));
        running_ = true;
    } catch (...) {
        TThreadErrorBox::Show(QStringLiteral("Exception while creating thread"));
    }
}

void TATFileNotification::Stop()
{
    const std::lock_guard guard(lock_);
    if (!running_)
        return;
    try {
        worker_->End();
        worker_.reset();
        running_ = false;
    } catch (...) {
        TThreadErrorBox::Show(QStringLiteral("Exception while terminating thread"));
    }
}

bool TATFileNotification::Running() const
{
    const std::lock_guard guard(lock_);
    return running_;
}

bool TATFileNotification::NoticePending() const
{
    return noticeTimer_->Armed();
}

void TATFileNotification::TimerStep()
{
    noticeTimer_->Disarm();
    if (!OnChanged)
        return;
    // Nothing may escape into the event loop; a failing handler is reported like the watcher's
    // own failures.
    try {
        OnChanged();
    } catch (const std::exception& error) {
        TThreadErrorBox::Show(QString::fromLocal8Bit(error.what()));
    }
}
