// Zorvit: starts the main window on the file named by the first argument, if any; or prints
// the help or the version and exits.
#include "app/CommandLine.h"
#include "app/Heartbeat.h"
#include "app/window/Plotter.h"
#include "common/FreedMemory.h"
#include "common/Version.h"
#include "gcode/FloatEnvironment.h"
#include "watch/FileNameEncoding.h"

#include <QApplication>

#include <cstdio>

int main(int argc, char* argv[])
{
    InitFloatingPoint();
    ReturnFreedMemoryToTheSystem();
    if (const std::optional<QString> answer = CommandLineAnswer(argc, argv)) {
        std::fputs(answer->toLocal8Bit().constData(), stdout);
        return 0;
    }
    QApplication application(argc, argv);
    // No application title, so that the error boxes have an empty caption.
    QApplication::setApplicationName(QString());
    QApplication::setApplicationDisplayName(QString());
    QGuiApplication::setDesktopFileName(QString::fromLatin1(kZorvitAppId));

    // Qt has taken its own options out of argv. The names are decoded here rather than through
    // QApplication::arguments(), which turns bytes that are not UTF-8 into U+FFFD.
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << DecodeFileName(QByteArray(argv[i]));
    const THeartbeat heartbeat;
    TGLPlotter window(arguments);
    window.show();
    return QApplication::exec();
}
