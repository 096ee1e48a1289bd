// Opens a generated 1,000,000-line program (about 37 MB) in the main window: the time from
// LoadFile to the plot built (and, with paint/1, to its first paint), and the process's peak
// memory.
//
//   xvfb-run -a -s "-screen 0 1280x1024x24" build/bench/app/app_open_file

#include "plot/OpenGLPanel.h"
#include "app/window/Plotter.h"
#include "app/dialogs/UserDialogs.h"

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

// Typical CAM output: a raster over a 120 x 80 pocket in short G1 moves, a rapid and a plunge
// at the start of each row, an arc now and then, and a comment at each new depth; deterministic.
std::string GenerateProgram(int lineCount)
{
    constexpr double kStep = 0.12;        // length of one cutting move
    constexpr double kRowPitch = 0.8;     // distance between raster rows
    constexpr double kWidth = 120.0;
    constexpr double kHeight = 80.0;
    constexpr double kDepthStep = 0.5;    // deeper by this after each pass over the pocket
    constexpr int kArcEvery = 37;         // lines between arcs
    std::string text;
    text.reserve(static_cast<std::size_t>(lineCount) * 38);
    char line[96];
    double x = 0;
    double y = 0;
    double z = -kDepthStep;
    int direction = 1;
    bool plunge = true;
    for (int i = 0; i < lineCount; ++i) {
        int length = 0;
        const double next = x + direction * kStep;
        if (next < 0 || next > kWidth) {
            direction = -direction;
            y += kRowPitch;
            if (y > kHeight) {
                y = 0;
                z -= kDepthStep;
                length = std::snprintf(line, sizeof line, "(depth %.1f)\n", z);
            } else {
                length = std::snprintf(line, sizeof line, "N%d G0 X%.4f Y%.4f Z2.0\n", i * 10, x, y);
            }
            plunge = true;
        } else if (plunge) {
            length = std::snprintf(line, sizeof line, "N%d G1 Z%.2f F300\n", i * 10, z);
            plunge = false;
        } else if (i % kArcEvery == 0) {
            x = next;
            length = std::snprintf(line, sizeof line, "N%d G2 X%.4f Y%.4f I0.06 J0.0\n", i * 10, x, y);
        } else if (i % 2 == 0) {
            x = next;
            length = std::snprintf(line, sizeof line, "N%d G1 X%.4f Y%.4f F1200\n", i * 10, x, y);
        } else {
            x = next;
            length = std::snprintf(line, sizeof line, "N%d G1 X%.4f Y%.4f Z%.3f\n", i * 10, x, y, z);
        }
        text.append(line, static_cast<std::size_t>(length));
    }
    return text;
}

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
        const std::string text = GenerateProgram(kLineCount);
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
        auto window = std::make_unique<TGLPlotter>(QStringList{}, std::make_unique<TSilentDialogs>());
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
        const std::string text = GenerateProgram(kLineCount);
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

} // namespace

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
