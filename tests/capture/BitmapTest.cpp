#include "capture/Bitmap.h"
#include "capture/Captura.h"
#include "tests/fake/FakePlatform.h"
#include "tests/util/TempDir.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace durmivela {
namespace {

// The little-endian number of `size` bytes at `at`.
std::uint32_t le(const std::string& b, std::size_t at, std::size_t size = 4) {
    std::uint32_t value = 0;
    for (std::size_t i = size; i-- > 0;) value = value << 8 | static_cast<unsigned char>(b[at + i]);
    return value;
}

// The pixel at (x, y), y counted from the top.
std::uint32_t pixelAt(const std::string& file, std::size_t x, std::size_t y) {
    const std::size_t stride = (le(file, 18) * 3 + 3) / 4 * 4;
    return le(file, le(file, 10) + (le(file, 22) - 1 - y) * stride + x * 3, 3);
}

TEST(Bitmap, RoundTripsHeadersAndPixelsForEveryRowPaddingAndBlanksMissingPixels) {
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
        // "BM", file size, pixel offset, header size, width, height, planes,
        // bits, no compression, pixel bytes.
        EXPECT_EQ(file.substr(0, 2), "BM");
        const std::uint32_t fields[][3] = {{2, 4, static_cast<std::uint32_t>(file.size())}, {10, 4, 54}, {14, 4, 40},
                                           {18, 4, static_cast<std::uint32_t>(width)}, {22, 4, 3}, {26, 2, 1},
                                           {28, 2, 24}, {30, 4, 0}, {34, 4, static_cast<std::uint32_t>(stride * 3)}};
        for (const auto& [at, size, value] : fields) EXPECT_EQ(le(file, at, size), value) << width << " @" << at;
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < width; ++x)
                EXPECT_EQ(pixelAt(file, x, y), image.pixels[static_cast<std::size_t>(y * width + x)])
                    << width << " " << x << "," << y;
        // Padding bytes are zero.
        for (std::size_t pad = static_cast<std::size_t>(width) * 3; pad < stride; ++pad)
            EXPECT_EQ(file[54 + pad], '\0');
    }
    // An image short of pixels gives a valid blank file, not a read past its end.
    const std::string blank = bitmapBytes(Image{4, 2, {}});
    EXPECT_EQ(blank.size(), 54u + 12 * 2);
    EXPECT_EQ(pixelAt(blank, 3, 1), 0u);
}

// A Captura.bmp from an earlier shutdown must never pass for the screen of
// this one: when the screen cannot be read or the new file cannot be written,
// the old file goes.
TEST(Captura, ReplacesTheEarlierCaptureOrRemovesItWhenNoneCanBeSaved) {
    struct Row { bool screenFails, writeFails, ok; };
#ifdef _WIN32
    constexpr bool kWindows = true;
#else
    constexpr bool kWindows = false;
#endif
    for (const Row row : {Row{false, false, true}, Row{true, false, false}, Row{false, true, false}}) {
        testing::TempDir dir;
        dir.write(kArchivoCaptura, "an earlier shutdown's capture");
        if (row.writeFails) std::filesystem::permissions(dir.path() / kArchivoCaptura, std::filesystem::perms::owner_read);
        testing::FakeScreen screen;
        screen.fail = row.screenFails;
        const WriteResult result = GuardarCaptura(screen, dir.path());
        EXPECT_EQ(result.ok, row.ok) << row.screenFails << row.writeFails;
        EXPECT_EQ(result.reason.empty(), row.ok);
        // Windows removes no read-only file either, and the reason says so.
        EXPECT_EQ(std::filesystem::exists(dir.path() / kArchivoCaptura), row.ok || (kWindows && row.writeFails));
        if (row.ok) {
            EXPECT_EQ(dir.read(kArchivoCaptura), bitmapBytes(Image{5, 3, std::vector<std::uint32_t>(15, 0x808080)}));
        }
    }
}

}  // namespace
}  // namespace durmivela
