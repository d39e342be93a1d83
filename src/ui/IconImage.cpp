#include "ui/IconData.h"

#include <QImage>

#include <cstdint>

namespace quillmarsh {

namespace {
std::uint32_t Read32(const unsigned char* p)
{
    return p[0] | p[1] << 8 | p[2] << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}
std::uint16_t Read16(const unsigned char* p) { return static_cast<std::uint16_t>(p[0] | p[1] << 8); }
} // namespace

QImage ImageFromIconFile(const unsigned char* data, std::size_t size)
{
    if (!data || size < 22 || Read16(data) != 0 || Read16(data + 2) != 1 || Read16(data + 4) < 1)
        return {};
    const unsigned char* entry = data + 6;
    const int width = entry[0] ? entry[0] : 256;
    const int height = entry[1] ? entry[1] : 256;
    const std::uint32_t bytes = Read32(entry + 8);
    const std::uint32_t offset = Read32(entry + 12);
    if (offset > size || bytes > size - offset || bytes < 40)
        return {};
    const unsigned char* bmp = data + offset;
    if (Read32(bmp) != 40 || Read16(bmp + 14) != 32 || static_cast<int>(Read32(bmp + 4)) != width)
        return {};
    const std::size_t pixelBytes = static_cast<std::size_t>(width) * height * 4;
    if (bytes < 40 + pixelBytes)
        return {};
    QImage image(width, height, QImage::Format_ARGB32);
    const unsigned char* pixels = bmp + 40;
    for (int y = 0; y < height; ++y) {
        const unsigned char* row = pixels + static_cast<std::size_t>(height - 1 - y) * width * 4; // bottom-up
        auto* out = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x)
            out[x] = qRgba(row[4 * x + 2], row[4 * x + 1], row[4 * x], row[4 * x + 3]);
    }
    return image;
}

} // namespace quillmarsh
