// The main window on a file, counting the frames the window system shows, for
// bench/playback-frames.sh, which drives the window with xdotool. Every 100 ms it rewrites the
// file named by its first argument with one line "frames=N cpu_ns=C": the frames shown so far
// (the plot panel's frameSwapped, which comes with every composition of the window) and the CPU
// time of the whole process so far, all its threads (Mesa's llvmpipe draws in its own).
//
//   app_playback_frames COUNTS_FILE [ZORVIT ARGUMENTS...]
#include "app/window/Plotter.h"
#include "gcode/FloatEnvironment.h"
#include "plot/OpenGLPanel.h"

#include <QApplication>
#include <QSaveFile>
#include <QTimer>

#include <cstdio>
#include <ctime>

namespace {

constexpr int kCountsMs = 100;

long long ProcessCpuNs()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec;
}

}  // namespace

int main(int argc, char* argv[])
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: app_playback_frames COUNTS_FILE [FILE]\n");
        return 2;
    }
    InitFloatingPoint();
    QApplication application(argc, argv);
    QStringList arguments = QApplication::arguments().mid(1);
    const QString countsFile = arguments.takeFirst();

    TGLPlotter window(arguments);
    long long frames = 0;
    QObject::connect(&window.Panel(), &QOpenGLWidget::frameSwapped, &application,
                     [&frames] { ++frames; });
    QTimer counts;
    QObject::connect(&counts, &QTimer::timeout, &application, [&] {
        QSaveFile file(countsFile);
        if (!file.open(QIODevice::WriteOnly))
            return;
        file.write(
            QStringLiteral("frames=%1 cpu_ns=%2\n").arg(frames).arg(ProcessCpuNs()).toUtf8());
        file.commit();
    });
    counts.start(kCountsMs);
    window.show();
    return QApplication::exec();
}
