// zorvit-render FILE -o OUT.png [--size N] [--view top|front|right|iso]: draws the plot of a
// G-code program into a PNG image with the window's view logic and paint sequence, fitted to
// the image, in the user's motion colours. It needs no display: the drawing goes to an
// offscreen OpenGL context. Exit status: 0 with the image; 1 when the program stops at an error
// (the image shows the moves before it, the message goes to stderr); 2 when the file cannot
// be read, the image cannot be written, there is no offscreen context or the arguments are wrong.

#include "common/Error.h"
#include "gcode/FileBytes.h"
#include "gcode/FloatEnvironment.h"
#include "gcode/GCodeEngine.h"
#include "settings/IniFile.h"
#include "gcode/LineList.h"
#include "gcode/LineTable.h"
#include "render/OffscreenPlot.h"
#include "render/PngFile.h"
#include "render/RenderOptions.h"
#include "settings/Settings.h"
#include "plot/ToolpathBuilder.h"
#include "common/Version.h"

#include <cstdio>
#include <exception>
#include <optional>
#include <string>
#include <vector>

namespace
{

constexpr int kExitRunFailed = 1;
constexpr int kExitNoImage = 2;

void Complain(const std::string& message)
{
    std::fprintf(stderr, "zorvit-render: %s\n", message.c_str());
}

// Runs the interpreter over the whole program. The message when it stops at an error; the
// table then holds the rows before the failing line.
std::optional<std::string> Interpret(TGCodeEngine& engine, std::string bytes)
{
    try {
        engine.Run(TLineList(std::move(bytes)));
    } catch (const std::exception& error) {
        engine.Table()->DiscardRow();
        return error.what();
    }
    return std::nullopt;
}

void Render(const TRenderOptions& options, const std::shared_ptr<TLineTable>& table)
{
    TOffscreenPlot plot(options.size);
    const TMotionColors colours = ReadMotionColors(TIniFile(SettingsFileName()));
    TToolpathBuilder builder(plot.View(), colours);
    builder.SetLineTable(table);
    plot.View().SetStandardView(options.view);
    WritePngFile(options.output, plot.Size(), plot.Size(), plot.Render());
}

} // namespace

int main(int argc, char** argv)
{
    InitFloatingPoint();
    TRenderOptions options;
    try {
        options = ParseRenderOptions(std::vector<std::string>(argv + 1, argv + argc));
    } catch (const ERenderUsage& error) {
        Complain(error.what());
        std::fputs(RenderUsage().c_str(), stderr);
        return kExitNoImage;
    }
    if (options.help) {
        std::fputs(RenderUsage().c_str(), stdout);
        return 0;
    }
    if (options.version) {
        std::printf("zorvit-render %s\n", kZorvitVersion);
        return 0;
    }

    TGCodeEngine engine;
    std::optional<std::string> failure;
    try {
        failure = Interpret(engine, ReadFileBytes(options.input));
        Render(options, engine.Table());
    } catch (const std::exception& error) {
        Complain(error.what());
        return kExitNoImage;
    }
    if (failure) {
        std::fprintf(stderr, "%s\n", failure->c_str());
        return kExitRunFailed;
    }
    return 0;
}
