#include "platform/win32/Win32NotificationArea.h"
#include "platform/win32/Win32Power.h"
#include "platform/win32/Win32Screen.h"
#include "platform/win32/Win32Services.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <shellapi.h>

#include <vector>

namespace durmivela::win32 {
namespace {

void pumpMessages(int rounds = 5) {
    for (int i = 0; i < rounds; ++i) {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
        Sleep(20);
    }
}

TEST(Win32Services, ClockTextAndTheShellsViewers) {
    const std::string text = Win32Clock().longTimeFormat({21, 5, 3});
    EXPECT_NE(text.find("05:03"), std::string::npos) << text;
    EXPECT_TRUE(text.starts_with("9") || text.starts_with("21")) << text;

    // The help's type has Windows' own viewer, found by extension alone.
    const Win32Shell shell;
    EXPECT_TRUE(shell.hasApplicationFor("C:\\Durmivela\\Durmivela.chm"));
    EXPECT_FALSE(shell.hasApplicationFor("C:\\Durmivela\\help.durmivela-unknown"));
}

TEST(Win32Services, ShutdownRightIsEnabledInTheToken) {
    HANDLE token = nullptr;
    ASSERT_TRUE(OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token));
    PRIVILEGE_SET wanted{};
    wanted.PrivilegeCount = 1;
    wanted.Control = PRIVILEGE_SET_ALL_NECESSARY;
    LookupPrivilegeValueA(nullptr, "SeShutdownPrivilege", &wanted.Privilege[0].Luid);
    BOOL enabled = TRUE;
    PrivilegeCheck(token, &wanted, &enabled);
    EXPECT_FALSE(enabled) << "enabled before the call: this check proves nothing";
    Win32Power().enableShutdownRight();
    PrivilegeCheck(token, &wanted, &enabled);
    EXPECT_TRUE(enabled);
    CloseHandle(token);
}

// A solid block of known colour in the top-left corner, away from the bottom,
// so a swapped colour order or upside-down rows show.
TEST(Win32Services, ScreenCaptureReadsWhatIsShown) {
    constexpr COLORREF kColour = RGB(0x12, 0x34, 0x56);
    const HBRUSH brush = CreateSolidBrush(kColour);
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hbrBackground = brush;
    windowClass.lpszClassName = L"DurmivelaCaptureTest";
    RegisterClassW(&windowClass);
    const HWND block = CreateWindowExW(WS_EX_TOPMOST, windowClass.lpszClassName, L"", WS_POPUP | WS_VISIBLE, 0, 0,
                                       200, 100, nullptr, nullptr, windowClass.hInstance, nullptr);
    ASSERT_TRUE(block);
    UpdateWindow(block);
    pumpMessages();

    Win32Screen screen;
    Image image;
    ASSERT_TRUE(screen.capturePrimary(image));
    ASSERT_EQ(image.pixels.size(), static_cast<std::size_t>(image.width) * static_cast<std::size_t>(image.height));
    const auto at = [&](int x, int y) { return image.pixels[static_cast<std::size_t>(y * image.width + x)] & 0xFFFFFF; };
    EXPECT_EQ(at(10, 10), 0x123456u);
    EXPECT_NE(at(10, image.height - 11), 0x123456u);
    EXPECT_NE(at(200, 10), 0x123456u);

    DestroyWindow(block);
    UnregisterClassW(windowClass.lpszClassName, windowClass.hInstance);
    DeleteObject(brush);
}

// Whether the shell holds an icon of this window now, asked of the shell itself.
bool iconInTray(const NOTIFYICONDATAA& icon) {
    NOTIFYICONDATAA data = icon;
    return Shell_NotifyIconA(NIM_MODIFY, &data);
}

// The icon's clicks are the end-to-end test's (tests/e2e/win32.sh).
TEST(Win32Services, TrayIconSurvivesTheShell) {
    Win32NotificationArea tray;
    ASSERT_TRUE(tray.available());
    tray.add(std::string(100, 'x'));
    ASSERT_TRUE(tray.shown());
    NOTIFYICONDATAA gone{};
    gone.cbSize = NOTIFYICONDATAA_V1_SIZE;
    gone.hWnd = tray.window();
    gone.uID = Win32NotificationArea::kIconId;
    EXPECT_TRUE(iconInTray(gone));

    // A restarted Explorer knows no icon; its broadcast brings ours back, and
    // the program hears of a notification area.
    std::vector<bool> told;
    tray.availabilityChanged = [&told](bool there) { told.push_back(there); };
    ASSERT_TRUE(Shell_NotifyIconA(NIM_DELETE, &gone));
    PostMessageW(HWND_BROADCAST, RegisterWindowMessageA("TaskbarCreated"), 0, 0);
    pumpMessages();
    EXPECT_TRUE(iconInTray(gone));
    EXPECT_EQ(told, std::vector<bool>{true});
    tray.remove();
    EXPECT_FALSE(iconInTray(gone));

    // Refused (the shell already holds this icon): the caller is told, and
    // the next minimise keeps the window on the taskbar.
    NOTIFYICONDATAA taken = gone;
    taken.uFlags = NIF_TIP;
    ASSERT_TRUE(Shell_NotifyIconA(NIM_ADD, &taken));
    EXPECT_FALSE(tray.add("refused"));
    EXPECT_FALSE(tray.shown());
    EXPECT_FALSE(tray.available());
    Shell_NotifyIconA(NIM_DELETE, &gone);
}

}  // namespace
}  // namespace durmivela::win32
