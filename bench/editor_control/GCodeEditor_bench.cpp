// Loads a generated 1,000,000-line program (about 37 MB) into the editor control and reads its
// lines and bytes back, the path every open, refresh and save takes. Beside the times it reports
// the process's peak resident memory. A plain copy-and-split of the same bytes, without the
// editor, is the baseline.
//
// Runs without a display: the Qt platform defaults to "offscreen" when none is chosen.
#include "bench/ProgramGenerator.h"
#include "editor/GCodeEditor.h"
#include "editor/TextSearch.h"

#include <QApplication>
#include <QByteArray>

#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr int kLineCount = 1'000'000;
constexpr double kKibPerMib = 1024.0;
constexpr double kBytesPerMegabyte = 1e6;
constexpr int kRepetitions = 5;

// The benchmark program, joined by CR LF as a file holds it.
const QByteArray& Program()
{
    static const QByteArray program = QByteArray::fromStdString(bench::ProgramText(kLineCount));
    return program;
}

void ReportPeakMemory(benchmark::State& state)
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    // ru_maxrss is in KiB on Linux.
    state.counters["peak_rss_MiB"] = static_cast<double>(usage.ru_maxrss) / kKibPerMib;
    state.counters["file_MB"] = static_cast<double>(Program().size()) / kBytesPerMegabyte;
}

// The open path: the whole text replaced, then the lines handed to the interpreter.
void BM_SetTextBytesAndLines(benchmark::State& state)
{
    const QByteArray& program = Program();
    TGCodeEditor editor;
    for (auto _ : state) {
        editor.SetTextBytes(program);
        const TLineList lines = editor.Lines();
        benchmark::DoNotOptimize(lines.size());
    }
    state.SetBytesProcessed(state.iterations() * program.size());
    ReportPeakMemory(state);
}

void BM_SetTextBytes(benchmark::State& state)
{
    const QByteArray& program = Program();
    TGCodeEditor editor;
    for (auto _ : state)
        editor.SetTextBytes(program);
    state.SetBytesProcessed(state.iterations() * program.size());
}

void BM_Lines(benchmark::State& state)
{
    TGCodeEditor editor;
    editor.SetTextBytes(Program());
    for (auto _ : state) {
        const TLineList lines = editor.Lines();
        benchmark::DoNotOptimize(lines.size());
    }
    state.SetBytesProcessed(state.iterations() * Program().size());
}

// The save path.
void BM_TextBytes(benchmark::State& state)
{
    TGCodeEditor editor;
    editor.SetTextBytes(Program());
    for (auto _ : state) {
        const QByteArray bytes = editor.TextBytes();
        benchmark::DoNotOptimize(bytes.constData());
    }
    state.SetBytesProcessed(state.iterations() * Program().size());
}

// Baseline: copy the bytes and split them at CR LF into strings, with no editor involved.
void BM_BaselineCopyAndSplit(benchmark::State& state)
{
    const QByteArray& program = Program();
    for (auto _ : state) {
        const std::string copy(program.constData(), static_cast<std::size_t>(program.size()));
        std::vector<std::string> lines;
        lines.reserve(kLineCount + 1);
        const std::string_view text(copy);
        std::size_t start = 0;
        for (std::size_t end = text.find("\r\n"); end != std::string_view::npos;
             end = text.find("\r\n", start)) {
            lines.emplace_back(text.substr(start, end - start));
            start = end + 2;
        }
        lines.emplace_back(text.substr(start));
        benchmark::DoNotOptimize(lines.data());
    }
    state.SetBytesProcessed(state.iterations() * program.size());
}

// Find over the whole text: a word that is nowhere, so the search runs to the end and wraps
// around from the top back to where it started.
void BM_FindAbsentWord(benchmark::State& state)
{
    TGCodeEditor editor;
    editor.SetTextBytes(Program());
    const long middle = editor.SendScintilla(QsciScintillaBase::SCI_GETLENGTH) / 2;
    for (auto _ : state) {
        const auto match = FindText(editor, "M30", {true, true}, middle, true);
        benchmark::DoNotOptimize(match);
    }
    state.SetBytesProcessed(state.iterations() * Program().size());
}

// Replace All of a word on every line (1,000,000 replacements), as one undo step.
void BM_ReplaceAllOnEveryLine(benchmark::State& state)
{
    TGCodeEditor editor;
    for (auto _ : state) {
        state.PauseTiming();
        editor.SetTextBytes(Program());
        state.ResumeTiming();
        const long count = ReplaceAllText(editor, "F600.0", "F750.0", {true, true});
        benchmark::DoNotOptimize(count);
    }
    state.SetBytesProcessed(state.iterations() * Program().size());
}

// The combined path runs first so that its peak memory is not raised by the others.
BENCHMARK(BM_SetTextBytesAndLines)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(kRepetitions)
    ->ReportAggregatesOnly();
BENCHMARK(BM_SetTextBytes)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(kRepetitions)
    ->ReportAggregatesOnly();
BENCHMARK(BM_Lines)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(kRepetitions)
    ->ReportAggregatesOnly();
BENCHMARK(BM_TextBytes)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(kRepetitions)
    ->ReportAggregatesOnly();
BENCHMARK(BM_FindAbsentWord)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(kRepetitions)
    ->ReportAggregatesOnly();
BENCHMARK(BM_ReplaceAllOnEveryLine)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(kRepetitions)
    ->ReportAggregatesOnly();
BENCHMARK(BM_BaselineCopyAndSplit)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(kRepetitions)
    ->ReportAggregatesOnly();

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
