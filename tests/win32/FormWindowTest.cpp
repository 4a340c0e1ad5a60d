// The Win32 rendering of the form model under Wine: the user's actions reach
// the model, the model's changes show, screen readers get the model's names.
#include "about/frmAbout.h"
#include "platform/win32/Win32FormHost.h"
#include "platform/win32/Win32FormWindow.h"
#include "platform/win32/WinText.h"
#include "settings/frmConfiguracion.h"
#include "tests/scheduler/ScheduleFixture.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <utility>

namespace durmivela::win32 {
namespace {

std::string textOf(HWND hwnd) {
    wchar_t text[256] = {};
    GetWindowTextW(hwnd, text, 256);
    return utf8(text);
}

// Dynamic Annotation as a screen reader would find it.
class RecordedAnnotations : public AccessibleAnnotations {
public:
    std::map<HWND, std::pair<std::string, std::string>> props;  // name, description
    void annotate(HWND window, const std::wstring& name, const std::wstring& description) override {
        props[window] = {utf8(name), utf8(description)};
    }
    void clear(HWND window) override { props.erase(window); }
    std::pair<std::string, std::string> of(HWND window) const {
        return props.contains(window) ? props.at(window) : std::pair<std::string, std::string>{};
    }
};

class Win32MainWindow : public testing::MainWindowTest {};

TEST_F(Win32MainWindow, HandsTheUsersChoiceToTheModelAndMirrorsIt) {
    frmPrincipal& form = start(2, 4);
    Win32FormWindow window(form, fake.clock);
    HWND combo = window.windowOf(form.cmbApagar);
    // The user picks a preset: the model's choice, then its Click.
    fake.clock.now = {9, 5, 3};
    SendMessageW(combo, CB_SETCURSEL, 0, 0);
    SendMessageW(window.hwnd(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(combo), CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(combo));
    EXPECT_EQ(form.cmbApagar.listIndex(), 0);
    EXPECT_EQ(textOf(window.windowOf(form.lblHoraApa)), "09:10:03");
    form.cmbApagar.setListIndex(3);
    EXPECT_EQ(SendMessageW(combo, CB_GETCURSEL, 0, 0), 3);

    // Menus: opening one is its Click, the model greys and ungreys.
    HMENU bar = GetMenu(window.hwnd());
    EXPECT_TRUE(GetMenuState(GetSubMenu(bar, 0), 1, MF_BYPOSITION) & MF_GRAYED);
    form.mnuLog.setEnabled(true);
    EXPECT_FALSE(GetMenuState(GetSubMenu(bar, 0), 1, MF_BYPOSITION) & MF_GRAYED);
    int opened = 0;
    form.mnuAyuda.onClick = [&opened] { ++opened; };
    SendMessageW(window.hwnd(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(GetSubMenu(bar, 1)), MAKELPARAM(1, FALSE));
    EXPECT_EQ(opened, 1);
}

// Moved to a monitor of 144 dpi and back: the window takes the suggested
// place, the client area its design twips at the new scale, the fonts their
// points; the fonts of the old scale are gone. (The controls' places show in
// the caption-fit test at 144 dpi.)
TEST_F(Win32MainWindow, FollowsTheMonitorsDpi) {
    frmPrincipal& form = start(2, 4);
    Win32FormWindow window(form, fake.clock);
    const auto fontOf = [&window](const Control& control) {
        LOGFONTW font{};
        const auto handle = reinterpret_cast<HFONT>(SendMessageW(window.windowOf(control), WM_GETFONT, 0, 0));
        GetObjectW(handle, sizeof font, &font);
        return std::make_pair(handle, font);
    };
    const HFONT before = fontOf(form.lblAviso).first;
    struct Scale {
        int dpi;
        long clientWidth, clientHeight, textHeight;
    };
    // 4680 x 3945 twips; Verdana 8.25 points.
    for (const Scale& scale : {Scale{144, 468, 395, -17}, Scale{96, 312, 263, -11}}) {
        RECT frame{};
        GetWindowRect(window.hwnd(), &frame);
        // A suggestion a few pixels off: the client area is the design's all the same.
        RECT suggested{frame.left + 40, frame.top + 30, frame.left + 40 + (frame.right - frame.left) * scale.dpi / 96 + 5,
                       frame.top + 30 + (frame.bottom - frame.top) * scale.dpi / 96};
        SendMessageW(window.hwnd(), WM_DPICHANGED, MAKEWPARAM(scale.dpi, scale.dpi), reinterpret_cast<LPARAM>(&suggested));
        RECT now{}, client{};
        GetWindowRect(window.hwnd(), &now);
        GetClientRect(window.hwnd(), &client);
        EXPECT_EQ(now.left, suggested.left);
        EXPECT_EQ(now.top, suggested.top);
        EXPECT_EQ(client.right, scale.clientWidth) << scale.dpi;
        EXPECT_EQ(client.bottom, scale.clientHeight) << scale.dpi;
        EXPECT_EQ(fontOf(form.lblAviso).second.lfHeight, scale.textHeight) << scale.dpi;
        EXPECT_EQ(fontOf(form.fmeConf).second.lfWeight, FW_BOLD);
    }
    LOGFONTW gone{};
    EXPECT_EQ(GetObjectW(before, sizeof gone, &gone), 0);  // the 96-dpi fonts were deleted at the first move
}

TEST_F(Win32MainWindow, NamesAndDescriptionsComeFromTheModelAndFollowTheLanguage) {
    RecordedAnnotations annotations;
    frmPrincipal& main = start(1, 4);
    {
        Win32FormWindow window(main, fake.clock, &annotations);
        HWND hora = window.windowOf(main.txtHora);
        const std::string tipo1 = "Escriba la hora y el minuto del apagado y pulse ACEPTAR.";
        EXPECT_EQ(annotations.of(hora), std::make_pair(std::string("Apagar a las (hora)"), tipo1));
        // A button's own caption names it; its hint describes it.
        EXPECT_EQ(annotations.of(window.windowOf(main.cmdAceptar)), std::make_pair(std::string(), tipo1));
        // The label just before its control, for Windows' own naming and the mnemonic.
        EXPECT_EQ(GetWindow(hora, GW_HWNDPREV), window.windowOf(main.lblApagarA));
        EXPECT_EQ(GetWindow(window.windowOf(main.cmbApagar), GW_HWNDPREV), window.windowOf(main.lblApagar));

        // Another language renames and redescribes at once; so does a new hint.
        configuracion.Lenguaje = "English";
        main.AplicarConfiguracion();
        const std::string english = "Type the hour and minute of the shutdown and press ACCEPT.";
        EXPECT_EQ(annotations.of(hora), std::make_pair(std::string("Shut down at (hour)"), english));
        main.lblAviso.setCaption("Otra &pista: ");
        EXPECT_EQ(annotations.of(window.windowOf(main.cmdAceptar)).second, "Otra pista");
    }
    EXPECT_TRUE(annotations.props.empty());  // annotations do not outlive their windows
}

// Tab follows the design's order in and out of the frames; Return presses
// the focused push button, not only the default one; Escape the cancel one.
TEST_F(Win32MainWindow, DialogKeys) {
    start(2, 4);
    frmConfiguracion settings(fake.plataforma, configuracion, lenguaje_);
    settings.Form_Load();
    settings.show();
    Win32FormWindow window(settings, fake.clock);
    EXPECT_EQ(GetFocus(), window.windowOf(settings.chkLog));
    for (const Control* next : std::initializer_list<const Control*>{
             &settings.cmdAceptar, &settings.cmdAplicar, &settings.cmdCancelar, &settings.opbEstablecerDirecto,
             &settings.opbEstablecerCalculos, &settings.cmbLenguaje, &settings.chkCaptura, &settings.chkLog}) {
        MSG tab{GetFocus(), WM_KEYDOWN, VK_TAB, 0, 0, {}};
        EXPECT_TRUE(translateFormMessage(tab));
        EXPECT_EQ(GetFocus(), window.windowOf(*next)) << next->name();
    }

    frmAbout about(fake.plataforma, lenguaje_);
    about.Form_Load();
    about.show();
    Win32FormWindow aboutWindow(about, fake.clock);
    HWND sysInfo = aboutWindow.windowOf(about.cmdSysInfo);
    SetFocus(sysInfo);
    MSG enter{sysInfo, WM_KEYDOWN, VK_RETURN, 0, 0, {}};
    EXPECT_TRUE(translateFormMessage(enter));
    EXPECT_EQ(fake.messages.shown.size(), 1u);  // the system information tool is not found
    EXPECT_FALSE(about.closed());
    MSG escape{sysInfo, WM_KEYDOWN, VK_ESCAPE, 0, 0, {}};
    EXPECT_TRUE(translateFormMessage(escape));
    EXPECT_TRUE(about.closed());
    EXPECT_EQ(aboutWindow.hwnd(), nullptr);
}

// A form with a control of each kind the user acts on, its frame bold as
// the program's are.
class SmallForm : public Form {
public:
    SmallForm() : Form("frmSmall", Twips{0, 0, 3000, 1500}) {
        onUnload = [this] { ++unloads; };
        chk.onClick = [this] { ++clicks; };
        opt2.onClick = [this] { ++clicks; };
        fme.font.bold = true;
    }
    Frame& fme = add<Frame>("fme", nullptr, Twips{60, 60, 2880, 900});
    TextBox& txt = add<TextBox>("txt", &fme, Twips{120, 240, 1200, 285});
    OptionButton& opt1 = add<OptionButton>("opt1", &fme, Twips{1440, 240, 1200, 255});
    OptionButton& opt2 = add<OptionButton>("opt2", &fme, Twips{1440, 540, 1200, 255});
    Label& lbl = add<Label>("lbl", nullptr, Twips{120, 1020, 1500, 255});
    CheckBox& chk = add<CheckBox>("chk", nullptr, Twips{1680, 1020, 1200, 255});
    Timer& tmr = add<Timer>("tmr", 20, false);
    int unloads = 0, clicks = 0;
};

// Real time: the host's own loops must run the form's thread timer.
class SteadyClock : public testing::FakeClock {
public:
    std::int64_t monotonicMs() const override { return static_cast<std::int64_t>(GetTickCount64()); }
};

class Win32SmallForm : public ::testing::Test {
protected:
    Win32SmallForm() { form.show(); }
    SteadyClock clock;
    SmallForm form;
    Win32FormWindow window{form, clock};
    Win32FormHost host{clock};
    int ticks = 0;
};

TEST_F(Win32SmallForm, UserActionsReachTheModelAndModelChangesShowWithoutEcho) {
    form.lbl.setCaption("&Hora && minuto");
    EXPECT_EQ(textOf(window.windowOf(form.lbl)), "&Hora && minuto");  // Windows draws the mnemonic

    // Typing in the middle: an echo of the model's change would move the caret.
    form.txt.setText("13");
    HWND edit = window.windowOf(form.txt);
    SendMessageW(edit, EM_SETSEL, 1, 1);
    SendMessageW(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(L"2"));
    EXPECT_EQ(form.txt.text(), "123");
    DWORD caret = 0;
    SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&caret), 0);
    EXPECT_EQ(caret, 2u);
    form.txt.setText("7");
    EXPECT_EQ(textOf(edit), "7");

    // The model decides the options (radio buttons to a screen reader) and
    // the check box, a click included.
    HWND opt2 = window.windowOf(form.opt2), chk = window.windowOf(form.chk);
    EXPECT_EQ(GetWindowLongPtrW(opt2, GWL_STYLE) & BS_TYPEMASK, BS_RADIOBUTTON);
    SendMessageW(opt2, BM_CLICK, 0, 0);
    EXPECT_EQ(form.opt2.value(), 1);
    EXPECT_EQ(SendMessageW(opt2, BM_GETCHECK, 0, 0), BST_CHECKED);
    form.opt1.choose();
    EXPECT_EQ(SendMessageW(opt2, BM_GETCHECK, 0, 0), BST_UNCHECKED);
    form.chk.setValue(2);
    EXPECT_EQ(SendMessageW(chk, BM_GETCHECK, 0, 0), BST_INDETERMINATE);
    SendMessageW(chk, BM_CLICK, 0, 0);
    EXPECT_EQ(form.chk.value(), 1);
    EXPECT_EQ(SendMessageW(chk, BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(form.clicks, 2);
}

// A themed option box has its frame paint the background into the box's own
// device context before it draws its caption there: the frame's bold font
// must not stay behind (Wine drew the schedule options in it, cut).
TEST_F(Win32SmallForm, AFramePaintingUnderAControlLeavesTheControlsFont) {
    HWND option = window.windowOf(form.opt1);
    HDC dc = GetDC(option);
    const auto own = reinterpret_cast<HGDIOBJ>(SendMessageW(option, WM_GETFONT, 0, 0));
    ASSERT_NE(own, reinterpret_cast<HGDIOBJ>(SendMessageW(window.windowOf(form.fme), WM_GETFONT, 0, 0)));
    SelectObject(dc, own);
    SendMessageW(window.windowOf(form.fme), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
    EXPECT_EQ(GetCurrentObject(dc, OBJ_FONT), own);
    ReleaseDC(option, dc);
}

// Minimising and restoring are the end-to-end test's (tests/e2e/win32.sh).
TEST_F(Win32SmallForm, TheCloseBoxUnloadsTheFormThenTheWindowGoes) {
    int closed = 0;
    window.onClosed = [&closed] { ++closed; };
    HWND hwnd = window.hwnd();
    SendMessageW(hwnd, WM_CLOSE, 0, 0);
    EXPECT_TRUE(form.closed());
    EXPECT_EQ(form.unloads, 1);
    EXPECT_FALSE(IsWindow(hwnd));
    EXPECT_EQ(closed, 1);
    EXPECT_EQ(form.view(), nullptr);
}

// Under a dialog or a step run aside the form's timer ticks but the form
// takes no input. A quit asked meanwhile unloads the dialog and reaches the
// outer loop after the step; a key typed meanwhile is dropped, not typed
// once the step is done.
TEST_F(Win32SmallForm, ADialogOrAStepAsideLeavesTheTimersTickingAndTheUserOut) {
    SmallForm dialog;
    bool disabled = false;
    form.tmr.onTimer = [&] {
        disabled = !IsWindowEnabled(window.hwnd());
        if (++ticks == 3) PostQuitMessage(3);
    };
    form.tmr.setEnabled(true);
    host.showModal(dialog);
    EXPECT_EQ(ticks, 3);
    EXPECT_TRUE(disabled);
    EXPECT_EQ(dialog.unloads, 1);
    MSG msg{};
    ASSERT_TRUE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 3u);

    ticks = 0;
    disabled = false;
    form.tmr.onTimer = [&] {
        ++ticks;
        disabled = !IsWindowEnabled(window.hwnd());
    };
    const DWORD thread = GetCurrentThreadId();
    HWND edit = window.windowOf(form.txt);
    host.runAside([&] {
        PostMessageW(edit, WM_CHAR, L'2', 0);
        PostThreadMessageW(thread, WM_QUIT, 7, 0);
        Sleep(300);
    });
    form.tmr.setEnabled(false);
    EXPECT_GE(ticks, 3);
    EXPECT_TRUE(disabled);
    EXPECT_TRUE(IsWindowEnabled(window.hwnd()));
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE) && msg.message != WM_QUIT) DispatchMessageW(&msg);
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
    EXPECT_EQ(msg.wParam, 7u);
    EXPECT_EQ(form.txt.text(), "");
}

}  // namespace
}  // namespace durmivela::win32
