// The updater the Windows update tests serve: after a pause that an update
// which does not wait would miss, it writes to argv.txt beside itself its own
// name, which the tests append to the program after a last '#', and the
// arguments it was given, each in brackets.
#include <windows.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

int main(int argc, char** argv) {
    Sleep(300);
    wchar_t self[MAX_PATH];
    const DWORD length = GetModuleFileNameW(nullptr, self, MAX_PATH);
    const std::filesystem::path path{std::wstring(self, length)};
    std::ifstream in(path, std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    std::string line = bytes.substr(bytes.rfind('#') + 1);
    for (int i = 1; i < argc; ++i) line += std::string(" [") + argv[i] + "]";
    std::ofstream(path.parent_path() / "argv.txt", std::ios::binary) << line;
}
