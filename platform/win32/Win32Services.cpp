#include "platform/win32/Win32Services.h"

#include "platform/Cp1252.h"
#include "platform/win32/WinText.h"

#include <windows.h>
#include <shellapi.h>
#include <shlwapi.h>

namespace durmivela::win32 {
namespace {

// The module's full path; long paths need more than MAX_PATH.
std::wstring modulePath() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) return {};
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

}  // namespace

TimeOfDay Win32Clock::timeOfDay() const {
    SYSTEMTIME now;
    GetLocalTime(&now);
    return {now.wHour, now.wMinute, now.wSecond};
}

std::string Win32Clock::longTimeFormat(const TimeOfDay& time) const {
    SYSTEMTIME when{};
    when.wHour = static_cast<WORD>(time.hour);
    when.wMinute = static_cast<WORD>(time.minute);
    when.wSecond = static_cast<WORD>(time.second);
    char text[128];
    const int length = GetTimeFormatA(LOCALE_USER_DEFAULT, 0, &when, nullptr, text, sizeof text);
    if (length <= 0) return {};
    return utf8FromAnsi(std::string(text, static_cast<std::size_t>(length - 1)));
}

std::int64_t Win32Clock::monotonicMs() const {
    LARGE_INTEGER frequency, counter;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&counter);
    // Split so counter * 1000 cannot overflow on a long-running machine.
    const std::int64_t f = frequency.QuadPart, c = counter.QuadPart;
    return c / f * 1000 + c % f * 1000 / f;
}

std::filesystem::path Win32ProgramInfo::folder() const {
    return std::filesystem::path(modulePath()).parent_path();
}

std::string Win32ProgramInfo::executableName() const {
    return utf8(std::filesystem::path(modulePath()).stem().wstring());
}

std::string Win32ProgramInfo::executableFileName() const {
    return utf8(std::filesystem::path(modulePath()).filename().wstring());
}

std::uint32_t Win32ProgramInfo::processId() const { return GetCurrentProcessId(); }

void Win32Shell::open(const std::string& target) {
    ShellExecuteA(nullptr, "open", ansi(target).c_str(), "", "", SW_SHOW);
}

bool Win32Shell::hasApplicationFor(const std::filesystem::path& file) const {
    const std::wstring extension = file.extension().wstring();
    if (extension.empty()) return false;
    // No buffer: only whether there is a command, not the command itself.
    DWORD length = 0;
    const HRESULT found = AssocQueryStringW(ASSOCF_INIT_IGNOREUNKNOWN, ASSOCSTR_COMMAND, extension.c_str(), L"open",
                                            nullptr, &length);
    return found == S_OK || found == S_FALSE;
}

// RtlGetVersion tells the truth; GetVersionExA tells a program without a
// supportedOS list in its manifest that every system from Windows 8 on is 6.2.
bool Win32SystemInfo::versionNumbers(OsVersionNumbers& numbers) const {
    using RtlGetVersionFn = LONG(WINAPI*)(RTL_OSVERSIONINFOW*);
    const auto rtlGetVersion = reinterpret_cast<RtlGetVersionFn>(
        reinterpret_cast<void (*)()>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "RtlGetVersion")));
    RTL_OSVERSIONINFOW real{};
    real.dwOSVersionInfoSize = sizeof real;
    if (rtlGetVersion && rtlGetVersion(&real) == 0) {
        numbers = {real.dwMajorVersion, real.dwMinorVersion, real.dwPlatformId, real.dwBuildNumber};
        return true;
    }
    OSVERSIONINFOA info{};
    static_assert(sizeof info == 148);
    info.dwOSVersionInfoSize = sizeof info;
    if (!GetVersionExA(&info)) return false;
    numbers = {info.dwMajorVersion, info.dwMinorVersion, info.dwPlatformId, info.dwBuildNumber};
    return true;
}

bool Win32SystemInfo::registryValue(std::uint32_t root, const std::string& key, const std::string& name,
                                    RegistryValue& value) const {
    // Sign-extended, as the SDK spells HKEY_LOCAL_MACHINE on 64-bit Windows.
    const HKEY rootKey = reinterpret_cast<HKEY>(static_cast<LONG_PTR>(static_cast<LONG>(root)));
    const std::string keyName = ansi(key);
    HKEY opened = nullptr;
    LONG status = RegOpenKeyExA(rootKey, keyName.c_str(), 0, 0x2003F, &opened);
    // A standard user may not open HKEY_LOCAL_MACHINE for writing, and a 64-bit
    // program gets no registry virtualisation to hide that; reading is enough.
    if (status == ERROR_ACCESS_DENIED) status = RegOpenKeyExA(rootKey, keyName.c_str(), 0, KEY_READ, &opened);
    if (status != ERROR_SUCCESS) return false;
    char buffer[1024];
    DWORD type = 0, size = sizeof buffer;
    status = RegQueryValueExA(opened, ansi(name).c_str(), nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size);
    RegCloseKey(opened);
    if (status != ERROR_SUCCESS) return false;
    value.type = type;
    value.bytes.assign(buffer, size);
    if (type == REG_SZ) {
        while (!value.bytes.empty() && value.bytes.back() == '\0') value.bytes.pop_back();
        if (GetACP() != 1252) value.bytes = utf8ToCp1252(utf8FromAnsi(value.bytes));
    }
    return true;
}

bool Win32FileAttributes::hiddenOrSystem(const std::filesystem::path& path) const {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM));
}

}  // namespace durmivela::win32
