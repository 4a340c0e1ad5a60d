#include "tests/util/TestFolder.h"

#include <algorithm>

#ifdef _WIN32
#include <windows.h>
#endif

namespace durmivela::testing {

std::filesystem::path testProgramFolder() {
#ifdef _WIN32
    wchar_t path[32768];
    const DWORD length = GetModuleFileNameW(nullptr, path, static_cast<DWORD>(std::size(path)));
    return std::filesystem::path(std::wstring(path, length)).parent_path();
#else
    return std::filesystem::read_symlink("/proc/self/exe").parent_path();
#endif
}

std::vector<std::string> shippedLanguages() {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(testProgramFolder() / "Leng")) {
        const std::u8string stem = entry.path().stem().u8string();
        if (entry.path().extension() == ".lng") names.emplace_back(stem.begin(), stem.end());
    }
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace durmivela::testing
