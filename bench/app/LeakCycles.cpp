// A day's work in one window: CYCLES times (1000 when not given) a 100,000-line program is
// opened, refreshed from the code, edited and closed (File > New, not saving), and the resident
// memory of the process is printed every 100 cycles and at the end, with its growth from the
// end of the first 10 cycles, by which the caches, the fonts and the OpenGL driver have settled,
// and the heap the program holds.
// Prints "growth_percent=..." last.
//
//   xvfb-run -a -s "-screen 0 1280x1024x24" build/bench/app/app_leak_cycles [CYCLES]
//
// bench/leak-cycles.sh builds and runs it.

#include "app/dialogs/UserDialogs.h"
#include "app/window/Plotter.h"
#include "bench/ProgramGenerator.h"
#include "common/FreedMemory.h"
#include "editor/GCodeEditor.h"
#include "gcode/FloatEnvironment.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QTemporaryDir>

#include <malloc.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

namespace {

constexpr int kLineCount = 100'000;
constexpr int kDefaultCycles = 1000;
constexpr int kSettlingCycles = 10;
constexpr int kReportEvery = 100;

// Answers No to "Save changes?" and prints errors instead of showing them.
class TNotSavingDialogs : public TUserDialogs
{
public:
    TAnswer Ask(const QString&, bool) override { return TAnswer::No; }
    void ShowError(const QString& message) override
    {
        std::fprintf(stderr, "error: %s\n", qPrintable(message));
    }
};

double ResidentMB()
{
    std::ifstream statm("/proc/self/statm");
    long pages = 0;
    long resident = 0;
    statm >> pages >> resident;
    return static_cast<double>(resident) * static_cast<double>(::sysconf(_SC_PAGESIZE)) /
           (1024.0 * 1024.0);
}

// What the program holds of the heap: resident memory that grows while this stays is the
// allocator keeping freed memory, not a leak.
double HeapInUseMB()
{
    const struct mallinfo2 info = ::mallinfo2();
    return static_cast<double>(info.uordblks + info.hblkhd) / (1024.0 * 1024.0);
}

void Trigger(TGLPlotter& window, const char* action)
{
    window.findChild<QAction*>(QString::fromLatin1(action))->trigger();
    QCoreApplication::processEvents();
}

}  // namespace

int main(int argc, char* argv[])
{
    InitFloatingPoint();
    ReturnFreedMemoryToTheSystem();
    QApplication application(argc, argv);
    const int cycles = argc > 1 ? std::atoi(argv[1]) : kDefaultCycles;
    if (cycles <= kSettlingCycles) {
        std::fprintf(stderr, "app_leak_cycles: more than %d cycles, please\n", kSettlingCycles);
        return 2;
    }
    QTemporaryDir folder;
    qputenv("XDG_CONFIG_HOME", folder.path().toLocal8Bit());
    const QString path = folder.filePath(QStringLiteral("program.ngc"));
    {
        const std::string text = bench::ProgramText(kLineCount);
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        file.write(text.data(), static_cast<qint64>(text.size()));
    }

    TGLPlotter window(QStringList{}, std::make_unique<TNotSavingDialogs>());
    window.show();
    QCoreApplication::processEvents();
    double settled = 0;
    for (int cycle = 1; cycle <= cycles; ++cycle) {
        window.LoadFile(path);
        QCoreApplication::processEvents();
        Trigger(window, "PlotterRefresh");
        // An edit in the middle of the program: a line added, another changed.
        TGCodeEditor& editor = window.Editor();
        const int line = (cycle * 7919) % kLineCount;
        editor.insertAt(QStringLiteral("G1 X%1 Y-5 F300\n").arg(cycle), line, 0);
        editor.setSelection(line + 1, 0, line + 1, 4);
        editor.replaceSelectedText(QStringLiteral("N1 "));
        QCoreApplication::processEvents();
        Trigger(window, "FileNew1");
        if (cycle == kSettlingCycles)
            settled = ResidentMB();
        if (cycle % kReportEvery == 0 || cycle == kSettlingCycles || cycle == cycles)
            std::printf("cycle=%d resident_MB=%.1f heap_in_use_MB=%.1f\n", cycle, ResidentMB(),
                        HeapInUseMB());
        std::fflush(stdout);
    }
    const double last = ResidentMB();
    std::printf("settled_MB=%.1f last_MB=%.1f growth_percent=%.2f\n", settled, last,
                100.0 * (last - settled) / settled);
    return 0;
}
