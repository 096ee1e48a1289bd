#pragma once
// The command line of zorvit-render: FILE -o OUT.png [--size N] [--view top|front|right|iso]
// [--machine | --lenient] [--max-seconds S] [--max-memory MB], or --help, or --version.

#include "common/Error.h"
#include "plot/StandardViews.h"

#include <cstddef>
#include <string>
#include <vector>

class ERenderUsage : public EZorvitError
{
public:
    using EZorvitError::EZorvitError;
};

struct TRenderOptions
{
    static constexpr int kDefaultSize = 256;
    static constexpr int kMaxSize = 4096;

    std::string input;
    std::string output;
    int size = kDefaultSize;  // the image's width and height in pixels
    TStandardView view = TStandardView::Top;
    // The reading: the machine path, or the lenient transcription; with neither, the reading
    // the user's settings file names.
    bool machine = false;
    bool lenient = false;
    // The budget of the render: wall-clock seconds and megabytes of memory; 0 for no limit.
    double maxSeconds = 0;
    std::size_t maxMemoryMB = 0;
    bool help = false;
    bool version = false;
};

// The arguments after the program's name. Throws ERenderUsage saying what is wrong: an unknown
// option, a missing value, a size out of 1..kMaxSize, an unknown view, no FILE or no -o, a
// second FILE, both --machine and --lenient, or a budget that is not a positive number. With --help
// or --version nothing else is required.
TRenderOptions ParseRenderOptions(const std::vector<std::string>& arguments);

// The usage text that --help prints.
std::string RenderUsage();
