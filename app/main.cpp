// Zorvit: starts the main window on the file named by the first argument, if any.
#include "FloatEnvironment.h"
#include "Plotter.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    InitFloatingPoint();
    QApplication application(argc, argv);
    // No application title, so that the error boxes have an empty caption.
    QApplication::setApplicationName(QString());
    QApplication::setApplicationDisplayName(QString());

    TGLPlotter window(QApplication::arguments().mid(1));
    window.show();
    return QApplication::exec();
}
