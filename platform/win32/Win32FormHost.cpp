#include "platform/win32/Win32FormHost.h"

#include "platform/AsideThread.h"
#include "platform/Form.h"
#include "platform/win32/Win32FormWindow.h"

#include <windows.h>

#include <algorithm>
#include <exception>
#include <vector>

namespace durmivela::win32 {

namespace {

struct Disabled {
    HWND except;
    std::vector<HWND> windows;
};

BOOL CALLBACK disableOne(HWND hwnd, LPARAM data) {
    auto& disabled = *reinterpret_cast<Disabled*>(data);
    if (hwnd != disabled.except && IsWindowEnabled(hwnd)) {
        EnableWindow(hwnd, FALSE);
        disabled.windows.push_back(hwnd);
    }
    return TRUE;
}

// The user's keys and clicks, in the client area or on the frame.
bool isInput(UINT message) {
    return (message >= WM_KEYFIRST && message <= WM_KEYLAST) || (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST) ||
           (message >= WM_NCMOUSEMOVE && message <= WM_NCXBUTTONDBLCLK);
}

bool isInputTo(const Disabled& disabled, const MSG& msg) {
    if (!msg.hwnd || !isInput(msg.message)) return false;
    const HWND top = GetAncestor(msg.hwnd, GA_ROOT);
    return std::find(disabled.windows.begin(), disabled.windows.end(), top) != disabled.windows.end();
}

}  // namespace

void Win32FormHost::showModal(Form& form) {
    HWND previous = GetActiveWindow();
    Win32FormWindow window(form, clock_);
    Disabled disabled{window.hwnd(), {}};
    EnumThreadWindows(GetCurrentThreadId(), disableOne, reinterpret_cast<LPARAM>(&disabled));
    // Given back before the dialog goes, so that the system activates one of
    // them and not another program's window.
    auto enableAll = [&disabled] {
        for (HWND hwnd : disabled.windows)
            if (IsWindow(hwnd)) EnableWindow(hwnd, TRUE);
        disabled.windows.clear();
    };
    window.onClosing = enableAll;

    form.show();
    MSG msg{};
    while (!form.closed() && window.hwnd()) {
        const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got == -1) break;
        if (got == 0) {
            // The program is quitting: the outer loop must hear of it too.
            PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        if (!translateFormMessage(msg)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    enableAll();
    // The program quitting ends every loop; the dialog still unloads.
    if (!form.closed()) form.close();
    if (previous && IsWindow(previous) && IsWindowVisible(previous)) SetActiveWindow(previous);
}

// Repaints and ticks, not the user's clicks and keys: a second click on the
// same command must not start it again inside the first.
void Win32FormHost::processPendingEvents() {
    MSG msg{};
    // Bounded, in case something keeps asking to be repainted.
    for (int handled = 0; handled < 1000; ++handled) {
        if (!PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE | PM_QS_PAINT | PM_QS_POSTMESSAGE | PM_QS_SENDMESSAGE))
            break;
        if (msg.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        DispatchMessageW(&msg);
    }
}

// The thread's windows are disabled, as under a modal dialog, and input that
// reaches them anyway (a message box given back its owner) is dropped, not
// kept for after the wait. Timers, repaints, posted and sent messages and
// the windows opened meanwhile (a message box) work as ever.
void Win32FormHost::runAside(const std::function<void()>& step) {
    const HANDLE finished = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    if (!finished) {
        step();  // nothing to wait on: the step blocks, as it used to
        return;
    }
    Disabled disabled{nullptr, {}};
    bool quit = false;
    WPARAM exitCode = 0;
    const auto wait = [&] {
        EnumThreadWindows(GetCurrentThreadId(), disableOne, reinterpret_cast<LPARAM>(&disabled));
        for (;;) {
            const DWORD woke = MsgWaitForMultipleObjectsEx(1, &finished, INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
            if (woke != WAIT_OBJECT_0 + 1) break;  // finished, or no waiting to be had
            MSG msg{};
            while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
                if (msg.message == WM_QUIT) {
                    // The program is quitting: it does so once the step is done.
                    quit = true;
                    exitCode = msg.wParam;
                } else if (!isInputTo(disabled, msg) && !translateFormMessage(msg)) {
                    TranslateMessage(&msg);
                    DispatchMessageW(&msg);
                }
            }
        }
    };
    const std::exception_ptr failure = runOnOwnThread(step, [finished] { SetEvent(finished); }, wait);
    CloseHandle(finished);
    for (HWND hwnd : disabled.windows)
        if (IsWindow(hwnd)) EnableWindow(hwnd, TRUE);
    if (quit) PostQuitMessage(static_cast<int>(exitCode));
    if (failure) std::rethrow_exception(failure);
}

int runMessageLoop() {
    MSG msg{};
    for (;;) {
        const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0) return static_cast<int>(msg.wParam);
        if (got == -1) return -1;
        if (!translateFormMessage(msg)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
}

}  // namespace durmivela::win32
