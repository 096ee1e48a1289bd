// Zorvit: starts the main window on the file named by the first argument, if any; or prints
// the help or the version and exits.
#include "CommandLine.h"
#include "FloatEnvironment.h"
#include "Plotter.h"

#include <QApplication>

#include <cstdio>

int main(int argc, char* argv[])
{
    InitFloatingPoint();
    if (const std::optional<QString> answer = CommandLineAnswer(argc, argv)) {
        std::fputs(answer->toLocal8Bit().constData(), stdout);
        return 0;
    }
    QApplication application(argc, argv);
    // No application title, so that the error boxes have an empty caption.
    QApplication::setApplicationName(QString());
    QApplication::setApplicationDisplayName(QString());

    TGLPlotter window(QApplication::arguments().mid(1));
    window.show();
    return QApplication::exec();
}
