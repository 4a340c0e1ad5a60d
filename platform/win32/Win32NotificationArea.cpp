#include "platform/win32/Win32NotificationArea.h"

#include "platform/win32/WinText.h"

#include <shellapi.h>

#include <algorithm>
#include <cstring>

namespace durmivela::win32 {
namespace {

constexpr wchar_t kWindowClass[] = L"DurmivelaNotificationArea";
// The icon's callbacks arrive as WM_MOUSEMOVE, with the mouse message in lParam.
constexpr UINT kCallbackMessage = WM_MOUSEMOVE;
constexpr LPARAM kDoubleClick = WM_LBUTTONDBLCLK;
// The record's first form, which every shell since Windows 95 understands:
// 88 bytes in a 32-bit program, 104 in a 64-bit one.
constexpr DWORD kRecordSize = NOTIFYICONDATAA_V1_SIZE;
static_assert(kRecordSize == (sizeof(void*) == 8 ? 104 : 88));

// Sent to every top-level window when Explorer (re)starts its taskbar.
UINT taskbarCreatedMessage() {
    static const UINT message = RegisterWindowMessageA("TaskbarCreated");
    return message;
}

// An elevated program must let Explorer's broadcast through (Vista and later;
// looked up at run time so the program still starts on older systems).
void allowTaskbarCreated(HWND window) {
    using Filter = BOOL(WINAPI*)(HWND, UINT, DWORD, void*);
    const HMODULE user32 = GetModuleHandleW(L"user32.dll");
    const auto filter =
        user32 ? reinterpret_cast<Filter>(reinterpret_cast<void*>(GetProcAddress(user32, "ChangeWindowMessageFilterEx")))
               : nullptr;
    if (filter) filter(window, taskbarCreatedMessage(), 1 /* MSGFLT_ALLOW */, nullptr);
}

}  // namespace

Win32NotificationArea::Win32NotificationArea() {
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = windowProcedure;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = kWindowClass;
    RegisterClassExW(&windowClass);  // fails harmlessly when already registered
    window_ = CreateWindowExW(WS_EX_TOOLWINDOW, kWindowClass, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, instance,
                              nullptr);
    if (!window_) return;
    SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    allowTaskbarCreated(window_);
}

Win32NotificationArea::~Win32NotificationArea() {
    if (!window_) return;
    if (shown_) notify(NIM_DELETE);
    SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
    DestroyWindow(window_);
}

bool Win32NotificationArea::available() const {
    return window_ && !refused_ && FindWindowA("Shell_TrayWnd", nullptr) != nullptr;
}

bool Win32NotificationArea::add(const std::string& tooltip) {
    tooltip_ = tooltip;
    // An icon the shell lost (Explorer restarted before its broadcast came) is added again.
    if (shown_ && notify(NIM_MODIFY)) return true;
    shown_ = notify(NIM_ADD);
    refused_ = !shown_;
    return shown_;
}

// A new taskbar that refuses the icon of a hidden window would leave the
// window out of reach: the icon's last act is the double click that restores it.
void Win32NotificationArea::bringWindowBack() {
    if (window_) PostMessageW(window_, kCallbackMessage, kIconId, kDoubleClick);
}

void Win32NotificationArea::remove() {
    if (!shown_) return;
    notify(NIM_DELETE);
    shown_ = false;
}

bool Win32NotificationArea::notify(DWORD action) {
    if (!window_) return false;
    NOTIFYICONDATAA data;
    std::memset(&data, 0, sizeof data);
    data.cbSize = kRecordSize;
    data.hWnd = window_;
    data.uID = kIconId;
    if (action != NIM_DELETE) {
        data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
        data.uCallbackMessage = kCallbackMessage;
        data.hIcon = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1));
        if (!data.hIcon) data.hIcon = LoadIconW(nullptr, MAKEINTRESOURCEW(32512));  // IDI_APPLICATION
        // The first form's tip holds 63 bytes and the terminating NUL.
        const std::string tip = ansi(tooltip_);
        std::memcpy(data.szTip, tip.data(), std::min<std::size_t>(tip.size(), 63));
    }
    return Shell_NotifyIconA(action, &data) != FALSE;
}

LRESULT CALLBACK Win32NotificationArea::windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<Win32NotificationArea*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self && message == kCallbackMessage) {
        if (self->receiver_) self->receiver_->mouseMove(0, 0, LOWORD(lParam), 0);
        return 0;
    }
    if (const UINT created = taskbarCreatedMessage(); self && created && message == created) {
        // A new taskbar: the old icon went with the old one, and the shell may
        // take icons again.
        self->refused_ = false;
        if (self->shown_ && !(self->shown_ = self->notify(NIM_ADD))) {
            self->refused_ = true;
            self->bringWindowBack();
        }
        // A window left minimised on the taskbar for want of one may now go to the tray.
        if (self->availabilityChanged) self->availabilityChanged(self->available());
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace durmivela::win32
