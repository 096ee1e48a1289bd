// Interpreter speed over generated CAM output, against the time just to split the same text
// into lines (the floor), and the line table's memory per row; lenient reading of the same
// program (which has nothing to skip) against strict reading, and the program summary on top
// of a run.

#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <map>
#include <string>
#include <utility>

#include "gcode/GCodeEngine.h"
#include "gcode/LineList.h"
#include "program/ProgramSummary.h"

namespace {

constexpr int kLineNumberStep = 10;

// A small deterministic generator, so every run sees the same program.
class TRandom
{
public:
    std::uint32_t Next()
    {
        FState = FState * 1664525u + 1013904223u;
        return FState >> 8;
    }
    int Below(int limit) { return static_cast<int>(Next() % static_cast<std::uint32_t>(limit)); }
    // A coordinate with four decimals in -100 to 100.
    double Coordinate() { return (Below(2000001) - 1000000) / 10000.0; }

private:
    std::uint32_t FState = 12345u;
};

// Typical CAM output: mostly feed moves, some rapids, arcs and comments, CR LF line breaks.
std::string MakeProgram(int lineCount)
{
    constexpr int kCommentPercent = 4;
    constexpr int kRapidPercent = 8;
    constexpr int kArcPercent = 8;
    TRandom random;
    std::string text;
    char line[128];
    for (int i = 0; i < lineCount; ++i) {
        const int n = (i + 1) * kLineNumberStep;
        const int kind = random.Below(100);
        if (kind < kCommentPercent)
            std::snprintf(line, sizeof line, "(Pass %d, contour %d)", i / 1000, i % 97);
        else if (kind < kCommentPercent + kRapidPercent)
            std::snprintf(line, sizeof line, "N%d G0 X%.4f Y%.4f Z5.0", n, random.Coordinate(),
                          random.Coordinate());
        else if (kind < kCommentPercent + kRapidPercent + kArcPercent)
            std::snprintf(line, sizeof line, "N%d G%d X%.4f Y%.4f I%.4f J%.4f", n, 2 + random.Below(2),
                          random.Coordinate(), random.Coordinate(), random.Coordinate() / 10,
                          random.Coordinate() / 10);
        else
            std::snprintf(line, sizeof line, "N%d G1 X%.4f Y%.4f Z%.1f F%d", n, random.Coordinate(),
                          random.Coordinate(), -random.Below(30) / 10.0, 600 + 100 * random.Below(10));
        text += line;
        text += "\r\n";
    }
    return text;
}

// Each size is generated once and shared by the benchmarks that use it.
const std::string& Program(std::int64_t lineCount)
{
    static std::map<std::int64_t, std::string> programs;
    auto found = programs.find(lineCount);
    if (found == programs.end())
        found = programs.emplace(lineCount, MakeProgram(static_cast<int>(lineCount))).first;
    return found->second;
}

void BM_SplitLines(benchmark::State& state)
{
    const std::string& text = Program(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        std::string copy = text;
        state.ResumeTiming();
        const TLineList lines(std::move(copy));
        benchmark::DoNotOptimize(lines.size());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}

// Runs the engine over the program; with summarize, the program summary follows every run.
void RunEngine(benchmark::State& state, bool lenient, bool summarize)
{
    const std::string& text = Program(state.range(0));
    const TLineList lines(text);
    TGCodeEngine engine;
    engine.SetLenient(lenient);
    for (auto _ : state) {
        state.PauseTiming();
        TLineList copy = lines;
        state.ResumeTiming();
        engine.Run(std::move(copy));
        if (summarize)
            benchmark::DoNotOptimize(SummarizeRun(engine).EstimatedMinutes());
    }
    const TLineTable& table = *engine.Table();
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
    state.counters["rows"] = static_cast<double>(table.RowCount());
    state.counters["bytes_per_row"] =
        static_cast<double>(table.AllocatedBytes()) / static_cast<double>(table.RowCount());
    state.counters["skipped"] = static_cast<double>(engine.Skipped().Words() + engine.Skipped().Lines());
}

void BM_Run(benchmark::State& state) { RunEngine(state, false, false); }
void BM_RunLenient(benchmark::State& state) { RunEngine(state, true, false); }
void BM_RunAndSummary(benchmark::State& state) { RunEngine(state, false, true); }

// The summary alone, over the table of one run.
void BM_Summary(benchmark::State& state)
{
    TGCodeEngine engine;
    engine.Run(TLineList(Program(state.range(0))));
    for (auto _ : state)
        benchmark::DoNotOptimize(SummarizeRun(engine).EstimatedMinutes());
    state.counters["rows"] = static_cast<double>(engine.Table()->RowCount());
}

constexpr std::int64_t kSmall = 10'000;
constexpr std::int64_t kMedium = 100'000;
constexpr std::int64_t kLarge = 1'000'000;

BENCHMARK(BM_SplitLines)->Arg(kSmall)->Arg(kMedium)->Arg(kLarge)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Run)->Arg(kSmall)->Arg(kMedium)->Arg(kLarge)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RunLenient)->Arg(kSmall)->Arg(kMedium)->Arg(kLarge)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RunAndSummary)->Arg(kLarge)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Summary)->Arg(kLarge)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
