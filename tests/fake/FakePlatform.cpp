#include "tests/fake/FakePlatform.h"

#include "platform/NumberText.h"

namespace durmivela::testing {

// The program's home format: H:mm:ss.
std::string FakeClock::longTimeFormat(const TimeOfDay& t) const {
    return std::to_string(t.hour) + ":" + twoDigits(t.minute) + ":" + twoDigits(t.second);
}

int FakePower::shutdowns() const {
    int count = 0;
    for (const auto& call : calls) count += call == "shutdown";
    return count;
}

bool FakeScreen::capturePrimary(Image& image) {
    ++captures;
    if (fail) return false;
    image.width = width;
    image.height = height;
    image.pixels.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.pixels[static_cast<std::size_t>(y * width + x)] =
                static_cast<std::uint32_t>((x * 40) << 16 | (y * 60) << 8 | (x + y));
    return true;
}

}  // namespace durmivela::testing
