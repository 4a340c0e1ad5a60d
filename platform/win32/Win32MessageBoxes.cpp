#include "platform/win32/Win32MessageBoxes.h"

#include "platform/win32/WinText.h"

#include <windows.h>

namespace durmivela::win32 {

void Win32MessageBoxes::show(const std::string& text, const std::string& title, MessageIcon icon) {
    const UINT type = icon == MessageIcon::Information ? MB_ICONINFORMATION
                      : icon == MessageIcon::Warning   ? MB_ICONWARNING
                                                       : 0;
    // Its own message loop runs the thread's timers meanwhile.
    MessageBoxW(GetActiveWindow(), wide(text).c_str(), wide(title).c_str(), MB_OK | type | MB_SETFOREGROUND);
}

}  // namespace durmivela::win32
