// Reading the settings (every key the window reads at start) from settings files that are not
// what Zorvit writes: 10 MB of random bytes, 10 MB of short unknown lines, one 1 MB line.
// Each case should take well under 0.2 s.
//
//   build/bench/settings/settings_read

#include "highlight/SynHighlighterRS274.h"
#include "settings/IniFile.h"
#include "settings/Settings.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <unistd.h>

namespace {

constexpr std::size_t kLargeBytes = 10u << 20;
constexpr std::size_t kLongLineBytes = 1u << 20;

std::string RandomBytes()
{
    std::mt19937 random(14);
    std::string bytes(kLargeBytes, '\0');
    for (char& byte : bytes)
        byte = static_cast<char>(random());
    return bytes;
}

std::string ShortLines()
{
    std::string text;
    while (text.size() < kLargeBytes)
        text += "Unknown" + std::to_string(text.size()) + "=some value\n";
    return text;
}

std::string LongLine()
{
    return "[Colors]\nG0=" + std::string(kLongLineBytes, 'x') + "\n[Axis]\nStyle=1\n";
}

void ReadSettingsOf(benchmark::State& state, const std::string& content)
{
    char name[] = "/tmp/zorvit-settings-bench-XXXXXX";
    const int fd = ::mkstemp(name);
    if (fd < 0 ||
        ::write(fd, content.data(), content.size()) != static_cast<ssize_t>(content.size()))
        std::abort();
    ::close(fd);
    for (auto _ : state) {
        // A new TIniFile each time, as at each start of the program.
        TMotionColors colours{};
        TSynRC274Syn highlighter;
        ReadSettings(TIniFile(name), colours, highlighter);
        benchmark::DoNotOptimize(colours);
    }
    ::unlink(name);
}

void BM_RandomBytes(benchmark::State& state)
{
    ReadSettingsOf(state, RandomBytes());
}
void BM_ShortUnknownLines(benchmark::State& state)
{
    ReadSettingsOf(state, ShortLines());
}
void BM_OneLongLine(benchmark::State& state)
{
    ReadSettingsOf(state, LongLine());
}

BENCHMARK(BM_RandomBytes)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ShortUnknownLines)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OneLongLine)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
