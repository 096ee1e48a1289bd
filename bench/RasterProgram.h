#pragma once
// The raster program of bench/gen-program.py (short zig-zag cuts, arcs and lifts, as surfacing
// and engraving CAM writes), written once to a file under /tmp and read back as text.
// ZORVIT_SOURCE_DIR must name the source tree.

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>

namespace bench {

inline std::string RasterProgramText(int lineCount, const std::string& path)
{
    const std::string command = "python3 '" ZORVIT_SOURCE_DIR "/bench/gen-program.py' --raster " +
                                std::to_string(lineCount) + " " + path;
    if (std::system(command.c_str()) != 0)
        throw std::runtime_error("cannot write the raster program");
    std::ifstream file(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << file.rdbuf();
    return bytes.str();
}

}  // namespace bench
