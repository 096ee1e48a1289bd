// Opens a generated 1,000,000-line program (about 37 MB) in the main window: the time from
// LoadFile to the plot built (and, with paint/1, to its first paint), and the process's peak
// memory.
//
//   xvfb-run -a -s "-screen 0 1280x1024x24" build/bench/app/app_open_file

#include "app/dialogs/UserDialogs.h"
#include "app/window/Plotter.h"
#include "bench/ProgramGenerator.h"
#include "plot/OpenGLPanel.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <cstdio>
#include <string>

namespace {

constexpr int kLineCount = 1'000'000;
constexpr double kBytesPerMegabyte = 1024.0 * 1024.0;
constexpr double kKilobytesPerMegabyte = 1024.0;

class TSilentDialogs : public TUserDialogs
{
public:
    void ShowError(const QString& message) override
    {
        std::fprintf(stderr, "error: %s\n", qPrintable(message));
    }
};

double PeakMemoryMB()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / kKilobytesPerMegabyte;
}

void BM_OpenLargeFile(benchmark::State& state)
{
    QTemporaryDir folder;
    qputenv("XDG_CONFIG_HOME", folder.path().toLocal8Bit());
    const QString path = folder.filePath(QStringLiteral("large.ngc"));
    std::size_t bytes = 0;
    {
        const std::string text = bench::ProgramText(kLineCount);
        bytes = text.size();
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        file.write(text.data(), static_cast<qint64>(text.size()));
    }

    // Argument 1: the first paint of the plot is timed too.
    const bool paint = state.range(0) != 0;
    std::size_t segments = 0;
    // The peak after the first opening, before later openings leave the heap fragmented; only
    // the first run of the program starts from a fresh process.
    static double firstOpenPeak = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto window =
            std::make_unique<TGLPlotter>(QStringList{}, std::make_unique<TSilentDialogs>());
        window->show();
        QCoreApplication::processEvents();
        state.ResumeTiming();

        window->LoadFile(path);
        if (paint)
            window->Panel().repaint();

        state.PauseTiming();
        if (firstOpenPeak == 0)
            firstOpenPeak = PeakMemoryMB();
        segments = window->Panel().Segments().size();
        window.reset();
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(bytes) * state.iterations());
    state.counters["segments"] = static_cast<double>(segments);
    state.counters["file_MB"] = static_cast<double>(bytes) / kBytesPerMegabyte;
    state.counters["peak_RSS_MB"] = PeakMemoryMB();
    state.counters["first_open_peak_RSS_MB"] = firstOpenPeak;
}
BENCHMARK(BM_OpenLargeFile)
    ->ArgName("paint")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(3);

// The toolpath builder alone over the table of an opened 1,000,000-line program: one segment
// per row with a coordinate, no paint (the extent does not change after the first build).
void BM_BuildToolpath(benchmark::State& state)
{
    QTemporaryDir folder;
    qputenv("XDG_CONFIG_HOME", folder.path().toLocal8Bit());
    const QString path = folder.filePath(QStringLiteral("large.ngc"));
    {
        const std::string text = bench::ProgramText(kLineCount);
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        file.write(text.data(), static_cast<qint64>(text.size()));
    }
    TGLPlotter window(QStringList{}, std::make_unique<TSilentDialogs>());
    window.show();
    window.LoadFile(path);
    QCoreApplication::processEvents();

    for (auto _ : state) {
        state.PauseTiming();
        window.Panel().ClearSegments();
        state.ResumeTiming();
        window.BuildToolpath();
    }
    state.counters["segments"] = static_cast<double>(window.Panel().Segments().size());
}
BENCHMARK(BM_BuildToolpath)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

}  // namespace

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
