// The notification-area icon on Windows, through Shell_NotifyIconA.
#pragma once

#include "platform/Controls.h"
#include "platform/Services.h"

#include <string>

#include <windows.h>

namespace durmivela::win32 {

// The icon's events go to a hidden top-level window of this class (a
// message-only window would miss the shell's "TaskbarCreated" broadcast) and
// reach the receiving picture box as mouse moves whose x is the mouse message
// (515 double click, 517 right button released), as they did when the icon's
// callback was the picture box's own WM_MOUSEMOVE. Create it on the thread
// that runs the message loop.
class Win32NotificationArea final : public NotificationArea {
public:
    // The icon's identifier within the hidden window.
    static constexpr UINT kIconId = 1;

    Win32NotificationArea();
    ~Win32NotificationArea() override;
    Win32NotificationArea(const Win32NotificationArea&) = delete;
    Win32NotificationArea& operator=(const Win32NotificationArea&) = delete;

    void setReceiver(PictureBox* receiver) { receiver_ = receiver; }
    // The shell's tray window is there, and it has not refused the last icon
    // (so after a refusal the window stays minimised on the taskbar).
    bool available() const override;
    bool add(const std::string& tooltip) override;
    void remove() override;
    // Whether the icon is in the notification area now.
    bool shown() const { return shown_; }
    // The window that receives the icon's callbacks.
    HWND window() const { return window_; }

private:
    static LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    bool notify(DWORD action);
    void bringWindowBack();

    HWND window_ = nullptr;
    PictureBox* receiver_ = nullptr;
    std::string tooltip_;
    bool shown_ = false;
    bool refused_ = false;
};

}  // namespace durmivela::win32
