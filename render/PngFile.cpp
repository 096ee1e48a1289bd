#include "render/PngFile.h"

#include <QImage>
#include <QFile>

namespace
{
constexpr int kBytesPerPixel = 3;
}

void WritePngFile(const std::string& path, int width, int height,
                  const std::vector<std::uint8_t>& rgb)
{
    const QImage image(rgb.data(), width, height, width * kBytesPerPixel, QImage::Format_RGB888);
    if (!image.save(QFile::decodeName(path.c_str()), "PNG"))
        throw EPngWriteError("Cannot write the image " + path);
}
