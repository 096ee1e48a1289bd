#include "watch/ThreadErrorBox.h"

#include <QCoreApplication>
#include <QMessageBox>

#include <cstdio>
#include <utility>

namespace {
// Read and written on the user-interface thread only.
TThreadErrorBox::THandler& Handler()
{
    static TThreadErrorBox::THandler handler;
    return handler;
}

void ShowBox(const QString& message)
{
    QMessageBox box(QMessageBox::Critical, QStringLiteral("Error"), message, QMessageBox::Ok);
    box.exec();
}
}  // namespace

void TThreadErrorBox::Show(const QString& message)
{
    std::fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
    QCoreApplication* const application = QCoreApplication::instance();
    if (!application)
        return;
    QMetaObject::invokeMethod(
        application,
        [message] {
            if (Handler())
                Handler()(message);
            else
                ShowBox(message);
        },
        Qt::QueuedConnection);
}

TThreadErrorBox::THandler TThreadErrorBox::SetHandler(THandler handler)
{
    return std::exchange(Handler(), std::move(handler));
}
