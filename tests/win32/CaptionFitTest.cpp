// Every caption of the three windows fits its control at 96 and 144 dpi, in
// every language in Leng/: measured with the control's own font on its own DC,
// within the room Windows' drawing leaves.
#include "platform/Cp1252.h"
#include "platform/win32/Win32FormWindow.h"
#include "platform/win32/WinText.h"
#include "tests/scheduler/ScheduleFixture.h"
#include "tests/util/TestFolder.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace durmivela::win32 {
namespace {

struct Room { int width = 0, lines = 0; };

// The room a control's drawing leaves its caption: a label its client area
// (a sunken border lies outside it); a frame its top edge less the 7 pixels
// at each end and the 1 cleared around the text; a push button its face less
// its 2-pixel edge and the focus rectangle; an option or check box the width
// after its 13-pixel mark and the gap of half a "0" (and the focus
// rectangle's pixel). Wrapping controls take as many lines as their height
// holds; the others one, if their height holds it.
Room roomFor(const Control& control, HWND child, HDC dc, int lineHeight, int internalLeading, int dpi) {
    RECT client{};
    GetClientRect(child, &client);
    const auto style = static_cast<DWORD>(GetWindowLongPtrW(child, GWL_STYLE));
    const auto scaled = [dpi](int pixels) { return MulDiv(pixels, dpi, 96); };
    const int height = client.bottom - client.top;
    int width = client.right - client.left;
    bool wraps = false;
    switch (control.kind()) {
        case ControlKind::Label: {
            const DWORD type = style & SS_TYPEMASK;
            wraps = type == SS_LEFT || type == SS_CENTER;
            break;
        }
        case ControlKind::Frame: width -= 2 * scaled(7) + 2; break;
        case ControlKind::CommandButton: width -= 2 * (scaled(2) + 1); break;
        case ControlKind::OptionButton:
        case ControlKind::CheckBox: {
            INT zero = 0;
            GetCharWidth32W(dc, L'0', L'0', &zero);
            width -= scaled(13) + zero / 2 + 1;
            wraps = (style & BS_MULTILINE) != 0;
            break;
        }
        default: return {};
    }
    // A line shows whole in its height less the internal leading at its top
    // (where only accents go); a button centres its lines, a label stacks them
    // from its top.
    const int leading = control.kind() == ControlKind::Label ? 0 : internalLeading;
    const int fitting = (height + leading) / lineHeight;
    return {width, wraps ? fitting : std::min(fitting, 1)};
}

// Every shown caption of the window fits its room, measured and wrapped by
// DrawText as the control draws it; `only` names the one control to look at.
void expectCaptionsFit(Form& form, Win32FormWindow& window, const std::string& where, const std::string& only = {}) {
    for (const auto& control : form.controls()) {
        HWND child = window.windowOf(*control);
        if (!child || !IsWindowVisible(child) || (!only.empty() && control->name() != only)) continue;
        wchar_t caption[1024] = {};
        int length = GetWindowTextW(child, caption, 1024);
        while (length > 0 && caption[length - 1] == L' ') --length;  // blanks at the end show nothing
        if (length == 0 || control->kind() == ControlKind::TextBox || control->kind() == ControlKind::ComboBox)
            continue;
        HDC dc = GetDC(child);
        const HGDIOBJ previous = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(child, WM_GETFONT, 0, 0)));
        TEXTMETRICW metrics{};
        GetTextMetricsW(dc, &metrics);
        const Room room = roomFor(*control, child, dc, metrics.tmHeight, metrics.tmInternalLeading, window.dpi());
        // A word wider than the room widens the rectangle.
        RECT need{0, 0, room.width, 0};
        DrawTextW(dc, caption, length, &need, DT_CALCRECT | (room.lines > 1 ? DT_WORDBREAK : DT_SINGLELINE));
        const int lines = need.bottom / metrics.tmHeight;
        EXPECT_TRUE(need.right <= room.width && lines <= room.lines)
            << where << ", " << control->name() << ": \"" << utf8(std::wstring(caption, length)) << "\" is "
            << need.right << " px on " << lines << " line(s); room " << room.width << " px, " << room.lines
            << " line(s)";
        SelectObject(dc, previous);
        ReleaseDC(child, dc);
    }
}

class CaptionsFit : public durmivela::testing::MainWindowTest {
protected:
    // At 96 dpi, then after the window moved to a 144-dpi monitor; the main
    // window's hint label with each hint of the language in turn.
    void expectFitAtBothScales(Form& form, const std::string& name) {
        Win32FormWindow window(form, fake.clock);
        MSG msg{};
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
        for (int dpi : {96, 144}) {
            RECT frame{};
            GetWindowRect(window.hwnd(), &frame);
            SendMessageW(window.hwnd(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&frame));
            const std::string where = name + " at " + std::to_string(dpi) + " dpi";
            expectCaptionsFit(form, window, where);
            if (auto* main = dynamic_cast<frmPrincipal*>(&form); main && main->lblAviso.visible()) {
                for (int hint : {16, 15, 10, 9}) {
                    main->lblAviso.setCaption(lenguaje_.L(hint));
                    expectCaptionsFit(form, window, where, "lblAviso");
                }
            }
        }
    }
};

TEST_F(CaptionsFit, EveryCaptionOfEveryWindowInEveryShippedLanguage) {
    const std::vector<std::string> languages = durmivela::testing::shippedLanguages();
    ASSERT_GE(languages.size(), 2u);
    fake.system.known = false;  // the longest system name the dialog shows
    for (const std::string& language : languages) {
        for (int tipo : {1, 2})
            expectFitAtBothScales(start(tipo, 4, utf8ToCp1252(language)), language + ", Tipo=" + std::to_string(tipo));
        forEachDialog([&](Form& form) { expectFitAtBothScales(form, language + ", " + form.name()); });
    }
}

}  // namespace
}  // namespace durmivela::win32
