// Starts the main window on a file the way the program does and reports when the plot has been
// drawn on screen: the first frame that the window system shows with a non-empty segment list.
// Prints one line "drawn_ms=... paints=... segments=..." and quits.
//
//   ZORVIT_START_NS=$(date +%s%N) xvfb-run -a build-rel/bench/app/app_start_to_drawn FILE
//
// With ZORVIT_START_NS (the wall clock in nanoseconds when the caller launched the process) the
// time counts from the launch; without it from main(). With --paints the window stays up for
// two more seconds and every paint is listed with the segments it drew.
#include "app/window/Plotter.h"
#include "common/FreedMemory.h"
#include "gcode/FloatEnvironment.h"
#include "plot/OpenGLPanel.h"

#include <QApplication>
#include <QTimer>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

constexpr int kListingMs = 2000;

std::int64_t NowNs()
{
    using namespace std::chrono;
    return duration_cast<nanoseconds>(system_clock::now().time_since_epoch()).count();
}

double MsSince(std::int64_t startNs)
{
    return static_cast<double>(NowNs() - startNs) / 1e6;
}

struct TPaint
{
    double atMs;
    std::size_t segments;
};

}  // namespace

int main(int argc, char* argv[])
{
    const char* launched = std::getenv("ZORVIT_START_NS");
    const std::int64_t startNs = launched ? std::atoll(launched) : NowNs();
    InitFloatingPoint();
    ReturnFreedMemoryToTheSystem();
    QApplication application(argc, argv);
    QStringList arguments = QApplication::arguments().mid(1);
    const bool listPaints = arguments.removeAll(QStringLiteral("--paints")) > 0;

    TGLPlotter window(arguments);
    TOpenGLPanel& panel = window.Panel();
    std::vector<TPaint> paints;
    panel.OnPainted = [&] { paints.push_back({MsSince(startNs), panel.Segments().size()}); };
    bool drawn = false;
    QObject::connect(&panel, &QOpenGLWidget::frameSwapped, &application, [&] {
        if (drawn || panel.Segments().empty())
            return;
        drawn = true;
        std::printf("drawn_ms=%.0f paints=%d segments=%zu\n", MsSince(startNs), panel.PaintCount(),
                    panel.Segments().size());
        std::fflush(stdout);
        QTimer::singleShot(listPaints ? kListingMs : 0, &application, &QCoreApplication::quit);
    });
    window.show();
    const int result = QApplication::exec();
    if (listPaints)
        for (const TPaint& paint : paints)
            std::printf("paint at %.0f ms: %zu segments\n", paint.atMs, paint.segments);
    return result;
}
