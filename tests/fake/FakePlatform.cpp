#include "tests/fake/FakePlatform.h"

#include "capture/Captura.h"
#include "scheduler/RegistroApagado.h"

namespace durmivela::testing {

bool FakePower::requestForcedShutdown(std::string& reason) {
    calls.push_back("shutdown");
    const std::filesystem::path folder = program_.userFolder();
    found.push_back({std::filesystem::is_regular_file(folder / kArchivoLog),
                     std::filesystem::is_regular_file(folder / kArchivoCaptura)});
    if (refuse) reason = "Operation not permitted";
    return !refuse;
}

bool FakeScreen::capturePrimary(Image& image) {
    ++captures;
    if (!fail) image = Image{5, 3, std::vector<std::uint32_t>(15, 0x808080)};
    return !fail;
}

}  // namespace durmivela::testing
