#include "capture/Bitmap.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace durmivela {
namespace {

std::uint32_t u32(const std::string& b, std::size_t at) {
    return static_cast<std::uint32_t>(static_cast<unsigned char>(b[at]) |
                                      static_cast<unsigned char>(b[at + 1]) << 8 |
                                      static_cast<unsigned char>(b[at + 2]) << 16 |
                                      static_cast<unsigned char>(b[at + 3]) << 24);
}
std::uint16_t u16(const std::string& b, std::size_t at) {
    return static_cast<std::uint16_t>(static_cast<unsigned char>(b[at]) | static_cast<unsigned char>(b[at + 1]) << 8);
}

// Reads back the pixel at (x, y), y counted from the top.
std::uint32_t pixelAt(const std::string& file, int x, int y) {
    const auto width = static_cast<int>(u32(file, 18));
    const auto height = static_cast<int>(u32(file, 22));
    const int stride = (width * 3 + 3) / 4 * 4;
    const std::size_t at = u32(file, 10) + static_cast<std::size_t>((height - 1 - y) * stride + x * 3);
    return static_cast<std::uint32_t>(static_cast<unsigned char>(file[at]) |
                                      static_cast<unsigned char>(file[at + 1]) << 8 |
                                      static_cast<unsigned char>(file[at + 2]) << 16);
}

TEST(Bitmap, RoundTripsHeadersAndPixelsForEveryRowPadding) {
    for (int width : {1, 2, 3, 4, 5, 7}) {
        Image image;
        image.width = width;
        image.height = 3;
        for (int y = 0; y < image.height; ++y)
            for (int x = 0; x < width; ++x)
                image.pixels.push_back(static_cast<std::uint32_t>((x * 40 + 1) << 16 | (y * 70 + 2) << 8 | 3));
        const std::string file = bitmapBytes(image);
        const std::size_t stride = (static_cast<std::size_t>(width) * 3 + 3) / 4 * 4;
        ASSERT_EQ(file.size(), 54 + stride * 3) << width;
        EXPECT_EQ(file.substr(0, 2), "BM");
        EXPECT_EQ(u32(file, 2), file.size());
        EXPECT_EQ(u32(file, 10), 54u);
        EXPECT_EQ(u32(file, 14), 40u);
        EXPECT_EQ(u32(file, 18), static_cast<std::uint32_t>(width));
        EXPECT_EQ(u32(file, 22), 3u);
        EXPECT_EQ(u16(file, 26), 1);
        EXPECT_EQ(u16(file, 28), 24);
        EXPECT_EQ(u32(file, 30), 0u);
        EXPECT_EQ(u32(file, 34), stride * 3);
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < width; ++x)
                EXPECT_EQ(pixelAt(file, x, y), image.pixels[static_cast<std::size_t>(y * width + x)])
                    << width << " " << x << "," << y;
        // Padding bytes are zero.
        for (std::size_t pad = static_cast<std::size_t>(width) * 3; pad < stride; ++pad)
            EXPECT_EQ(file[54 + pad], '\0');
    }
}

TEST(Bitmap, AnImageWithMissingPixelsGivesAValidBlankFile) {
    Image image;
    image.width = 4;
    image.height = 2;
    const std::string file = bitmapBytes(image);
    EXPECT_EQ(file.size(), 54u + 12 * 2);
    EXPECT_EQ(pixelAt(file, 3, 1), 0u);
}

}  // namespace
}  // namespace durmivela
