// Full scans of generated CAM-like G-code by the RS274 highlighter, as the editor runs them to
// bring its line states up to date: StartLine, NextToken to the line's end, read LineState.
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

// A fixed linear congruential generator, so every run scans the same program.
class TSequence
{
public:
    std::uint32_t Next(std::uint32_t bound)
    {
        FState = FState * 1664525u + 1013904223u;
        return (FState >> 8) % bound;
    }
    double Coordinate() { return (static_cast<int>(Next(400000)) - 200000) / 1000.0; }

private:
    std::uint32_t FState = 12345u;
};

// Lines as a CAM post-processor writes them: mostly linear and arc moves with coordinates,
// some rapid moves, feeds, comments, line numbers and tool changes.
std::vector<std::string> MakeProgram(std::int64_t lineCount)
{
    TSequence random;
    std::vector<std::string> lines;
    lines.reserve(static_cast<std::size_t>(lineCount));
    char buffer[128];
    for (std::int64_t i = 0; i < lineCount; ++i)
    {
        const std::uint32_t pick = random.Next(100);
        if (pick < 55)
            std::snprintf(buffer, sizeof buffer, "G1 X%.4f Y%.4f Z%.4f", random.Coordinate(),
                          random.Coordinate(), random.Coordinate());
        else if (pick < 75)
            std::snprintf(buffer, sizeof buffer, "G%d X%.4f Y%.4f I%.4f J%.4f F%u",
                          2 + static_cast<int>(random.Next(2)), random.Coordinate(),
                          random.Coordinate(), random.Coordinate(), random.Coordinate(),
                          100 + random.Next(2000));
        else if (pick < 85)
            std::snprintf(buffer, sizeof buffer, "N%lld G0 X%.3f Y%.3f", static_cast<long long>(i),
                          random.Coordinate(), random.Coordinate());
        else if (pick < 92)
            std::snprintf(buffer, sizeof buffer, " Z%.4f F%u", random.Coordinate(),
                          100 + random.Next(2000));
        else if (pick < 97)
            std::snprintf(buffer, sizeof buffer, "(Pass %u: contour offset %.3f)", random.Next(50),
                          random.Coordinate());
        else
            std::snprintf(buffer, sizeof buffer, "T%u M6 S%u M3", 1 + random.Next(20),
                          1000 + random.Next(20000));
        lines.emplace_back(buffer);
    }
    return lines;
}

std::int64_t ByteCount(const std::vector<std::string>& lines)
{
    std::int64_t bytes = 0;
    for (const std::string& line : lines)
        bytes += static_cast<std::int64_t>(line.size()) + 2;  // with its CR LF in a file
    return bytes;
}

void BM_FullScan(benchmark::State& state)
{
    const std::vector<std::string> lines = MakeProgram(state.range(0));
    TSynRC274Syn highlighter;
    for (auto _ : state)
    {
        highlighter.ResetLineState();
        TLineState states = 0;
        for (std::size_t i = 0; i < lines.size(); ++i)
        {
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
    const std::vector<std::string> lines = MakeProgram(state.range(0));
    TSynRC274Syn highlighter;
    for (auto _ : state)
    {
        highlighter.ResetLineState();
        std::size_t tokenBytes = 0;
        for (std::size_t i = 0; i < lines.size(); ++i)
        {
            highlighter.StartLine(lines[i], static_cast<int>(i));
            while (!highlighter.AtLineEnd())
            {
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

BENCHMARK(BM_FullScan)->RangeMultiplier(kLinesMultiplier)->Range(kMinLines, kMaxLines)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PaintScan)->Arg(kMaxLines)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
