#include "render/PngFile.h"

#include <zlib.h>

#include <array>
#include <cstdio>
#include <memory>

namespace {

constexpr int kBytesPerPixel = 3;
// PNG colour type 2: truecolour, 8 bits a sample; every row starts with filter type 0 (none).
constexpr std::uint8_t kBitDepth = 8;
constexpr std::uint8_t kColourTypeRgb = 2;
constexpr std::uint8_t kFilterNone = 0;

void AppendBigEndian(std::vector<std::uint8_t>& out, std::uint32_t value)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<std::uint8_t>(value >> shift));
}

// One chunk: length, type, data and the CRC of type and data.
void AppendChunk(std::vector<std::uint8_t>& out, const char (&type)[5],
                 const std::vector<std::uint8_t>& data)
{
    AppendBigEndian(out, static_cast<std::uint32_t>(data.size()));
    const std::size_t typeAt = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    const uLong crc = crc32(0L, out.data() + typeAt, static_cast<uInt>(out.size() - typeAt));
    AppendBigEndian(out, static_cast<std::uint32_t>(crc));
}

std::vector<std::uint8_t> EncodePng(int width, int height, const std::vector<std::uint8_t>& rgb)
{
    const std::size_t rowBytes = static_cast<std::size_t>(width) * kBytesPerPixel;
    std::vector<std::uint8_t> raw;
    raw.reserve((rowBytes + 1) * static_cast<std::size_t>(height));
    for (int y = 0; y < height; ++y) {
        raw.push_back(kFilterNone);
        const auto row = rgb.begin() + static_cast<std::ptrdiff_t>(rowBytes * y);
        raw.insert(raw.end(), row, row + static_cast<std::ptrdiff_t>(rowBytes));
    }
    uLongf packedSize = compressBound(static_cast<uLong>(raw.size()));
    std::vector<std::uint8_t> packed(packedSize);
    if (compress2(packed.data(), &packedSize, raw.data(), static_cast<uLong>(raw.size()),
                  Z_DEFAULT_COMPRESSION) != Z_OK)
        return {};
    packed.resize(packedSize);

    std::vector<std::uint8_t> header;
    AppendBigEndian(header, static_cast<std::uint32_t>(width));
    AppendBigEndian(header, static_cast<std::uint32_t>(height));
    header.insert(header.end(), {kBitDepth, kColourTypeRgb, 0, 0, 0});

    static constexpr std::array<std::uint8_t, 8> kSignature{0x89, 'P',  'N',  'G',
                                                            '\r', '\n', 0x1A, '\n'};
    std::vector<std::uint8_t> png(kSignature.begin(), kSignature.end());
    AppendChunk(png, "IHDR", header);
    AppendChunk(png, "IDAT", packed);
    AppendChunk(png, "IEND", {});
    return png;
}

}  // namespace

void WritePngFile(const std::string& path, int width, int height,
                  const std::vector<std::uint8_t>& rgb)
{
    const std::vector<std::uint8_t> png = EncodePng(width, height, rgb);
    const std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "wb"),
                                                               &std::fclose);
    bool written =
        !png.empty() && file && std::fwrite(png.data(), 1, png.size(), file.get()) == png.size();
    if (file)
        written = std::fflush(file.get()) == 0 && written;
    if (!written)
        throw EPngWriteError("Cannot write the image " + path);
}
