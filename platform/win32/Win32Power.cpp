#include "platform/win32/Win32Power.h"

#include "platform/win32/WinText.h"

#include <windows.h>

namespace durmivela::win32 {

void Win32Power::enableShutdownRight() {
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token)) return;
    TOKEN_PRIVILEGES privileges{};
    if (LookupPrivilegeValueA("", "SeShutdownPrivilege", &privileges.Privileges[0].Luid)) {
        privileges.PrivilegeCount = 1;
        privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
        AdjustTokenPrivileges(token, FALSE, &privileges, 0, nullptr, nullptr);
    }
    CloseHandle(token);
}

bool Win32Power::requestForcedShutdown(std::string& reason) {
    if (ExitWindowsEx(EWX_SHUTDOWN | EWX_FORCE, 0)) return true;
    reason = systemErrorText(GetLastError());
    return false;
}

}  // namespace durmivela::win32
