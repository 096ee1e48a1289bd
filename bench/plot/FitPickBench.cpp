// Fit to View and a pick on 1,000,000 segments, on the plot view without drawing (the view has
// no GL context, so the paint after the fit issues no command), and the memory the source
// lines add per segment and per row.
//   build/bench/plot/plot_fit_pick_bench
#include "bench/ProgramGenerator.h"
#include "bench/plot/ShortSegments.h"
#include "common/SourceLines.h"
#include "gcode/GCodeEngine.h"
#include "plot/GLRecorder.h"
#include "plot/PlotView.h"

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

namespace {

using bench::kHeight;
using bench::kSegmentCount;
using bench::kWidth;

struct TTurnedView
{
    TGLRecorder gl;
    TPlotView view{gl};

    TTurnedView()
    {
        gl.SetHasContext(false);
        view.Resize(kWidth, kHeight);
        view.SetExtent(static_cast<std::int32_t>(bench::kPlotSize));
        view.ReserveSegments(kSegmentCount);
        for (const TSegment& segment : bench::ShortSegments())
            view.AddSegment(segment.from, segment.to, segment.colour);
        view.SetStandardView(TStandardView::Isometric);
    }
};

TTurnedView& View()
{
    static TTurnedView view;
    return view;
}

void BM_FitToView(benchmark::State& state)
{
    TTurnedView& v = View();
    for (auto _ : state) {
        v.view.ZoomBy(-1);
        v.view.FitToView();
        benchmark::DoNotOptimize(v.view.State().zoomFactor);
    }
    state.SetItemsProcessed(state.iterations() * kSegmentCount);
}
BENCHMARK(BM_FitToView)->Unit(benchmark::kMillisecond);

void BM_PickSegment(benchmark::State& state)
{
    TTurnedView& v = View();
    v.view.FitToView();
    int x = 0;
    for (auto _ : state) {
        x = (x + 37) % kWidth;
        benchmark::DoNotOptimize(v.view.SegmentAt(x, kHeight / 2.0, 6));
    }
    state.SetItemsProcessed(state.iterations() * kSegmentCount);
}
BENCHMARK(BM_PickSegment)->Unit(benchmark::kMillisecond);

// Bytes the interpreter's row lines and the builder's segment lines hold, per row and segment.
void BM_SourceLineMemory(benchmark::State& state)
{
    const std::vector<std::string> lines = bench::ProgramLines(kSegmentCount);
    TGCodeEngine engine;
    TSourceLines segmentLines;
    for (auto _ : state) {
        engine.Run(lines);
        segmentLines.Reset(engine.Table()->RowCount());
        const TSourceLines& rowLines = *engine.RowSourceLines();
        for (std::size_t row = 0; row < rowLines.Size(); ++row)
            segmentLines.Add(*rowLines.LineOf(row));
        segmentLines.Trim();
    }
    const TSourceLines& rowLines = *engine.RowSourceLines();
    state.counters["bytes_per_row"] =
        static_cast<double>(rowLines.AllocatedBytes()) / static_cast<double>(rowLines.Size());
    state.counters["bytes_per_segment"] =
        static_cast<double>(segmentLines.AllocatedBytes()) / segmentLines.Size();
}
BENCHMARK(BM_SourceLineMemory)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

BENCHMARK_MAIN();
