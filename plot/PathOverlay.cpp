#include "plot/PathOverlay.h"

#include "common/Error.h"
#include "gcode/GCodeEngine.h"
#include "program/ToolpathWalk.h"

std::vector<TSegment> PathSegments(const std::vector<std::string>& lines, TColor colour)
{
    TGCodeEngine engine;
    engine.SetLenient(true);
    try {
        engine.Run(lines);
    } catch (const EZorvitError&) {
        // What was read before the error is still drawn, as the plot draws it.
    }
    TLineTable& table = *engine.Table();
    TToolpathWalk walk(table);
    std::vector<TSegment> segments;
    for (table.MoveFirst(); !table.AtEnd(); table.MoveNext())
        if (walk.ReadRow())
            segments.push_back({walk.From(), walk.To(), colour});
    return segments;
}
