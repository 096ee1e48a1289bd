// zorvit-render FILE -o OUT.png [--size N] [--view top|front|right|iso] [--machine | --lenient]
// [--max-seconds S] [--max-memory MB]:
// draws the plot of a G-code program into a PNG image with the window's view logic and paint
// sequence, fitted to the image, in the user's motion colours, read as the window reads it (the
// user's settings name the reading unless an option does). It needs no display: the drawing goes to
// an offscreen OpenGL context. Within a budget of time and memory, a program past it is read only
// as far as the budget allows. Exit status: 0 with the image; 1 when the program stops at an
// error or runs past the budget (the image shows the moves before, the message goes to stderr); 2
// when the file cannot be read, the image cannot be written, there is no offscreen context or the
// arguments are wrong.

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
#include "render/RenderBudget.h"
#include "render/RenderOptions.h"
#include "settings/IniFile.h"
#include "settings/ReadingSettings.h"
#include "settings/Settings.h"

#include <algorithm>
#include <atomic>
#include <cstdint>
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
std::optional<std::string> RenderTranscription(TRenderPlot& plot, std::string bytes, bool lenient,
                                               const std::atomic<bool>& cancel,
                                               const std::string& lateMessage)
{
    TGCodeEngine engine;
    engine.SetLenient(lenient);
    engine.OnProgress = [&cancel, &lateMessage](std::size_t, std::size_t) {
        if (cancel)
            throw ERenderBudget(lateMessage);
    };
    std::optional<std::string> failure;
    try {
        engine.RunText(bytes);
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
                                             const std::string& fileName, TLengthUnits units,
                                             std::size_t maxMotions, std::atomic<bool>& cancel,
                                             const std::string& lateMessage)
{
    TMachineReader reader(units);
    reader.SubroutineFolder = std::filesystem::absolute(fileName).parent_path();
    reader.MotionLimit = std::min(reader.MotionLimit, maxMotions);
    reader.Cancel = &cancel;
    std::optional<std::string> failure;
    try {
        reader.Run(TLineList(std::move(bytes)));
    } catch (const EMachineCancelled&) {
        failure = lateMessage;
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

    // The memory budget bounds what is read; the time budget cancels the reading and, last, ends
    // the process if drawing what was read takes too long.
    LimitDataSegment(options.maxMemoryMB);
    const TReadBounds bounds = BoundsForMemory(options.maxMemoryMB);
    std::atomic<bool> cancel = false;
    const std::string lateMessage = TimeBudgetMessage(options.maxSeconds);
    std::optional<TRenderDeadline> deadline;
    if (options.maxSeconds > 0)
        deadline.emplace(options.maxSeconds, cancel, "zorvit-render: " + lateMessage,
                         kExitRunFailed);

    std::optional<std::string> failure;
    bool cut = false;
    try {
        const TIniFile settings(SettingsFileName());
        TReadingSettings reading = ReadReadingSettings(settings);
        if (options.machine || options.lenient) {
            reading.MachinePath = options.machine;
            reading.Lenient = options.lenient;
        }
        // One byte past the bound tells a file that is longer.
        std::string bytes = ReadFileBytes(options.input, TFileKind::Any,
                                          bounds.MaxBytes + (bounds.MaxBytes < SIZE_MAX));
        cut = CutToBounds(bytes, bounds);
        TRenderPlot plot(options, ReadMotionColors(settings));
        failure =
            reading.MachinePath
                ? RenderMachinePath(plot, std::move(bytes), options.input,
                                    reading.InchWhenNoUnits ? TLengthUnits::Inches
                                                            : TLengthUnits::Millimetres,
                                    bounds.MaxMotions, cancel, lateMessage)
                : RenderTranscription(plot, std::move(bytes), reading.Lenient, cancel, lateMessage);
        plot.Write(options);
    } catch (const std::exception& error) {
        Complain(error.what());
        return kExitNoImage;
    }
    if (cut)
        Complain(MemoryBudgetMessage(options.maxMemoryMB));
    if (failure)
        std::fprintf(stderr, "%s\n", failure->c_str());
    if (cut || failure)
        return kExitRunFailed;
    return 0;
}
