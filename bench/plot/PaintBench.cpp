// One paint of 1,000,000 short segments through the panel's view and real GL commands
// (immediate mode, one glBegin/glEnd pair per segment), beside the same lines drawn by a single
// glDrawArrays from a client-side vertex array, in one run on one offscreen context.
//   xvfb-run -a -s "-screen 0 1280x1024x24" build/bench/plot/plot_paint_bench
#include "bench/plot/ShortSegments.h"
#include "plot/OpenGLCommands.h"
#include "plot/PlotView.h"

#include <QGuiApplication>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFramebufferObject>
#include <QOpenGLFunctions_1_1>
#include <QOpenGLVersionFunctionsFactory>
#include <QSurfaceFormat>

#include <benchmark/benchmark.h>

#include <array>
#include <cstdio>
#include <memory>
#include <vector>

namespace {

using bench::kHeight;
using bench::kPlotSize;
using bench::kSegmentCount;
using bench::kWidth;
constexpr int kVerticesPerSegment = 2;
constexpr int kCoordinates = 3;

struct TContext
{
    QOffscreenSurface surface;
    QOpenGLContext context;
    std::unique_ptr<QOpenGLFramebufferObject> framebuffer;
    QOpenGLFunctions_1_1* functions = nullptr;

    void MakeCurrent()
    {
        context.makeCurrent(&surface);
        framebuffer->bind();
    }
};

TContext* gContext = nullptr;

const std::vector<TSegment>& Segments()
{
    static const std::vector<TSegment> segments = bench::ShortSegments();
    return segments;
}

void BM_PanelPaintImmediateMode(benchmark::State& state)
{
    TOpenGLCommands gl([] { gContext->MakeCurrent(); });
    gl.SetFunctions(gContext->functions);
    TPlotView view(gl);
    view.InitializeGL();
    view.Resize(kWidth, kHeight);
    view.SetExtent(static_cast<std::int32_t>(kPlotSize));
    for (const TSegment& segment : Segments())
        view.AddSegment(segment.from, segment.to, segment.colour);
    for (auto _ : state) {
        view.Paint();
        gContext->functions->glFinish();  // the time until the pixels are there
    }
    state.SetItemsProcessed(state.iterations() * kSegmentCount);
}

void BM_SingleDrawArrays(benchmark::State& state)
{
    std::vector<float> vertices;
    std::vector<std::uint8_t> colours;
    vertices.reserve(std::size_t{kSegmentCount} * kVerticesPerSegment * kCoordinates);
    colours.reserve(std::size_t{kSegmentCount} * kVerticesPerSegment * kCoordinates);
    for (const TSegment& segment : Segments()) {
        for (const TPoint3f& p : {segment.from, segment.to}) {
            vertices.insert(vertices.end(), {p.x, p.y, p.z});
            colours.insert(colours.end(), {ColorRed(segment.colour), ColorGreen(segment.colour),
                                           ColorBlue(segment.colour)});
        }
    }
    gContext->MakeCurrent();
    QOpenGLFunctions_1_1* f = gContext->functions;
    const double aspect = static_cast<double>(kWidth) / kHeight;
    f->glViewport(0, 0, kWidth, kHeight);
    f->glEnableClientState(GL_VERTEX_ARRAY);
    f->glEnableClientState(GL_COLOR_ARRAY);
    f->glVertexPointer(kCoordinates, GL_FLOAT, 0, vertices.data());
    f->glColorPointer(kCoordinates, GL_UNSIGNED_BYTE, 0, colours.data());
    for (auto _ : state) {
        f->glClear(GL_COLOR_BUFFER_BIT);
        f->glMatrixMode(GL_PROJECTION);
        f->glLoadIdentity();
        f->glOrtho(0, kPlotSize * aspect, 0, kPlotSize, kPlotSize, -kPlotSize);
        f->glMatrixMode(GL_MODELVIEW);
        f->glLoadIdentity();
        f->glDrawArrays(GL_LINES, 0, kSegmentCount * kVerticesPerSegment);
        f->glFinish();
    }
    f->glDisableClientState(GL_COLOR_ARRAY);
    f->glDisableClientState(GL_VERTEX_ARRAY);
    state.SetItemsProcessed(state.iterations() * kSegmentCount);
}

// Wall time: Mesa rasterises on its own threads, which the main thread's CPU time misses.
constexpr int kIterations = 3;
constexpr int kRepetitions = 5;
BENCHMARK(BM_PanelPaintImmediateMode)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(kIterations)
    ->Repetitions(kRepetitions)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_SingleDrawArrays)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(kIterations)
    ->Repetitions(kRepetitions)
    ->ReportAggregatesOnly(true);

}  // namespace

int main(int argc, char** argv)
{
    QGuiApplication application(argc, argv);
    QSurfaceFormat format;
    format.setRenderableType(QSurfaceFormat::OpenGL);
    format.setProfile(QSurfaceFormat::CompatibilityProfile);
    format.setDepthBufferSize(16);

    TContext context;
    context.surface.setFormat(format);
    context.surface.create();
    context.context.setFormat(format);
    if (!context.context.create() || !context.context.makeCurrent(&context.surface)) {
        std::fprintf(stderr, "no OpenGL context: run under xvfb-run\n");
        return 1;
    }
    context.functions = QOpenGLVersionFunctionsFactory::get<QOpenGLFunctions_1_1>(&context.context);
    if (!context.functions || !context.functions->initializeOpenGLFunctions()) {
        std::fprintf(stderr, "no OpenGL 1.1 functions on this context\n");
        return 1;
    }
    context.framebuffer = std::make_unique<QOpenGLFramebufferObject>(kWidth, kHeight);
    std::printf("renderer: %s\n",
                reinterpret_cast<const char*>(context.functions->glGetString(GL_RENDERER)));
    gContext = &context;

    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    gContext = nullptr;
    return 0;
}
