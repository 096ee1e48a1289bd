// The machine path's control flow: a while loop of 10^6 turns with two parameters and a G1 per
// turn, read and planned (goal: 2 s), and how long an endless loop takes to stop at the loop
// limit.

#include <benchmark/benchmark.h>

#include <string>

#include "bench/MachineRun.h"
#include "gcode/LineList.h"
#include "machine/MachineReader.h"

namespace {

std::string LoopProgram(long turns)
{
    return "#1=0\n#2=0\nG1 F1000\no100 while [#1 lt " + std::to_string(turns) +
           "]\n#1=[#1+1]\n#2=[#2+0.01]\nG1 X[#1 mod 100] Y#2\no100 endwhile\nM2\n";
}

void BM_WhileLoopReadAndPlanned(benchmark::State& state)
{
    const TLineList lines(LoopProgram(state.range(0)));
    std::size_t points = 0;
    for (auto _ : state) {
        points = bench::ReadAndPlanMachine(lines).Plan.Points.size();
        benchmark::DoNotOptimize(points);
    }
    state.counters["turns"] = static_cast<double>(state.range(0));
    state.counters["points"] = static_cast<double>(points);
}
BENCHMARK(BM_WhileLoopReadAndPlanned)
    ->Arg(10000)
    ->Arg(1000000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

void BM_EndlessLoopStops(benchmark::State& state)
{
    const TLineList lines(std::string("o100 while [1]\no100 endwhile\nM2\n"));
    for (auto _ : state) {
        TMachineReader reader;
        bool stopped = false;
        try {
            reader.Run(lines);
        } catch (const EMachineError&) {
            stopped = true;
        }
        if (!stopped)
            state.SkipWithError("the endless loop did not stop");
    }
}
BENCHMARK(BM_EndlessLoopStops)->Unit(benchmark::kSecond)->Iterations(1);

}  // namespace

BENCHMARK_MAIN();
