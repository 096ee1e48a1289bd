// The machine path (read and plan) against the transcription (Run and the toolpath builder) on
// the 1,000,000-line raster program of bench/gen-program.py, and the machine path on 1,000,000
// short arcs. Each reports the bytes its results hold ("bytes", and per line).
//   build/bench/machine/machine_bench

#include <benchmark/benchmark.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>

#include "bench/MachineRun.h"
#include "bench/RasterProgram.h"
#include "gcode/GCodeEngine.h"
#include "gcode/LineList.h"
#include "machine/MachineReader.h"
#include "machine/Plan.h"
#include "plot/GLRecorder.h"
#include "plot/PlotView.h"
#include "plot/ToolpathBuilder.h"

namespace {

constexpr int kLineCount = 1'000'000;
constexpr double kArcStep = 0.2;  // mm between the ends of each short arc

// The raster program, written once by the project's generator.
const std::string& RasterProgram()
{
    static const std::string text =
        bench::RasterProgramText(kLineCount, "/tmp/zorvit-machine-bench-raster.ngc");
    return text;
}

// Short half-turn arcs along X, alternating in direction, as a fine engraving writes them.
const std::string& ArcProgram()
{
    static const std::string text = [] {
        std::string program = "G21 G90 G17\nG0 X0 Y0 Z1\nG1 Z-0.1 F600\n";
        char line[96];
        for (int i = 1; i < kLineCount - 3; ++i) {
            std::snprintf(line, sizeof line, "G%d X%.4f Y0 I%.4f J0\n", i % 2 == 0 ? 2 : 3,
                          i * kArcStep, kArcStep / 2);
            program += line;
        }
        return program;
    }();
    return text;
}

constexpr std::array<TColor, 4> kColours{};

void BM_TranscriptionRunAndBuild(benchmark::State& state)
{
    const TLineList lines = TLineList::View(RasterProgram());
    std::size_t bytes = 0;
    for (auto _ : state) {
        TGLRecorder gl;
        gl.SetHasContext(false);
        TPlotView view(gl);
        TToolpathBuilder builder(view, kColours);
        TGCodeEngine engine;
        engine.Run(lines);
        builder.SetLineTable(engine.Table(), engine.RowSourceLines());
        bytes = engine.Table()->AllocatedBytes() + engine.RowSourceLines()->AllocatedBytes() +
                view.Segments().AllocatedBytes() + builder.SegmentLines().AllocatedBytes();
        benchmark::DoNotOptimize(view.Segments().size());
    }
    state.counters["bytes"] = static_cast<double>(bytes);
    state.counters["bytes_per_line"] = static_cast<double>(bytes) / kLineCount;
}

std::size_t MachineBytes(const TMachineReading& reading, const TPathPlan& plan)
{
    return reading.Motions.Motions.capacity() * sizeof(TMotion) +
           reading.Motions.Arcs.capacity() * sizeof(TMotionArc) +
           plan.Points.capacity() * sizeof(TPlanPoint);
}

void ReadAndPlan(benchmark::State& state, const std::string& program)
{
    const TLineList lines = TLineList::View(program);
    std::size_t bytes = 0;
    std::size_t points = 0;
    for (auto _ : state) {
        const bench::TMachineRun run = bench::ReadAndPlanMachine(lines);
        bytes = MachineBytes(run.Reading, run.Plan);
        points = run.Plan.Points.size();
        benchmark::DoNotOptimize(run.Plan.Points.data());
    }
    state.counters["bytes"] = static_cast<double>(bytes);
    state.counters["bytes_per_line"] = static_cast<double>(bytes) / kLineCount;
    state.counters["points"] = static_cast<double>(points);
}

void BM_MachineReadAndPlan(benchmark::State& state)
{
    ReadAndPlan(state, RasterProgram());
}
void BM_MachineShortArcs(benchmark::State& state)
{
    ReadAndPlan(state, ArcProgram());
}

BENCHMARK(BM_TranscriptionRunAndBuild)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MachineReadAndPlan)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MachineShortArcs)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
