#include "platform/win32/Win32Processes.h"

#include "platform/DurableFile.h"
#include "platform/win32/WinText.h"

#include <windows.h>

namespace durmivela::win32 {

StartResult Win32Processes::start(const ProcessStart& start) {
    const std::string application = ansi(utf8FromPath(start.program));
    // CreateProcessA may write into the command line.
    std::string commandLine = ansi(start.commandLine);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(application.c_str(), commandLine.empty() ? nullptr : commandLine.data(), nullptr, nullptr,
                        FALSE, 0, nullptr, nullptr, &startup, &process))
        return {0, systemErrorText(GetLastError())};
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return {static_cast<std::uint32_t>(process.dwProcessId), {}};
}

bool Win32Processes::waitForExit(std::uint32_t pid) {
    const HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, pid);
    if (!process) return false;
    const bool ended = WaitForSingleObject(process, INFINITE) == WAIT_OBJECT_0;
    CloseHandle(process);
    return ended;
}

std::filesystem::path Win32Processes::findOnPath(const std::string& name) const {
    if (name.empty() || name.find_first_of("/\\:") != std::string::npos) return {};
    // SearchPath's own order starts with the current folder; the folders are
    // given to it instead, the relative ones left out.
    std::wstring folders;
    const DWORD length = GetEnvironmentVariableW(L"PATH", nullptr, 0);
    std::wstring variable(length, L'\0');
    variable.resize(GetEnvironmentVariableW(L"PATH", variable.data(), length));
    std::size_t begin = 0;
    while (begin <= variable.size()) {
        const std::size_t end = std::min(variable.find(L';', begin), variable.size());
        const std::wstring folder = variable.substr(begin, end - begin);
        begin = end + 1;
        if (!std::filesystem::path(folder).is_absolute()) continue;
        folders += (folders.empty() ? L"" : L";") + folder;
    }
    if (folders.empty()) return {};
    const std::wstring file = wide(name);
    std::wstring found(MAX_PATH, L'\0');
    for (;;) {
        const DWORD size = SearchPathW(folders.c_str(), file.c_str(), L".exe", static_cast<DWORD>(found.size()),
                                       found.data(), nullptr);
        if (size == 0) return {};
        if (size < found.size()) {
            found.resize(size);
            break;
        }
        found.resize(size);  // too small: size is what it needs
    }
    const DWORD attributes = GetFileAttributesW(found.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) return {};
    return std::filesystem::path(found);
}

bool Win32Processes::makeExecutable(const std::filesystem::path&) { return true; }

}  // namespace durmivela::win32
