#pragma once
// Stand-in for the file change watcher: it keeps the file name and the running state and
// watches nothing. The real watcher replaces this file with the same interface.

#include <QObject>
#include <QString>
#include <functional>

class TATFileNotification : public QObject
{
    Q_OBJECT
public:
    explicit TATFileNotification(QObject* owner = nullptr) : QObject(owner) {}

    const QString& FileName() const { return fileName_; }
    void SetFileName(const QString& name) { fileName_ = name; }
    void Start() { running_ = true; }
    void Stop() { running_ = false; }
    bool Running() const { return running_; }

    std::function<void()> OnChanged;

private:
    QString fileName_;
    bool running_ = false;
};
