#pragma once
// The one program generator of the benchmarks: typical CAM output, mostly feed moves with line
// numbers, some rapids, arcs and comments. Deterministic, so every run measures the same
// program. (bench/gen-program.py writes program files for the whole-process scripts.)

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace bench {

// A small linear congruential generator.
class TProgramRandom
{
public:
    std::uint32_t Next()
    {
        FState = FState * 1664525u + 1013904223u;
        return FState >> 8;
    }
    int Below(int limit) { return static_cast<int>(Next() % static_cast<std::uint32_t>(limit)); }
    // A coordinate with four decimals in -100 to 100.
    double Coordinate() { return (Below(2000001) - 1000000) / 10000.0; }

private:
    std::uint32_t FState = 12345u;
};

// The program's lines, without line breaks.
inline std::vector<std::string> ProgramLines(std::int64_t lineCount)
{
    constexpr int kLineNumberStep = 10;
    constexpr int kCommentPercent = 4;
    constexpr int kRapidPercent = 8;
    constexpr int kArcPercent = 8;
    constexpr int kLinesPerPass = 1000;
    constexpr int kContours = 97;
    TProgramRandom random;
    std::vector<std::string> lines;
    lines.reserve(static_cast<std::size_t>(lineCount));
    char line[128];
    for (std::int64_t i = 0; i < lineCount; ++i) {
        const long long n = (i + 1) * kLineNumberStep;
        const int kind = random.Below(100);
        if (kind < kCommentPercent)
            std::snprintf(line, sizeof line, "(Pass %lld, contour %lld)",
                          static_cast<long long>(i / kLinesPerPass),
                          static_cast<long long>(i % kContours));
        else if (kind < kCommentPercent + kRapidPercent)
            std::snprintf(line, sizeof line, "N%lld G0 X%.4f Y%.4f Z5.0", n, random.Coordinate(),
                          random.Coordinate());
        else if (kind < kCommentPercent + kRapidPercent + kArcPercent)
            std::snprintf(line, sizeof line, "N%lld G%d X%.4f Y%.4f I%.4f J%.4f", n,
                          2 + random.Below(2), random.Coordinate(), random.Coordinate(),
                          random.Coordinate() / 10, random.Coordinate() / 10);
        else
            std::snprintf(line, sizeof line, "N%lld G1 X%.4f Y%.4f Z%.1f F%d", n,
                          random.Coordinate(), random.Coordinate(), -random.Below(30) / 10.0,
                          600 + 100 * random.Below(10));
        lines.emplace_back(line);
    }
    return lines;
}

// The program as a file holds it: the lines joined by CR LF.
inline std::string ProgramText(std::int64_t lineCount)
{
    std::string text;
    for (const std::string& line : ProgramLines(lineCount)) {
        text += line;
        text += "\r\n";
    }
    return text;
}

}  // namespace bench
