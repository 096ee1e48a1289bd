// Opens a generated 1,000,000-line program (about 37 MB) in the main window: the time from
// LoadFile to the plot built (and, with paint/1, to its first paint), and the process's peak
// memory.
//
//   xvfb-run -a -s "-screen 0 1280x1024x24" build/bench/app/app_open_file

#include "OpenGLPanel.h"
#include "Plotter.h"
#include "UserDialogs.h"

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

// Typical CAM output: mostly G1 moves, some rapids, arcs and comments; deterministic.
std::string GenerateProgram(int lineCount)
{
    std::string text;
    text.reserve(static_cast<std::size_t>(lineCount) * 38);
    char line[96];
    unsigned state = 12345;
    for (int i = 0; i < lineCount; ++i) {
        state = state * 1103515245u + 12345u;
        const double x = (state >> 8) % 200000 / 1000.0;
        const double y = (state >> 4) % 150000 / 1000.0 - 75.0;
        const int kind = static_cast<int>((state >> 20) % 20);
        int length = 0;
        if (kind == 0)
            length = std::snprintf(line, sizeof line, "(pass %d, step %d)\n", i / 1000, i % 1000);
        else if (kind == 1)
            length = std::snprintf(line, sizeof line, "N%d G0 X%.4f Y%.4f Z2.0\n", i * 10, x, y);
        else if (kind == 2)
            length = std::snprintf(line, sizeof line, "N%d G2 X%.4f Y%.4f I1.5 J-0.5\n", i * 10,
                                   x, y);
        else
            length = std::snprintf(line, sizeof line, "N%d G1 X%.4f Y%.4f Z-0.5 F1200\n", i * 10,
                                   x, y);
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
        segments = window->Panel().Segments().size();
        window.reset();
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(bytes) * state.iterations());
    state.counters["segments"] = static_cast<double>(segments);
    state.counters["file_MB"] = static_cast<double>(bytes) / kBytesPerMegabyte;
    state.counters["peak_RSS_MB"] = PeakMemoryMB();
}
BENCHMARK(BM_OpenLargeFile)
    ->ArgName("paint")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(3);

} // namespace

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
