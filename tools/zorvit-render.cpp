// zorvit-render FILE -o OUT.png [--size N] [--view top|front|right|iso] [--machine | --lenient]:
// draws the plot of a G-code program into a PNG image with the window's view logic and paint
// sequence, fitted to the image, in the user's motion colours, read as the window reads it (the
// user's settings name the reading unless an option does). It needs no display: the drawing goes to
// an offscreen OpenGL context. Exit status: 0 with the image; 1 when the program stops at an error
// (the image shows the moves before it, the message goes to stderr); 2 when the file cannot
// be read, the image cannot be written, there is no offscreen context or the arguments are wrong.

#include "common/Error.h"
#include "common/FileBytes.h"
#include "common/Version.h"
#include "gcode/FloatEnvironment.h"
#include "gcode/GCodeEngine.h"
#include "gcode/LineList.h"
#include "gcode/LineTable.h"
#include "machine/MachineReader.h"
#include "machine/Plan.h"
#include "plot/ToolpathBuilder.h"
#include "render/OffscreenPlot.h"
#include "render/PngFile.h"
#include "render/RenderOptions.h"
#include "settings/IniFile.h"
#include "settings/ReadingSettings.h"
#include "settings/Settings.h"

#include <cstdio>
#include <exception>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace {

constexpr int kExitRunFailed = 1;
constexpr int kExitNoImage = 2;

void Complain(const std::string& message)
{
    std::fprintf(stderr, "zorvit-render: %s\n", message.c_str());
}

// The image's plot: the view that paints it and the builder that fills the view.
struct TRenderPlot
{
    explicit TRenderPlot(const TRenderOptions& options, const TMotionColors& motionColours)
        : Plot(options.size), Colours(motionColours), Builder(Plot.View(), Colours)
    {}

    void Write(const TRenderOptions& options)
    {
        Plot.View().SetStandardView(options.view);
        WritePngFile(options.output, Plot.Size(), Plot.Size(), Plot.Render());
    }

    TOffscreenPlot Plot;
    TMotionColors Colours;
    TToolpathBuilder Builder;
};

// Runs the interpreter over the whole program and draws its table. The message when it stops
// at an error; the table then holds the rows before the failing line.
std::optional<std::string> RenderTranscription(TRenderPlot& plot, std::string bytes, bool lenient)
{
    TGCodeEngine engine;
    engine.SetLenient(lenient);
    std::optional<std::string> failure;
    try {
        engine.Run(TLineList(std::move(bytes)));
    } catch (const std::exception& error) {
        engine.Table()->DiscardRow();
        failure = error.what();
    }
    plot.Builder.SetLineTable(engine.Table());
    return failure;
}

// Reads the program as a machine does and draws the plan of its motions, those before the
// failing line when it stops at an error (whose message it gives).
std::optional<std::string> RenderMachinePath(TRenderPlot& plot, std::string bytes,
                                             const std::string& fileName, TLengthUnits units)
{
    TMachineReader reader(units);
    reader.SubroutineFolder = std::filesystem::absolute(fileName).parent_path();
    std::optional<std::string> failure;
    try {
        reader.Run(TLineList(std::move(bytes)));
    } catch (const std::exception& error) {
        failure = error.what();
    }
    const TMachineReading reading = reader.TakeResult();
    plot.Builder.SetPlan(std::make_shared<const TPathPlan>(
        TPathPlanner::Plan(reading.Motions, reading.Facts.Units)));
    return failure;
}

}  // namespace

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

    std::optional<std::string> failure;
    try {
        const TIniFile settings(SettingsFileName());
        TReadingSettings reading = ReadReadingSettings(settings);
        if (options.machine || options.lenient) {
            reading.MachinePath = options.machine;
            reading.Lenient = options.lenient;
        }
        std::string bytes = ReadFileBytes(options.input);
        TRenderPlot plot(options, ReadMotionColors(settings));
        failure = reading.MachinePath
                      ? RenderMachinePath(plot, std::move(bytes), options.input,
                                          reading.InchWhenNoUnits ? TLengthUnits::Inches
                                                                  : TLengthUnits::Millimetres)
                      : RenderTranscription(plot, std::move(bytes), reading.Lenient);
        plot.Write(options);
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
