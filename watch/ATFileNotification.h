#pragma once
// A non-visual component that tells its owner when something on disk changes. It watches either
// a directory (every change of the chosen kinds in it, optionally in the whole tree below it) or
// one file (only changes of that file, noticed through its folder). A worker thread does the
// waiting; notices reach OnChanged on the user-interface thread, 100 ms after the first change of
// a burst, once per burst.

#include "watch/NotifyOptions.h"

#include <QObject>
#include <QString>

#include <functional>
#include <memory>
#include <mutex>

class TDirThread;
class TNoticeTimer;

class TATFileNotification : public QObject
{
    Q_OBJECT

public:
    explicit TATFileNotification(QObject* parent = nullptr);
    ~TATFileNotification() override;  // stops the watcher

    // Raised on the user-interface thread when a change has been noticed.
    std::function<void()> OnChanged;

    TATFileNotifyOptions Options() const { return FOptions; }
    void SetOptions(TATFileNotifyOptions options) { FOptions = options; }
    bool Subtree() const { return FSubtree; }
    void SetSubtree(bool subtree) { FSubtree = subtree; }

    // At most one of Directory and FileName is set: setting either to a new value empties the
    // other. A running worker keeps the names it started with until Stop and Start.
    const QString& Directory() const { return FDirectory; }
    void SetDirectory(const QString& directory);
    const QString& FileName() const { return FFileName; }
    void SetFileName(const QString& fileName);

    void Start();  // does nothing while running
    void Stop();   // does nothing while stopped; a notice already armed is still delivered

    bool Running() const;
    bool NoticePending() const;

private:
    void TimerStep();

    TATFileNotifyOptions FOptions = kDefaultNotifyOptions;
    bool FSubtree = false;
    QString FDirectory;
    QString FFileName;

    // Start and Stop hold it, so that the running flag and the worker change together.
    mutable std::recursive_mutex FLock;
    bool FRunning = false;
    std::unique_ptr<TDirThread> FWorker;
    TNoticeTimer* FNoticeTimer;  // a child; outlives every worker
};
