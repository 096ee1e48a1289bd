#include "render/RenderOptions.h"

#include <array>
#include <charconv>
#include <optional>
#include <string_view>
#include <utility>

namespace {

// A week, and a terabyte: far past any render, short of overflowing the clock or a size.
constexpr double kMaxSeconds = 7 * 24 * 3600;
constexpr std::size_t kMaxMegabytes = std::size_t{1} << 20;

constexpr std::array<std::pair<std::string_view, TStandardView>, 4> kViewNames{{
    {"top", TStandardView::Top},
    {"front", TStandardView::Front},
    {"right", TStandardView::Right},
    {"iso", TStandardView::Isometric},
}};

int ParseSize(const std::string& text)
{
    int size = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), size);
    if (error != std::errc() || end != text.data() + text.size() || size < 1 ||
        size > TRenderOptions::kMaxSize)
        throw ERenderUsage("the size must be a whole number from 1 to " +
                           std::to_string(TRenderOptions::kMaxSize) + ", not \"" + text + "\"");
    return size;
}

double ParseSeconds(const std::string& text)
{
    double seconds = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), seconds);
    if (error != std::errc() || end != text.data() + text.size() || !(seconds > 0) ||
        seconds > kMaxSeconds)
        throw ERenderUsage("--max-seconds must be a number of seconds above 0, not \"" + text +
                           "\"");
    return seconds;
}

std::size_t ParseMegabytes(const std::string& text)
{
    std::size_t megabytes = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), megabytes);
    if (error != std::errc() || end != text.data() + text.size() || megabytes < 1 ||
        megabytes > kMaxMegabytes)
        throw ERenderUsage("--max-memory must be a whole number of megabytes from 1 to " +
                           std::to_string(kMaxMegabytes) + ", not \"" + text + "\"");
    return megabytes;
}

TStandardView ParseView(const std::string& text)
{
    for (const auto& [name, view] : kViewNames)
        if (text == name)
            return view;
    throw ERenderUsage("the view must be top, front, right or iso, not \"" + text + "\"");
}

}  // namespace

TRenderOptions ParseRenderOptions(const std::vector<std::string>& arguments)
{
    TRenderOptions options;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        // "--size=N" and "--size N" alike.
        std::string name = argument;
        std::optional<std::string> value;
        if (argument.starts_with("--") && argument.find('=') != std::string::npos) {
            name = argument.substr(0, argument.find('='));
            value = argument.substr(argument.find('=') + 1);
        }
        const auto takeValue = [&]() -> std::string {
            if (value)
                return *value;
            if (i + 1 >= arguments.size())
                throw ERenderUsage(name + " needs a value");
            return arguments[++i];
        };

        if (name == "-h" || name == "--help")
            options.help = true;
        else if (name == "-v" || name == "--version")
            options.version = true;
        else if (name == "-o" || name == "--output")
            options.output = takeValue();
        else if (name == "-s" || name == "--size")
            options.size = ParseSize(takeValue());
        else if (name == "--view")
            options.view = ParseView(takeValue());
        else if (name == "--machine")
            options.machine = true;
        else if (name == "--lenient")
            options.lenient = true;
        else if (name == "--max-seconds")
            options.maxSeconds = ParseSeconds(takeValue());
        else if (name == "--max-memory")
            options.maxMemoryMB = ParseMegabytes(takeValue());
        else if (argument.size() > 1 && argument.front() == '-')
            throw ERenderUsage("unknown option " + argument);
        else if (options.input.empty())
            options.input = argument;
        else
            throw ERenderUsage("one FILE only, not also \"" + argument + "\"");
    }
    if (options.help || options.version)
        return options;
    if (options.input.empty())
        throw ERenderUsage("no G-code FILE named");
    if (options.output.empty())
        throw ERenderUsage("no image named with -o");
    if (options.machine && options.lenient)
        throw ERenderUsage("--machine and --lenient are two readings; name one");
    return options;
}

std::string RenderUsage()
{
    return "Usage: zorvit-render FILE -o OUT.png [--size N] [--view top|front|right|iso]\n"
           "                    [--machine | --lenient] [--max-seconds S] [--max-memory MB]\n"
           "Draws the tool path of the G-code program FILE into a PNG image of N x N pixels\n"
           "(256 when not given), fitted to the image, in the user's motion colours, read as\n"
           "the user's settings name (the machine path, lenient or strict transcription).\n"
           "\n"
           "  -o, --output OUT.png  the image to write\n"
           "  -s, --size N          the image's width and height, 1 to 4096 pixels\n"
           "      --view VIEW       top (the default), front, right or iso\n"
           "      --machine         draw the machine path: true arcs, units, offsets, cycles\n"
           "      --lenient         draw the transcription, read leniently\n"
           "      --max-seconds S   end within S seconds: the reading stops in time to draw\n"
           "                        what was read (no limit when not given)\n"
           "      --max-memory MB   use at most MB megabytes: a larger program is read only\n"
           "                        as far as they allow (no limit when not given)\n"
           "  -h, --help            print this text and exit\n"
           "  -v, --version         print the version and exit\n"
           "\n"
           "Exit status: 0 the image was written; 1 the program stops at an error or runs past\n"
           "the budget (the image shows the moves before); 2 the file cannot be read, the\n"
           "image cannot be written, no offscreen OpenGL context, or wrong arguments.\n";
}
