// zorvit-interpret-file FILE: reads a G-code file, splits it into lines and runs the interpreter
// over them, as opening a file does, with no output but the figures. Prints
// "seconds peak_rss_kib" on one line, for bench/compare-peer.sh.

#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <exception>

#include "gcode/FileBytes.h"
#include "gcode/FloatEnvironment.h"
#include "gcode/GCodeEngine.h"
#include "gcode/LineList.h"

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: zorvit-interpret-file FILE\n");
        return 2;
    }
    InitFloatingPoint();
    try {
        const auto start = std::chrono::steady_clock::now();
        TGCodeEngine engine;
        engine.Run(TLineList(ReadFileBytes(argv[1])));
        const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;

        rusage usage{};
        getrusage(RUSAGE_SELF, &usage);
        std::printf("%.4f %ld\n", elapsed.count(), usage.ru_maxrss);
        return engine.Table()->RowCount() > 0 ? 0 : 1;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "zorvit-interpret-file: %s\n", error.what());
        return 1;
    }
}
