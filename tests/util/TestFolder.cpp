#include "tests/util/TestFolder.h"

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

}  // namespace durmivela::testing
