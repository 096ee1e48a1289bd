#include "render/RenderOptions.h"

#include <array>
#include <charconv>
#include <optional>
#include <string_view>
#include <utility>

namespace
{

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

TStandardView ParseView(const std::string& text)
{
    for (const auto& [name, view] : kViewNames)
        if (text == name)
            return view;
    throw ERenderUsage("the view must be top, front, right or iso, not \"" + text + "\"");
}

} // namespace

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
    return options;
}

std::string RenderUsage()
{
    return "Usage: zorvit-render FILE -o OUT.png [--size N] [--view top|front|right|iso]\n"
           "Draws the tool path of the G-code program FILE into a PNG image of N x N pixels\n"
           "(256 when not given), fitted to the image, in the user's motion colours.\n"
           "\n"
           "  -o, --output OUT.png  the image to write\n"
           "  -s, --size N          the image's width and height, 1 to 4096 pixels\n"
           "      --view VIEW       top (the default), front, right or iso\n"
           "  -h, --help            print this text and exit\n"
           "  -v, --version         print the version and exit\n"
           "\n"
           "Exit status: 0 the image was written; 1 the program stops at an error (the image\n"
           "shows the moves before it); 2 the file cannot be read, the image cannot be written,\n"
           "no offscreen OpenGL context, or wrong arguments.\n";
}
