// The interpreter over any bytes: the project's own errors are results, anything else a finding.
// Reading the text in place, and while it is being written, must give what reading its lines
// gives.

#include "common/Error.h"
#include "gcode/FloatEnvironment.h"
#include "gcode/GCodeEngine.h"
#include "gcode/LineList.h"
#include "gcode/RunAhead.h"

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

    const auto sameAsLines = [&](TGCodeEngine& other) {
        other.Table()->MoveFirst();  // settles a failing line's row, as above
        if (other.Table()->RowCount() != table.RowCount() ||
            other.FailedLine() != engine.FailedLine() || other.LineCount() != engine.LineCount())
            std::abort();
    };
    TGCodeEngine inPlace;
    try {
        inPlace.RunText(text);
    } catch (const EZorvitError&) {}
    sameAsLines(inPlace);
    TGCodeEngine whileWritten;
    try {
        TRunAhead ahead(whileWritten, text.size());
        ahead.Publish(std::string_view(text).substr(0, text.size() / 2));
        ahead.Finish(text);
    } catch (const EZorvitError&) {}
    sameAsLines(whileWritten);
    return 0;
}
