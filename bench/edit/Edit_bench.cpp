// The editing tools on generated CAM output of 10^4 to 10^6 lines: comparing a program with a
// copy changed in a hundred places, and with a program that has nothing in common with it;
// mirroring, turning and renumbering the whole program.

#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "bench/ProgramGenerator.h"
#include "edit/LineDiff.h"
#include "edit/Renumber.h"
#include "edit/Transform.h"

namespace {

constexpr int kChangedLines = 100;

// Feed moves, some rapids and arcs in G90 and G17, N words on every line.
std::vector<std::string> MakeProgram(int lineCount, char letter = 'G')
{
    bench::TProgramRandom random;
    std::vector<std::string> lines;
    lines.reserve(static_cast<std::size_t>(lineCount));
    char line[128];
    for (int i = 0; i < lineCount; ++i) {
        const int kind = random.Below(100);
        const double x = random.Coordinate();
        const double y = random.Coordinate();
        if (kind < 8)
            std::snprintf(line, sizeof line, "N%d %c0 X%.4f Y%.4f", (i + 1) * 10, letter, x, y);
        else if (kind < 16)
            std::snprintf(line, sizeof line, "N%d %c2 X%.4f Y%.4f I%.4f J%.4f", (i + 1) * 10,
                          letter, x, y, random.Coordinate() / 10, random.Coordinate() / 10);
        else
            std::snprintf(line, sizeof line, "N%d %c1 X%.4f Y%.4f F1200", (i + 1) * 10, letter, x,
                          y);
        lines.emplace_back(line);
    }
    return lines;
}

std::vector<std::string_view> Views(const std::vector<std::string>& lines)
{
    return {lines.begin(), lines.end()};
}

void BM_DiffAHundredChanges(benchmark::State& state)
{
    const std::vector<std::string> left = MakeProgram(static_cast<int>(state.range(0)));
    std::vector<std::string> right = left;
    for (std::size_t i = 0; i < kChangedLines; ++i)
        right[(i * 7919 * 13) % right.size()] += " (changed)";
    const auto leftViews = Views(left);
    const auto rightViews = Views(right);
    for (auto _ : state)
        benchmark::DoNotOptimize(DiffLines(leftViews, rightViews));
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_DiffAHundredChanges)
    ->Arg(10000)
    ->Arg(100000)
    ->Arg(1000000)
    ->Unit(benchmark::kMillisecond);

void BM_DiffNothingInCommon(benchmark::State& state)
{
    const std::vector<std::string> left = MakeProgram(static_cast<int>(state.range(0)));
    const std::vector<std::string> right = MakeProgram(static_cast<int>(state.range(0)), 'g');
    const auto leftViews = Views(left);
    const auto rightViews = Views(right);
    for (auto _ : state)
        benchmark::DoNotOptimize(DiffLines(leftViews, rightViews));
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_DiffNothingInCommon)
    ->Arg(10000)
    ->Arg(100000)
    ->Arg(1000000)
    ->Unit(benchmark::kMillisecond);

void BM_Mirror(benchmark::State& state)
{
    const std::vector<std::string> lines = MakeProgram(static_cast<int>(state.range(0)));
    const TPlaneTransform mirror = TPlaneTransform::Mirror(true, false);
    for (auto _ : state)
        benchmark::DoNotOptimize(TransformProgram(lines, mirror));
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_Mirror)->Arg(10000)->Arg(1000000)->Unit(benchmark::kMillisecond);

void BM_Rotate(benchmark::State& state)
{
    const std::vector<std::string> lines = MakeProgram(static_cast<int>(state.range(0)));
    const TPlaneTransform rotation = TPlaneTransform::Rotation(30, 10, 10);
    for (auto _ : state)
        benchmark::DoNotOptimize(TransformProgram(lines, rotation));
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_Rotate)->Arg(10000)->Arg(1000000)->Unit(benchmark::kMillisecond);

void BM_Renumber(benchmark::State& state)
{
    const std::vector<std::string> lines = MakeProgram(static_cast<int>(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(Renumber(lines, {TRenumberMode::AllBlocks, 5, 5}));
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_Renumber)->Arg(10000)->Arg(1000000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
