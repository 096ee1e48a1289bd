#pragma once
// Writing a picture as a PNG file.

#include "common/Error.h"

#include <cstdint>
#include <string>
#include <vector>

class EPngWriteError : public EZorvitError
{
public:
    using EZorvitError::EZorvitError;
};

// rgb: 8-bit RGB, three bytes a pixel, the top row first. Throws EPngWriteError naming the file
// when it cannot be written.
void WritePngFile(const std::string& path, int width, int height,
                  const std::vector<std::uint8_t>& rgb);
