#include "platform/win32/WinText.h"

#include <windows.h>

namespace durmivela::win32 {
namespace {

std::wstring toWide(const std::string& text, UINT codePage) {
    if (text.empty()) return {};
    const int size = MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring result(static_cast<std::size_t>(size), L'\0');
    MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), result.data(), size);
    return result;
}

std::string fromWide(const std::wstring& text, UINT codePage) {
    if (text.empty()) return {};
    const int size =
        WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string result(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), result.data(), size, nullptr,
                        nullptr);
    return result;
}

class WindowsCategory final : public std::error_category {
public:
    const char* name() const noexcept override { return "windows"; }
    std::string message(int code) const override { return systemErrorText(static_cast<unsigned long>(code)); }
};

}  // namespace

std::wstring wide(const std::string& utf8) { return toWide(utf8, CP_UTF8); }
std::string utf8(const std::wstring& text) { return fromWide(text, CP_UTF8); }
std::string ansi(const std::string& utf8) { return fromWide(wide(utf8), CP_ACP); }
std::string utf8FromAnsi(const std::string& text) { return utf8(toWide(text, CP_ACP)); }

std::string systemErrorText(unsigned long code) {
    char* buffer = nullptr;
    const DWORD length =
        FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                       nullptr, code, 0, reinterpret_cast<char*>(&buffer), 0, nullptr);
    std::string text = length ? std::string(buffer, length) : std::string();
    if (buffer) LocalFree(buffer);
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' ')) text.pop_back();
    if (text.empty()) return "error " + std::to_string(code);
    return utf8FromAnsi(text);
}

const std::error_category& windowsCategory() {
    static const WindowsCategory category;
    return category;
}

}  // namespace durmivela::win32
