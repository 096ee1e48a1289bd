// The interpreter over any bytes: the project's own errors are results, anything else a finding.

#include "common/Error.h"
#include "gcode/FloatEnvironment.h"
#include "gcode/GCodeEngine.h"
#include "gcode/LineList.h"

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    InitFloatingPoint();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    const TLineList lines(text);
    TGCodeEngine engine;
    try {
        engine.Run(lines);
    } catch (const EZorvitError&) {}
    // The table never holds more rows than there are lines.
    std::size_t rows = 0;
    TLineTable& table = *engine.Table();
    for (table.MoveFirst(); !table.AtEnd(); table.MoveNext())
        ++rows;
    if (rows > lines.size())
        std::abort();
    return 0;
}
