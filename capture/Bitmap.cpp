#include "capture/Bitmap.h"

#include <cstdint>
#include <cstring>

namespace durmivela {
namespace {

void put16(char*& out, std::uint16_t value) {
    *out++ = static_cast<char>(value & 0xFF);
    *out++ = static_cast<char>(value >> 8);
}

void put32(char*& out, std::uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8) *out++ = static_cast<char>((value >> shift) & 0xFF);
}

constexpr std::uint32_t kFileHeader = 14;
constexpr std::uint32_t kInfoHeader = 40;

}  // namespace

std::string bitmapBytes(const Image& image) {
    const auto width = static_cast<std::uint32_t>(image.width > 0 ? image.width : 0);
    const auto height = static_cast<std::uint32_t>(image.height > 0 ? image.height : 0);
    const std::uint32_t stride = (width * 3 + 3) & ~3u;
    const std::uint32_t pixelBytes = stride * height;
    const std::uint32_t offset = kFileHeader + kInfoHeader;
    std::string file(offset + pixelBytes, '\0');
    char* out = file.data();

    put16(out, 0x4D42);  // "BM"
    put32(out, offset + pixelBytes);
    put32(out, 0);
    put32(out, offset);

    put32(out, kInfoHeader);
    put32(out, width);
    put32(out, height);  // positive: rows run bottom-up
    put16(out, 1);       // planes
    put16(out, 24);      // bits per pixel
    put32(out, 0);       // BI_RGB, uncompressed
    put32(out, pixelBytes);
    put32(out, 3780);  // 96 dpi in pixels per metre
    put32(out, 3780);
    put32(out, 0);
    put32(out, 0);

    const bool complete = image.pixels.size() >= static_cast<std::size_t>(width) * height;
    for (std::uint32_t row = 0; row < height && complete; ++row) {
        const std::uint32_t* source = image.pixels.data() + static_cast<std::size_t>(height - 1 - row) * width;
        auto* target = reinterpret_cast<unsigned char*>(file.data()) + offset + static_cast<std::size_t>(row) * stride;
        for (std::uint32_t x = 0; x < width; ++x) {
            const std::uint32_t pixel = source[x];
            *target++ = static_cast<unsigned char>(pixel & 0xFF);
            *target++ = static_cast<unsigned char>((pixel >> 8) & 0xFF);
            *target++ = static_cast<unsigned char>((pixel >> 16) & 0xFF);
        }
    }
    return file;
}

}  // namespace durmivela
