#include "platform/win32/Win32FormWindow.h"

#include "platform/AccessibleText.h"
#include "platform/win32/WinText.h"

#include <commctrl.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

namespace durmivela::win32 {

namespace {

constexpr wchar_t kClassName[] = L"DurmivelaForm";
constexpr WORD kFirstId = 100;  // clear of IDOK and IDCANCEL

// Registered with the first window; until then no window is a form's.
ATOM formClass = 0;

// The lead's resource script gives the program's icon id 1.
HICON programIcon(int size) {
    auto* icon = static_cast<HICON>(
        LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1), IMAGE_ICON, size, size, LR_SHARED));
    return icon ? icon : LoadIconW(nullptr, reinterpret_cast<LPCWSTR>(IDI_APPLICATION));
}

// A system metric at the DPI given, where the system can tell (Windows 10
// 1607 on); at the system's own DPI otherwise.
int metricForDpi(int index, int dpi) {
    using GetSystemMetricsForDpiFn = int(WINAPI*)(int, UINT);
    static const auto forDpi = reinterpret_cast<GetSystemMetricsForDpiFn>(reinterpret_cast<void (*)()>(
        GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetSystemMetricsForDpi")));
    return forDpi ? forDpi(index, static_cast<UINT>(dpi)) : GetSystemMetrics(index);
}

int windowDpi(HWND hwnd) {
    using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
    // Windows 10 1607 and later; older systems have one DPI for the screen.
    static const auto getDpiForWindow = reinterpret_cast<GetDpiForWindowFn>(reinterpret_cast<void (*)()>(
        GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
    if (getDpiForWindow)
        if (const UINT dpi = getDpiForWindow(hwnd)) return static_cast<int>(dpi);
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : 96;
}

std::wstring windowText(HWND hwnd) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(hwnd)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(hwnd, text.data(), static_cast<int>(text.size()))));
    return text;
}

bool takesFocus(ControlKind kind) {
    switch (kind) {
        case ControlKind::TextBox:
        case ControlKind::ComboBox:
        case ControlKind::OptionButton:
        case ControlKind::CheckBox:
        case ControlKind::CommandButton: return true;
        default: return false;
    }
}

COLORREF toColorRef(const Rgb& rgb) { return RGB(rgb.red, rgb.green, rgb.blue); }

WPARAM checkState(int value) { return value == 1 ? BST_CHECKED : value == 2 ? BST_INDETERMINATE : BST_UNCHECKED; }

}  // namespace

Win32FormWindow::Win32FormWindow(Form& form, const Clock& clock, AccessibleAnnotations* annotations)
    : form_(form),
      clock_(clock),
      ownAnnotations_(annotations ? nullptr : std::make_unique<OleaccAnnotations>()),
      annotations_(annotations ? annotations : ownAnnotations_.get()) {
    if (!formClass) {
        // Visual styles come with common controls 6, which the manifest asks for.
        INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
        InitCommonControlsEx(&controls);
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof wc;
        wc.style = CS_DBLCLKS;
        wc.lpfnWndProc = windowProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        wc.lpszClassName = kClassName;
        formClass = RegisterClassExW(&wc);
    }
    DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
    if (form.minimizeBox) style |= WS_MINIMIZEBOX;
    // The window is never resized, so no maximise box whatever the design says.
    CreateWindowExW(0, kClassName, wide(form.caption()).c_str(), style, CW_USEDEFAULT, CW_USEDEFAULT, 100, 100,
                    nullptr, nullptr, GetModuleHandleW(nullptr), this);
    if (!hwnd_) return;
    dpi_ = windowDpi(hwnd_);
    setIcons();
    tooltip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd_, nullptr,
                               GetModuleHandleW(nullptr), nullptr);

    WORD id = kFirstId;
    for (const auto& control : form.controls()) {
        idOf_[control.get()] = id;
        ids_[id++] = control.get();
    }
    rebuildMenuBar();
    for (const auto& control : form.controls()) {
        if (control->kind() == ControlKind::Timer)
            tickers_[control.get()] = std::make_unique<Win32Ticker>(static_cast<Timer&>(*control), clock_);
        else if (control->kind() != ControlKind::Menu)
            build(*control);
    }
    applyTabOrder();
    fitClientArea();

    form_.attach(this);
    if (form_.visible()) showForm();
}

Win32FormWindow::~Win32FormWindow() {
    if (form_.view() == this) form_.attach(nullptr);
    tickers_.clear();
    onClosing = nullptr;
    onClosed = nullptr;
    if (hwnd_) DestroyWindow(hwnd_);
}

void Win32FormWindow::setIcons() {
    SendMessageW(hwnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(programIcon(metricForDpi(SM_CXICON, dpi_))));
    SendMessageW(hwnd_, WM_SETICON, ICON_SMALL,
                 reinterpret_cast<LPARAM>(programIcon(metricForDpi(SM_CXSMICON, dpi_))));
}

int Win32FormWindow::px(int twips) const { return MulDiv(twips, dpi_, 1440); }

RECT Win32FormWindow::place(const Twips& g) const {
    // Both edges from twips, so neighbouring controls stay flush after rounding.
    return RECT{px(g.left), px(g.top), px(g.left + g.width), px(g.top + g.height)};
}

RECT Win32FormWindow::bounds(const Control& control) const {
    RECT rect = place(control.geometry());
    if (control.kind() == ControlKind::ComboBox) {
        rect.bottom += px(3000);  // the window's height includes the dropped-down list
    } else if (control.kind() == ControlKind::Line) {
        // A strip filled with the fore colour (see colours()).
        const int width = static_cast<const Line&>(control).widthPixels;
        if (control.geometry().width == 0) rect.right = rect.left + width;
        else rect.bottom = rect.top + width;
    }
    return rect;
}

HWND Win32FormWindow::windowOf(const Control& control) const {
    const auto found = windows_.find(&control);
    return found == windows_.end() ? nullptr : found->second;
}

HFONT Win32FormWindow::font(const Font& f) {
    const int hundredths = static_cast<int>(std::lround(f.points * 100));
    auto key = std::make_tuple(wide(f.face), hundredths, f.bold);
    if (const auto found = fonts_.find(key); found != fonts_.end()) return found->second;
    // Without the face installed, the font mapper picks the nearest sans serif.
    HFONT made = CreateFontW(-MulDiv(hundredths, dpi_, 7200), 0, 0, 0, f.bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE,
                             FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                             DEFAULT_PITCH | FF_SWISS, std::get<0>(key).c_str());
    fonts_.emplace(std::move(key), made);
    return made;
}

HBRUSH Win32FormWindow::brush(COLORREF colour) {
    HBRUSH& made = brushes_[colour];
    if (!made) made = CreateSolidBrush(colour);
    return made;
}

// A long caption wraps onto the lines the button's height leaves room for; a
// one-line button keeps its caption on that line, where the part that does
// not fit is cut at the right rather than wrapped out of sight. A line shows
// whole in its height less the internal leading at its top, where only
// accents go: a design made for a font a pixel shorter still shows two lines.
DWORD Win32FormWindow::wrapping(const Control& control, const RECT& rect) {
    HDC screen = GetDC(nullptr);
    HGDIOBJ previous = SelectObject(screen, font(control.font));
    TEXTMETRICW metrics{};
    GetTextMetricsW(screen, &metrics);
    SelectObject(screen, previous);
    ReleaseDC(nullptr, screen);
    if (metrics.tmHeight <= 0) return 0;
    const int lines = (rect.bottom - rect.top + metrics.tmInternalLeading) / metrics.tmHeight;
    return lines >= 2 ? BS_MULTILINE : 0;
}

HWND Win32FormWindow::build(Control& control) {
    if (HWND built = windowOf(control)) return built;
    HWND parent = control.container() ? build(*control.container()) : nullptr;
    if (!parent) parent = hwnd_;

    const wchar_t* windowClass = L"STATIC";
    DWORD style = WS_CHILD | WS_CLIPSIBLINGS;
    DWORD exStyle = 0;
    const RECT rect = bounds(control);
    switch (control.kind()) {
        case ControlKind::Label:
            // Labels keep "&" mnemonics, as Windows draws them; notified
            // clicks serve links, and also let a tooltip see the mouse.
            style |= SS_NOTIFY | (control.alignment == Alignment::Centre ? SS_CENTER
                                  : control.multiLine                   ? SS_LEFT
                                                                        : SS_LEFTNOWORDWRAP);
            if (control.border) style |= SS_SUNKEN;
            break;
        case ControlKind::TextBox:
            windowClass = L"EDIT";
            style |= WS_TABSTOP | ES_AUTOHSCROLL | (control.alignment == Alignment::Centre ? ES_CENTER : ES_LEFT);
            exStyle |= WS_EX_CLIENTEDGE;
            break;
        case ControlKind::ComboBox:
            windowClass = L"COMBOBOX";
            style |= WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST;
            break;
        case ControlKind::Frame:
            windowClass = L"BUTTON";
            style |= BS_GROUPBOX | WS_CLIPCHILDREN;
            // Tab moves on into the frame's controls.
            exStyle |= WS_EX_CONTROLPARENT;
            break;
        case ControlKind::OptionButton:
            // Not automatic: the model decides which option is on, also "none chosen".
            windowClass = L"BUTTON";
            style |= WS_TABSTOP | BS_RADIOBUTTON | wrapping(control, rect);
            break;
        case ControlKind::CheckBox:
            windowClass = L"BUTTON";
            style |= WS_TABSTOP | BS_3STATE | wrapping(control, rect);
            break;
        case ControlKind::CommandButton:
            windowClass = L"BUTTON";
            style |= WS_TABSTOP | (static_cast<CommandButton&>(control).isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
            break;
        case ControlKind::Line: break;
        case ControlKind::PictureBox:
            // It shows the program's icon when it holds it; the notification
            // area's callbacks come from the tray icon instead.
            if (!static_cast<PictureBox&>(control).hasIcon()) return nullptr;
            style |= SS_ICON | SS_REALSIZEIMAGE;
            break;
        case ControlKind::Menu:
        case ControlKind::Timer: return nullptr;
    }

    HWND child = CreateWindowExW(exStyle, windowClass, L"", style, rect.left, rect.top, rect.right - rect.left,
                                 rect.bottom - rect.top, parent,
                                 reinterpret_cast<HMENU>(static_cast<UINT_PTR>(idOf_[&control])),
                                 GetModuleHandleW(nullptr), nullptr);
    if (!child) return nullptr;
    if (control.kind() == ControlKind::Frame) SetWindowSubclass(child, frameProc, 0, reinterpret_cast<DWORD_PTR>(this));
    if (control.kind() == ControlKind::PictureBox)
        SendMessageW(child, STM_SETICON, reinterpret_cast<WPARAM>(programIcon(metricForDpi(SM_CXICON, dpi_))), 0);
    SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font(control.font)), FALSE);
    windows_[&control] = child;
    controls_[child] = &control;
    for (Property property : {Property::Caption, Property::Text, Property::ListItems, Property::ListIndex,
                              Property::Value, Property::Enabled, Property::ToolTipText, Property::Visible})
        controlChanged(control, property);
    annotate(control);
    return child;
}

// Windows names a control that takes the focus by its own caption, or an
// edit or combo box by the label just before it; a control named otherwise
// in the model (by a label elsewhere, with a detail that tells two apart)
// has the model's name, and a described one its description.
void Win32FormWindow::annotate(const Control& control) {
    HWND child = windowOf(control);
    if (!child || !takesFocus(control.kind())) return;
    const bool namedElsewhere = control.labelledBy || !control.accessibleDetail().empty();
    const std::wstring name = namedElsewhere ? wide(accessibleName(control)) : std::wstring();
    const std::wstring description = wide(accessibleDescription(control));
    if (name.empty() && description.empty() && !annotated_.contains(child)) return;
    annotations_->annotate(child, name, description);
    annotated_.insert(child);
}

void Win32FormWindow::changeDpi(int dpi, const RECT& suggested) {
    if (dpi <= 0 || !hwnd_) return;
    dpi_ = dpi;
    // The new fonts are in place before the old ones go.
    auto oldFonts = std::move(fonts_);
    fonts_.clear();
    ++mirroring_;
    SetWindowPos(hwnd_, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    for (const auto& control : form_.controls()) {
        HWND child = windowOf(*control);
        if (!child) continue;
        const RECT rect = bounds(*control);
        if (control->kind() == ControlKind::OptionButton || control->kind() == ControlKind::CheckBox) {
            const auto style = static_cast<DWORD>(GetWindowLongPtrW(child, GWL_STYLE));
            SetWindowLongPtrW(child, GWL_STYLE, (style & ~static_cast<DWORD>(BS_MULTILINE)) | wrapping(*control, rect));
        }
        if (control->kind() == ControlKind::PictureBox)
            SendMessageW(child, STM_SETICON, reinterpret_cast<WPARAM>(programIcon(metricForDpi(SM_CXICON, dpi_))), 0);
        SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font(control->font)), FALSE);
        SetWindowPos(child, nullptr, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
    setIcons();
    // The suggestion scales the frame and the menu bar as the system guesses;
    // the client area is the design's, whatever they took.
    fitClientArea();
    --mirroring_;
    for (auto& [key, made] : oldFonts) DeleteObject(made);
    RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void Win32FormWindow::applyTabOrder() {
    // Siblings go in tab order, the rest after them in collection order: the
    // dialog manager tabs through the windows in that order, into frames too.
    std::vector<std::pair<int, const Control*>> order;
    for (const auto& control : form_.controls())
        if (windowOf(*control))
            order.emplace_back(control->tabIndex >= 0 ? control->tabIndex : std::numeric_limits<int>::max(),
                               control.get());
    std::stable_sort(order.begin(), order.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<const Control*> sequence;
    for (const auto& [index, control] : order) sequence.push_back(control);
    // A label goes just before the first control it names: Windows names an
    // edit by the label before it, and a label's mnemonic focuses the next window.
    std::unordered_set<const Control*> placed;
    for (const Control* named : std::vector<const Control*>(sequence)) {
        const Control* label = named->labelledBy;
        if (!label || placed.contains(label) || !windowOf(*label) ||
            GetParent(windowOf(*label)) != GetParent(windowOf(*named)))
            continue;
        placed.insert(label);
        sequence.erase(std::find(sequence.begin(), sequence.end(), label));
        sequence.insert(std::find(sequence.begin(), sequence.end(), named), label);
    }
    std::unordered_map<HWND, HWND> previous;  // by parent
    for (const Control* control : sequence) {
        HWND child = windowOf(*control);
        HWND parent = GetParent(child);
        const auto found = previous.find(parent);
        SetWindowPos(child, found == previous.end() ? HWND_TOP : found->second, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        previous[parent] = child;
    }
}

std::vector<HWND> Win32FormWindow::tabOrder() const {
    std::vector<std::pair<int, HWND>> order;
    for (const auto& control : form_.controls())
        if (HWND child = windowOf(*control); child && control->tabIndex >= 0 && takesFocus(control->kind()))
            order.emplace_back(control->tabIndex, child);
    std::stable_sort(order.begin(), order.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<HWND> windows;
    for (const auto& [index, child] : order)
        if (IsWindowVisible(child) && IsWindowEnabled(child)) windows.push_back(child);
    return windows;
}

void Win32FormWindow::focusFirst() {
    // The first control in tab order that can take the focus has it when the window opens.
    if (const std::vector<HWND> order = tabOrder(); !order.empty()) SetFocus(order.front());
}

// The dialog manager tabs by window order within each parent, which cannot
// interleave the controls of several frames as the designs do: Tab is
// handled here, by the model's order.
void Win32FormWindow::tab(bool backwards) {
    const std::vector<HWND> order = tabOrder();
    if (order.empty()) return;
    HWND focus = GetFocus();
    // A combo box's focus may be on its inner window.
    while (focus && focus != hwnd_ && std::find(order.begin(), order.end(), focus) == order.end())
        focus = GetParent(focus);
    const auto at = std::find(order.begin(), order.end(), focus);
    std::size_t next = 0;
    if (at == order.end()) next = backwards ? order.size() - 1 : 0;
    else if (backwards) next = (static_cast<std::size_t>(at - order.begin()) + order.size() - 1) % order.size();
    else next = (static_cast<std::size_t>(at - order.begin()) + 1) % order.size();
    SetFocus(order[next]);
    // As in a dialog, a text box reached by Tab has its text selected.
    if (SendMessageW(order[next], WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL) SendMessageW(order[next], EM_SETSEL, 0, -1);
}

void Win32FormWindow::fitClientArea() {
    const int width = px(form_.clientSize().width);
    const int height = px(form_.clientSize().height);
    const auto style = static_cast<DWORD>(GetWindowLongPtrW(hwnd_, GWL_STYLE));
    const auto exStyle = static_cast<DWORD>(GetWindowLongPtrW(hwnd_, GWL_EXSTYLE));
    RECT frame{0, 0, width, height};
    AdjustWindowRectEx(&frame, style, GetMenu(hwnd_) != nullptr, exStyle);
    ++mirroring_;
    SetWindowPos(hwnd_, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    // A menu bar that wraps onto more rows takes more than the estimate: measure and correct.
    RECT client{};
    GetClientRect(hwnd_, &client);
    if (client.right != width || client.bottom != height)
        SetWindowPos(hwnd_, nullptr, 0, 0, frame.right - frame.left + width - client.right,
                     frame.bottom - frame.top + height - client.bottom, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    --mirroring_;
}

void Win32FormWindow::showForm() {
    ++mirroring_;
    if (!centred_) {
        centred_ = true;
        MONITORINFO monitor{};
        monitor.cbSize = sizeof monitor;
        GetMonitorInfoW(MonitorFromWindow(hwnd_, MONITOR_DEFAULTTOPRIMARY), &monitor);
        const RECT& area = monitor.rcWork;
        RECT window{};
        GetWindowRect(hwnd_, &window);
        const int width = window.right - window.left;
        const int height = window.bottom - window.top;
        SetWindowPos(hwnd_, nullptr, area.left + (area.right - area.left - width) / 2,
                     area.top + (area.bottom - area.top - height) / 2, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    if (form_.windowState() == WindowState::Minimized) {
        ShowWindow(hwnd_, SW_SHOWMINIMIZED);
    } else {
        ShowWindow(hwnd_, IsIconic(hwnd_) ? SW_RESTORE : SW_SHOW);
        SetForegroundWindow(hwnd_);
        if (!lastFocus_) focusFirst();
    }
    --mirroring_;
}

void Win32FormWindow::closeWindow() {
    // An unloaded form is finished: no more ticks or mirrored changes. Stopped,
    // not destroyed, as this may run inside a tick's own handler.
    for (auto& [timer, ticker] : tickers_) ticker->stop();
    form_.attach(nullptr);
    if (onClosing) onClosing();
    if (hwnd_) DestroyWindow(hwnd_);
}

void Win32FormWindow::controlChanged(Control& control, Property property) {
    if (control.kind() == ControlKind::Timer) {
        const auto found = tickers_.find(&control);
        if (found == tickers_.end()) return;
        if (property == Property::Enabled) found->second->enabledChanged();
        if (property == Property::Interval) found->second->intervalChanged();
        return;
    }
    if (control.kind() == ControlKind::Menu) {
        if (property == Property::Caption || property == Property::Visible || property == Property::Enabled)
            menuChanged();
        return;
    }
    HWND child = windowOf(control);
    if (!child) return;
    ++mirroring_;
    switch (property) {
        case Property::Caption:
            if (control.kind() != ControlKind::TextBox && control.kind() != ControlKind::ComboBox &&
                control.kind() != ControlKind::PictureBox && control.kind() != ControlKind::Line)
                SetWindowTextW(child, wide(control.caption()).c_str());
            break;
        case Property::Text:
            if (control.kind() == ControlKind::TextBox) {
                const std::wstring text = wide(static_cast<TextBox&>(control).text());
                if (windowText(child) != text) SetWindowTextW(child, text.c_str());  // a typed change is already shown
            } else if (control.kind() == ControlKind::ComboBox) {
                const int index = static_cast<ComboBox&>(control).listIndex();
                if (SendMessageW(child, CB_GETCURSEL, 0, 0) != index) SendMessageW(child, CB_SETCURSEL, index, 0);
            }
            break;
        case Property::ListItems:
            if (control.kind() == ControlKind::ComboBox) {
                auto& combo = static_cast<ComboBox&>(control);
                SendMessageW(child, CB_RESETCONTENT, 0, 0);
                for (const auto& item : combo.items())
                    SendMessageW(child, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide(item).c_str()));
                SendMessageW(child, CB_SETCURSEL, combo.listIndex(), 0);
            }
            break;
        case Property::ListIndex:
            if (control.kind() == ControlKind::ComboBox) {
                const int index = static_cast<ComboBox&>(control).listIndex();
                if (SendMessageW(child, CB_GETCURSEL, 0, 0) != index) SendMessageW(child, CB_SETCURSEL, index, 0);
            }
            break;
        case Property::Value:
            if (control.kind() == ControlKind::OptionButton || control.kind() == ControlKind::CheckBox)
                SendMessageW(child, BM_SETCHECK, checkState(static_cast<ValueControl&>(control).value()), 0);
            break;
        case Property::Visible: ShowWindow(child, control.visible() ? SW_SHOWNA : SW_HIDE); break;
        case Property::Enabled: EnableWindow(child, control.enabled()); break;
        case Property::ToolTipText:
            if (tooltip_) {
                TOOLINFOW tool{};
                tool.cbSize = TTTOOLINFOW_V2_SIZE;
                tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
                tool.hwnd = hwnd_;
                tool.uId = reinterpret_cast<UINT_PTR>(child);
                std::wstring text = wide(control.toolTipText());
                tool.lpszText = text.data();
                SendMessageW(tooltip_, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
                if (!text.empty()) SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
            }
            break;
        case Property::Accessibility: annotate(control); break;
        case Property::Tag:
        case Property::Interval: break;
    }
    --mirroring_;
}

void Win32FormWindow::formChanged(FormProperty property) {
    if (!hwnd_) return;
    switch (property) {
        case FormProperty::Caption: SetWindowTextW(hwnd_, wide(form_.caption()).c_str()); break;
        case FormProperty::Visible:
            if (form_.visible()) {
                showForm();
            } else {
                if (HWND focus = GetFocus(); focus && IsChild(hwnd_, focus)) lastFocus_ = focus;
                ShowWindow(hwnd_, SW_HIDE);
            }
            break;
        case FormProperty::WindowState: {
            const bool minimized = form_.windowState() == WindowState::Minimized;
            // A hidden window only records the state for its next show.
            if (minimized == static_cast<bool>(IsIconic(hwnd_)) || !IsWindowVisible(hwnd_)) break;
            ++mirroring_;
            ShowWindow(hwnd_, minimized ? SW_MINIMIZE : SW_RESTORE);
            if (!minimized) SetForegroundWindow(hwnd_);
            --mirroring_;
            break;
        }
        case FormProperty::Closed: closeWindow(); break;
    }
}

// --- Menus -----------------------------------------------------------------

std::vector<MenuItem*> Win32FormWindow::menuChildren(const MenuItem* parent) const {
    std::vector<MenuItem*> children;
    for (const auto& control : form_.controls())
        if (control->kind() == ControlKind::Menu && control->container() == parent &&
            (parent || control->name() != kTrayMenuName))
            children.push_back(static_cast<MenuItem*>(control.get()));
    return children;
}

void Win32FormWindow::clearMenu(HMENU menu) {
    while (GetMenuItemCount(menu) > 0) {
        if (HMENU sub = GetSubMenu(menu, 0)) {
            clearMenu(sub);
            popups_.erase(sub);
        }
        DeleteMenu(menu, 0, MF_BYPOSITION);  // destroys a submenu with it
    }
}

// Invisible items are left out of the shown menu.
void Win32FormWindow::fillMenu(HMENU menu, const std::vector<MenuItem*>& items) {
    clearMenu(menu);
    for (MenuItem* item : items) {
        if (!item->visible()) continue;
        if (item->isSeparator()) {
            AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
            continue;
        }
        const UINT grey = item->enabled() ? MF_ENABLED : MF_GRAYED;
        const std::wstring caption = wide(item->caption());
        const std::vector<MenuItem*> children = menuChildren(item);
        if (children.empty()) {
            AppendMenuW(menu, MF_STRING | grey, idOf_[item], caption.c_str());
            if (item->isDefault) SetMenuDefaultItem(menu, idOf_[item], FALSE);
        } else {
            HMENU sub = CreatePopupMenu();
            fillMenu(sub, children);
            popups_[sub] = item;
            AppendMenuW(menu, MF_POPUP | grey, reinterpret_cast<UINT_PTR>(sub), caption.c_str());
        }
    }
}

void Win32FormWindow::rebuildMenuBar() {
    menusStale_ = false;
    const std::vector<MenuItem*> top = menuChildren(nullptr);
    HMENU bar = GetMenu(hwnd_);
    if (top.empty() && !bar) return;
    if (!bar) {
        bar = CreateMenu();
        SetMenu(hwnd_, bar);
    }
    fillMenu(bar, top);
    DrawMenuBar(hwnd_);
}

void Win32FormWindow::menuChanged() {
    // An open menu is not pulled from under the user: the bar follows once it closes.
    menusStale_ = true;
    if (inMenu_ || !hwnd_) return;
    const RECT before = [this] {
        RECT client{};
        GetClientRect(hwnd_, &client);
        return client;
    }();
    rebuildMenuBar();
    RECT after{};
    GetClientRect(hwnd_, &after);
    // Captions of another length may wrap the bar differently.
    if (after.bottom != before.bottom && !IsIconic(hwnd_)) fitClientArea();
}

void Win32FormWindow::popupMenu(MenuItem& menu) {
    if (!hwnd_) return;
    HMENU popup = CreatePopupMenu();
    fillMenu(popup, menuChildren(&menu));
    POINT at{};
    GetCursorPos(&at);
    // The notification area's pop-up closes on a click elsewhere only when
    // its window is in the foreground, and needs a message after it.
    SetForegroundWindow(hwnd_);
    const UINT id = static_cast<UINT>(TrackPopupMenu(
        popup, TPM_RIGHTALIGN | TPM_RIGHTBUTTON | TPM_RETURNCMD, at.x, at.y, 0, hwnd_, nullptr));
    PostMessageW(hwnd_, WM_NULL, 0, 0);
    clearMenu(popup);
    DestroyMenu(popup);
    if (const auto found = ids_.find(static_cast<WORD>(id)); id && found != ids_.end() && attached())
        found->second->click();
}

// --- Messages --------------------------------------------------------------

void Win32FormWindow::pressDesignated(bool cancel) {
    for (const auto& control : form_.controls()) {
        if (control->kind() != ControlKind::CommandButton) continue;
        const auto& button = static_cast<const CommandButton&>(*control);
        if (!(cancel ? button.isCancel : button.isDefault)) continue;
        HWND child = windowOf(button);
        if (child && IsWindowVisible(child) && IsWindowEnabled(child)) control->click();
        return;
    }
}

// A dialog makes the push button with the focus its default, so that Return
// presses it; this window is no dialog, and the dialog manager would press
// the designated default instead.
bool Win32FormWindow::pressFocusedButton() {
    const auto found = controls_.find(GetFocus());
    if (found == controls_.end() || found->second->kind() != ControlKind::CommandButton || !attached()) return false;
    HWND button = found->first;
    if (IsWindowVisible(button) && IsWindowEnabled(button)) found->second->click();
    return true;
}

void Win32FormWindow::command(WORD id, WORD code, HWND from) {
    if (!attached()) return;
    const auto found = ids_.find(id);
    if (found == ids_.end() || (from && controls_.find(from) == controls_.end())) {
        // The dialog manager's Enter and Escape.
        if (id == IDOK || id == IDCANCEL) pressDesignated(id == IDCANCEL);
        return;
    }
    Control& control = *found->second;
    if (!from) {  // a menu command
        if (control.kind() == ControlKind::Menu) control.click();
        return;
    }
    switch (control.kind()) {
        case ControlKind::TextBox:
            // The text is written first, before anything else hears of it;
            // the window's own showing of a model change is no user's edit.
            if (code == EN_CHANGE && !mirroring_) static_cast<TextBox&>(control).setText(utf8(windowText(from)));
            break;
        case ControlKind::ComboBox:
            if (code == CBN_SELCHANGE && !mirroring_)
                static_cast<ComboBox&>(control).userSelect(static_cast<int>(SendMessageW(from, CB_GETCURSEL, 0, 0)));
            break;
        case ControlKind::OptionButton:
            if (code == BN_CLICKED) {
                auto& option = static_cast<OptionButton&>(control);
                option.userChoose();
                // Clicking the chosen option changes nothing; show what the model holds.
                if (IsWindow(from)) SendMessageW(from, BM_SETCHECK, checkState(option.value()), 0);
            }
            break;
        case ControlKind::CheckBox:
            if (code == BN_CLICKED) {
                auto& check = static_cast<CheckBox&>(control);
                check.setValue(check.value() == 1 ? 0 : 1);  // a grey box becomes plain ticked
                check.click();
            }
            break;
        case ControlKind::CommandButton:
            if (code == BN_CLICKED) control.click();
            break;
        case ControlKind::Label:
            if (code == STN_CLICKED) control.click();
            break;
        default: break;
    }
}

LRESULT Win32FormWindow::colours(HDC dc, HWND child, LRESULT fallback) {
    const auto found = controls_.find(child);
    if (found == controls_.end()) return fallback;
    const Control& control = *found->second;
    if (control.kind() == ControlKind::Line)
        return control.foreColour.source == Colour::Source::Fixed
                   ? reinterpret_cast<LRESULT>(brush(toColorRef(control.foreColour.rgb)))
                   : reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOWTEXT));
    if (control.foreColour.source == Colour::Source::Fixed) SetTextColor(dc, toColorRef(control.foreColour.rgb));
    switch (control.backColour.source) {
        case Colour::Source::Default: return fallback;
        case Colour::Source::Window:
            SetBkColor(dc, GetSysColor(COLOR_WINDOW));
            return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW));
        case Colour::Source::Fixed: {
            const COLORREF back = toColorRef(control.backColour.rgb);
            SetBkColor(dc, back);
            return reinterpret_cast<LRESULT>(brush(back));
        }
    }
    return fallback;
}

LRESULT CALLBACK Win32FormWindow::windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<Win32FormWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (message == WM_NCCREATE) {
        self = static_cast<Win32FormWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->hwnd_ = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    if (!self) return DefWindowProcW(hwnd, message, wParam, lParam);
    return self->handle(message, wParam, lParam);
}

// Frames hold their controls as real children: what the controls tell their
// parent goes on to the form window.
LRESULT CALLBACK Win32FormWindow::frameProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                            DWORD_PTR data) {
    auto* self = reinterpret_cast<Win32FormWindow*>(data);
    switch (message) {
        case WM_COMMAND:
        case WM_NOTIFY:
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLORLISTBOX:
            if (self->hwnd_) return SendMessageW(self->hwnd_, message, wParam, lParam);
            break;
        case WM_ERASEBKGND: {
            // A group box draws no background of its own, and the form does not paint under its children.
            RECT rect{};
            GetClientRect(hwnd, &rect);
            auto dc = reinterpret_cast<HDC>(wParam);
            const auto back = reinterpret_cast<HBRUSH>(
                SendMessageW(GetParent(hwnd), WM_CTLCOLORSTATIC, wParam, reinterpret_cast<LPARAM>(hwnd)));
            FillRect(dc, &rect, back ? back : GetSysColorBrush(COLOR_BTNFACE));
            return 1;
        }
        case WM_PRINTCLIENT: {
            // A themed option or check box has its frame paint the background
            // into the box's own device context (DrawThemeParentBackground);
            // the frame's bold caption font must not stay selected there, or
            // the box draws its caption in it, wider than it laid it out.
            const auto dc = reinterpret_cast<HDC>(wParam);
            const int saved = SaveDC(dc);
            const LRESULT result = DefSubclassProc(hwnd, message, wParam, lParam);
            if (saved) RestoreDC(dc, saved);
            return result;
        }
        case WM_NCDESTROY: RemoveWindowSubclass(hwnd, frameProc, 0); break;
        default: break;
    }
    return DefSubclassProc(hwnd, message, wParam, lParam);
}

LRESULT Win32FormWindow::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    HWND hwnd = hwnd_;
    switch (message) {
        case WM_COMMAND:
            command(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
            return 0;
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLORLISTBOX:
            return colours(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam),
                           DefWindowProcW(hwnd, message, wParam, lParam));
        case WM_SETCURSOR: {
            const auto found = controls_.find(reinterpret_cast<HWND>(wParam));
            if (found != controls_.end() && found->second->kind() == ControlKind::Label &&
                static_cast<const Label&>(*found->second).pointingHand && LOWORD(lParam) == HTCLIENT) {
                SetCursor(LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_HAND)));
                return TRUE;
            }
            break;
        }
        case WM_ACTIVATE:
            if (LOWORD(wParam) == WA_INACTIVE) {
                if (HWND focus = GetFocus(); focus && IsChild(hwnd, focus)) lastFocus_ = focus;
            } else {
                // The focus comes back to where it was, as in a dialog.
                if (HIWORD(wParam) || (!lastFocus_ && tabOrder().empty())) DefWindowProcW(hwnd, message, wParam, lParam);
                else if (lastFocus_ && IsWindow(lastFocus_) && IsChild(hwnd, lastFocus_)) SetFocus(lastFocus_);
                else focusFirst();
                if (attached()) form_.activate();
                return 0;
            }
            break;
        case WM_SIZE:
            // The user minimised or restored the window: tell the form, which raises Resize.
            if (!mirroring_ && attached() && IsWindowVisible(hwnd) &&
                (wParam == SIZE_MINIMIZED || wParam == SIZE_RESTORED)) {
                const WindowState state = wParam == SIZE_MINIMIZED ? WindowState::Minimized : WindowState::Normal;
                if (state != form_.windowState()) form_.setWindowState(state);
            }
            return 0;
        case WM_INITMENUPOPUP:
            // Opening a menu is its Click, as on Windows; the click may change its items.
            if (!HIWORD(lParam) && attached()) {
                const auto found = popups_.find(reinterpret_cast<HMENU>(wParam));
                if (found != popups_.end()) {
                    MenuItem& item = *found->second;
                    item.click();
                    if (menusStale_ && attached()) fillMenu(reinterpret_cast<HMENU>(wParam), menuChildren(&item));
                }
            }
            return 0;
        case WM_ENTERMENULOOP: inMenu_ = true; return 0;
        case WM_EXITMENULOOP:
            inMenu_ = false;
            if (menusStale_) menuChanged();
            return 0;
        case WM_DPICHANGED:
            changeDpi(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
            return 0;
        case WM_DESTROY:
            // Annotations outlive their window unless cleared; the children are still here.
            for (HWND child : annotated_) annotations_->clear(child);
            annotated_.clear();
            break;
        case WM_CLOSE:
            // The close box: the form unloads, then the window goes.
            if (!form_.closed()) form_.close();
            else closeWindow();
            return 0;
        case WM_NCDESTROY: {
            hwnd_ = nullptr;
            tooltip_ = nullptr;
            for (auto& [key, made] : fonts_) DeleteObject(made);
            fonts_.clear();
            for (auto& [colour, made] : brushes_) DeleteObject(made);
            brushes_.clear();
            windows_.clear();
            controls_.clear();
            popups_.clear();
            SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
            for (auto& [timer, ticker] : tickers_) ticker->stop();
            if (form_.view() == this) form_.attach(nullptr);
            if (auto closed = onClosed) closed();
            return DefWindowProcW(hwnd, message, wParam, lParam);
        }
        default: break;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

bool translateFormMessage(MSG& msg) {
    if (!msg.hwnd || msg.message < WM_KEYFIRST || msg.message > WM_KEYLAST) return false;
    HWND top = GetAncestor(msg.hwnd, GA_ROOT);
    if (!top || !formClass || GetClassLongPtrW(top, GCW_ATOM) != formClass) return false;
    auto* self = reinterpret_cast<Win32FormWindow*>(GetWindowLongPtrW(top, GWLP_USERDATA));
    if (msg.message == WM_KEYDOWN && msg.wParam == VK_TAB && GetKeyState(VK_CONTROL) >= 0) {
        if (self) self->tab(GetKeyState(VK_SHIFT) < 0);
        return true;
    }
    if (msg.message == WM_KEYDOWN && msg.wParam == VK_RETURN && self && self->pressFocusedButton()) return true;
    return IsDialogMessageW(top, &msg) != FALSE;
}

}  // namespace durmivela::win32
