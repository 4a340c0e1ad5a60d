// A Win32 top-level window that mirrors a form of the model: every control
// becomes a child window (or menu item, or driven timer) at its design place,
// every change in the model is shown at once, and the user's actions are
// written into the model before its events are raised.
#pragma once

#include "platform/Form.h"
#include "platform/Services.h"
#include "platform/win32/Win32Accessibility.h"
#include "platform/win32/Win32Ticker.h"

#include <windows.h>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <tuple>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace durmivela::win32 {

// The top-level menu that is the notification-area icon's pop-up.
inline constexpr const char* kTrayMenuName = "mnuSysTrayIcon";

class Win32FormWindow final : public FormView {
public:
    // Builds the window from the form and attaches itself to it; the form's
    // timers start running now. Shows the window if the form is visible.
    // Accessible names and descriptions go to the annotations given, or to
    // the system's own (oleacc) when none are.
    Win32FormWindow(Form& form, const Clock& clock, AccessibleAnnotations* annotations = nullptr);
    ~Win32FormWindow() override;
    Win32FormWindow(const Win32FormWindow&) = delete;
    Win32FormWindow& operator=(const Win32FormWindow&) = delete;

    void controlChanged(Control& control, Property property) override;
    void formChanged(FormProperty property) override;
    void popupMenu(MenuItem& menu) override;

    // Null once the window has gone.
    HWND hwnd() const { return hwnd_; }
    // The child window that mirrors a control; null for others.
    HWND windowOf(const Control& control) const;
    int dpi() const { return dpi_; }

    // Runs just before the window goes, the form already unloaded (a modal
    // host gives its owner back here, so activation returns to it).
    std::function<void()> onClosing;
    // Runs once the window has closed for good (the form unloaded).
    std::function<void()> onClosed;

private:
    friend bool translateFormMessage(MSG& msg);
    static LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK frameProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR);
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);

    // False once the form has unloaded: nothing more is sent to it.
    bool attached() const { return form_.view() == this; }
    int px(int twips) const;
    RECT place(const Twips& geometry) const;
    // The child window's rectangle at the current DPI: its design place, a
    // combo box with room for its list, a line as thick as drawn.
    RECT bounds(const Control& control) const;
    HWND build(Control& control);
    DWORD wrapping(const Control& control, const RECT& rect);
    HFONT font(const Font& font);
    // Hands the model's accessible name and description of a control that
    // takes the focus to the annotations.
    void annotate(const Control& control);
    // The window moved to a monitor of another DPI: the suggested rectangle,
    // and every control and font at the new scale.
    void changeDpi(int dpi, const RECT& suggested);
    void setIcons();
    HBRUSH brush(COLORREF colour);
    LRESULT colours(HDC dc, HWND child, LRESULT fallback);
    void applyTabOrder();
    // The focusable controls in the design's tab order, across frames.
    std::vector<HWND> tabOrder() const;
    void focusFirst();
    void tab(bool backwards);
    void fitClientArea();
    void showForm();
    void closeWindow();
    void command(WORD id, WORD code, HWND from);
    void pressDesignated(bool cancel);
    // Return on a push button: presses it; false when no push button has the focus.
    bool pressFocusedButton();

    // Menus: the bar, refilled from the model whenever no menu is open.
    std::vector<MenuItem*> menuChildren(const MenuItem* parent) const;
    void fillMenu(HMENU menu, const std::vector<MenuItem*>& items);
    void clearMenu(HMENU menu);
    void rebuildMenuBar();
    void menuChanged();

    Form& form_;
    const Clock& clock_;
    HWND hwnd_ = nullptr;
    HWND tooltip_ = nullptr;
    int dpi_ = 96;
    bool centred_ = false;
    int mirroring_ = 0;  // above 0 while the window shows a change of the model
    bool inMenu_ = false;
    bool menusStale_ = false;
    HWND lastFocus_ = nullptr;
    std::unordered_map<const Control*, HWND> windows_;
    std::unordered_map<HWND, Control*> controls_;
    std::unordered_map<WORD, Control*> ids_;
    std::unordered_map<const Control*, WORD> idOf_;
    std::unordered_map<HMENU, MenuItem*> popups_;
    std::unordered_map<const Control*, std::unique_ptr<Win32Ticker>> tickers_;
    std::map<std::tuple<std::wstring, int, bool>, HFONT> fonts_;
    std::unordered_map<COLORREF, HBRUSH> brushes_;
    std::unique_ptr<OleaccAnnotations> ownAnnotations_;
    AccessibleAnnotations* annotations_;
    std::unordered_set<HWND> annotated_;
};

// Keyboard navigation of the form windows (Tab, Enter, Escape, mnemonics):
// the message loop offers every message here first; true when it was
// handled and must not be translated or dispatched again.
bool translateFormMessage(MSG& msg);

}  // namespace durmivela::win32
