// Full scans of generated CAM-like G-code by the RS274 highlighter, as the editor runs them to
// bring its line states up to date: StartLine, NextToken to the line's end, read LineState.
#include "bench/ProgramGenerator.h"
#include "highlight/SynHighlighterRS274.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr std::int64_t kMinLines = 10'000;
constexpr std::int64_t kMaxLines = 1'000'000;
constexpr int kLinesMultiplier = 10;

std::int64_t ByteCount(const std::vector<std::string>& lines)
{
    std::int64_t bytes = 0;
    for (const std::string& line : lines)
        bytes += static_cast<std::int64_t>(line.size()) + 2;  // with its CR LF in a file
    return bytes;
}

void BM_FullScan(benchmark::State& state)
{
    const std::vector<std::string> lines = bench::ProgramLines(state.range(0));
    TSynRC274Syn highlighter;
    for (auto _ : state) {
        highlighter.ResetLineState();
        TLineState states = 0;
        for (std::size_t i = 0; i < lines.size(); ++i) {
            highlighter.StartLine(lines[i], static_cast<int>(i));
            while (!highlighter.AtLineEnd())
                highlighter.NextToken();
            states += highlighter.LineState();
        }
        benchmark::DoNotOptimize(states);
    }
    state.SetBytesProcessed(state.iterations() * ByteCount(lines));
    state.counters["lines"] = static_cast<double>(lines.size());
}

// The painting pass also reads each token's text, start and attribute.
void BM_PaintScan(benchmark::State& state)
{
    const std::vector<std::string> lines = bench::ProgramLines(state.range(0));
    TSynRC274Syn highlighter;
    for (auto _ : state) {
        highlighter.ResetLineState();
        std::size_t tokenBytes = 0;
        for (std::size_t i = 0; i < lines.size(); ++i) {
            highlighter.StartLine(lines[i], static_cast<int>(i));
            while (!highlighter.AtLineEnd()) {
                tokenBytes += highlighter.TokenText().size();
                benchmark::DoNotOptimize(highlighter.TokenStart());
                benchmark::DoNotOptimize(highlighter.TokenAttribute());
                highlighter.NextToken();
            }
        }
        benchmark::DoNotOptimize(tokenBytes);
    }
    state.SetBytesProcessed(state.iterations() * ByteCount(lines));
}

BENCHMARK(BM_FullScan)
    ->RangeMultiplier(kLinesMultiplier)
    ->Range(kMinLines, kMaxLines)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PaintScan)->Arg(kMaxLines)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
