#pragma once
// The command line of zorvit-render: FILE -o OUT.png [--size N] [--view top|front|right|iso],
// or --help, or --version.

#include "common/Error.h"
#include "plot/StandardViews.h"

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
    int size = kDefaultSize;   // the image's width and height in pixels
    TStandardView view = TStandardView::Top;
    bool help = false;
    bool version = false;
};

// The arguments after the program's name. Throws ERenderUsage saying what is wrong: an unknown
// option, a missing value, a size out of 1..kMaxSize, an unknown view, no FILE or no -o, or a
// second FILE. With --help or --version nothing else is required.
TRenderOptions ParseRenderOptions(const std::vector<std::string>& arguments);

// The usage text that --help prints.
std::string RenderUsage();
