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

#include "bench/ProgramGenerator.h"
#include "gcode/GCodeEngine.h"
#include "gcode/LineList.h"
#include "program/ProgramSummary.h"

namespace {

// Each size is generated once and shared by the benchmarks that use it.
const std::string& Program(std::int64_t lineCount)
{
    static std::map<std::int64_t, std::string> programs;
    auto found = programs.find(lineCount);
    if (found == programs.end())
        found = programs.emplace(lineCount, bench::ProgramText(lineCount)).first;
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
    state.counters["skipped"] =
        static_cast<double>(engine.Skipped().Words() + engine.Skipped().Lines());
}

void BM_Run(benchmark::State& state)
{
    RunEngine(state, false, false);
}
void BM_RunLenient(benchmark::State& state)
{
    RunEngine(state, true, false);
}
void BM_RunAndSummary(benchmark::State& state)
{
    RunEngine(state, false, true);
}

// The editor's text read in place, as the window reads it; a long text is read by two threads,
// so the time is the clock's.
void BM_RunText(benchmark::State& state)
{
    const std::string& text = Program(state.range(0));
    TGCodeEngine engine;
    for (auto _ : state)
        engine.RunText(text);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
    state.counters["rows"] = static_cast<double>(engine.Table()->RowCount());
}

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
BENCHMARK(BM_RunText)
    ->Arg(kSmall)
    ->Arg(kMedium)
    ->Arg(kLarge)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(BM_RunLenient)->Arg(kSmall)->Arg(kMedium)->Arg(kLarge)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RunAndSummary)->Arg(kLarge)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Summary)->Arg(kLarge)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
