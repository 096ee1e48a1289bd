// The state after a line and the timeline's work per frame on the 1,000,000-line raster
// program of bench/gen-program.py, in both readings: the cost of one lookup at a random line
// (the state) or a random time (the tool's position and move, which a frame of playing or
// scrubbing asks for), and what keeping the state index adds to a machine path reading.
//   build/bench/playback/playback_bench

#include <benchmark/benchmark.h>

#include <random>
#include <string>

#include "bench/RasterProgram.h"
#include "gcode/GCodeEngine.h"
#include "gcode/LineList.h"
#include "machine/MachineReader.h"
#include "playback/MachineStateIndex.h"
#include "playback/TableStateIndex.h"
#include "playback/Timeline.h"

namespace {

constexpr int kLineCount = 1'000'000;
constexpr double kRapidRate = 5000;

const std::string& RasterProgram()
{
    static const std::string text =
        bench::RasterProgramText(kLineCount, "/tmp/zorvit-playback-bench-raster.ngc");
    return text;
}

struct TMachineRun
{
    TLineList Lines{RasterProgram()};
    TMachineStateIndex Index{Lines.size()};
    TMachineReading Reading;

    explicit TMachineRun(bool index)
    {
        TMachineReader reader;
        if (index)
            reader.OnLineRead = [this](std::size_t line, const TMachine& machine) {
                Index.Record(line, machine);
            };
        reader.Run(Lines);
        Reading = reader.TakeResult();
    }
};

const TMachineRun& MachineRun()
{
    static const TMachineRun run(true);
    return run;
}

const TGCodeEngine& Engine()
{
    static const TGCodeEngine& engine = [&]() -> const TGCodeEngine& {
        static TGCodeEngine running;
        running.Run(TLineList(RasterProgram()));
        return running;
    }();
    return engine;
}

void BM_MachineRead(benchmark::State& state)
{
    const bool index = state.range(0) != 0;
    for (auto _ : state) {
        TMachineRun run(index);
        benchmark::DoNotOptimize(run.Reading.Motions.Motions.data());
    }
    state.SetLabel(index ? "keeping the state index" : "without it");
}

void BM_MachineStateAt(benchmark::State& state)
{
    const TMachineRun& run = MachineRun();
    std::mt19937 random(1);
    std::uniform_int_distribution<std::size_t> line(0, run.Lines.size() - 1);
    for (auto _ : state)
        benchmark::DoNotOptimize(run.Index.At(line(random), run.Reading.Motions));
}

void BM_TableStateAt(benchmark::State& state)
{
    const TGCodeEngine& engine = Engine();
    const TTableStateIndex index(engine);
    std::mt19937 random(1);
    std::uniform_int_distribution<std::size_t> line(0, engine.LineCount() - 1);
    for (auto _ : state)
        benchmark::DoNotOptimize(index.At(line(random)));
}

void BM_TableStateIndexBuild(benchmark::State& state)
{
    const TGCodeEngine& engine = Engine();
    for (auto _ : state)
        benchmark::DoNotOptimize(TTableStateIndex(engine));
}

// What a frame asks of the timeline: the move and the tool's position at a time.
void TimelineFrames(benchmark::State& state, const TMotionList& motions)
{
    const TTimeline timeline(motions, kRapidRate);
    std::mt19937 random(1);
    std::uniform_real_distribution<double> time(0, timeline.TotalSeconds());
    for (auto _ : state) {
        const double seconds = time(random);
        benchmark::DoNotOptimize(timeline.LineAt(seconds));
        benchmark::DoNotOptimize(timeline.PositionAt(seconds));
    }
    state.counters["moves"] = static_cast<double>(timeline.MoveCount());
}

void BM_MachineTimelineFrame(benchmark::State& state)
{
    TimelineFrames(state, MachineRun().Reading.Motions);
}

void BM_TranscriptionTimelineFrame(benchmark::State& state)
{
    static const TMotionList motions = TranscriptionMotions(Engine());
    TimelineFrames(state, motions);
}

void BM_TimelineBuild(benchmark::State& state)
{
    const TMotionList& motions = MachineRun().Reading.Motions;
    for (auto _ : state)
        benchmark::DoNotOptimize(TTimeline(motions, kRapidRate).TotalSeconds());
}

}  // namespace

BENCHMARK(BM_MachineRead)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(BM_MachineStateAt)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_TableStateAt)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_TableStateIndexBuild)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_MachineTimelineFrame)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_TranscriptionTimelineFrame)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_TimelineBuild)->Unit(benchmark::kMillisecond)->Iterations(3);

BENCHMARK_MAIN();
