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

// Rows bottom-up, each pixel blue-green-red, each row padded to four bytes.
TEST(Bitmap, WritesTheHeadersAndPaddedRowsAndBlanksMissingPixels) {
    const std::string file = bitmapBytes(Image{2, 2, {0x010203, 0x040506, 0x070809, 0x0A0B0C}});
    ASSERT_EQ(file.size(), 54u + 16);
    // "BM", file size, pixel offset, header size, width, height, planes,
    // bits, no compression, pixel bytes.
    EXPECT_EQ(file.substr(0, 2), "BM");
    const std::uint32_t fields[][3] = {{2, 4, 70}, {10, 4, 54}, {14, 4, 40}, {18, 4, 2}, {22, 4, 2},
                                       {26, 2, 1}, {28, 2, 24}, {30, 4, 0},  {34, 4, 16}};
    for (const auto& [at, size, value] : fields) EXPECT_EQ(le(file, at, size), value) << at;
    EXPECT_EQ(file.substr(54), std::string("\x09\x08\x07\x0C\x0B\x0A\0\0\x03\x02\x01\x06\x05\x04\0\0", 16));
    // An image short of pixels gives a valid blank file, not a read past its end.
    const std::string blank = bitmapBytes(Image{4, 2, {}});
    EXPECT_EQ(le(blank, 34), 24u);
    EXPECT_EQ(blank.substr(54), std::string(24, '\0'));
}

// A Captura.bmp from an earlier shutdown must never pass for the screen of
// this one: when the screen cannot be read or the new file cannot be written,
// the old file goes (Windows removes no read-only file either, and says so).
TEST(Captura, ReplacesTheEarlierCaptureOrRemovesItWhenNoneCanBeSaved) {
    struct Row { bool screenFails, writeFails, ok; };
    for (const Row row : {Row{false, false, true}, Row{true, false, false}, Row{false, true, false}}) {
        testing::TempDir dir;
        dir.write(kArchivoCaptura, "an earlier shutdown's capture");
        if (row.writeFails) std::filesystem::permissions(dir.path() / kArchivoCaptura, std::filesystem::perms::owner_read);
        testing::FakeScreen screen;
        screen.fail = row.screenFails;
        const WriteResult result = GuardarCaptura(screen, dir.path());
        EXPECT_EQ(result.ok, row.ok) << row.screenFails << row.writeFails;
        EXPECT_EQ(result.reason.empty(), row.ok);
        EXPECT_EQ(std::filesystem::exists(dir.path() / kArchivoCaptura), row.ok || (testing::kWindows && row.writeFails));
        if (row.ok) {
            EXPECT_EQ(dir.read(kArchivoCaptura).substr(0, 2), "BM");
        }
    }
}

}  // namespace
}  // namespace durmivela
