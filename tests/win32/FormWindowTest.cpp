#include "about/frmAbout.h"
#include "platform/win32/Win32FormHost.h"
#include "platform/win32/Win32FormWindow.h"
#include "platform/win32/Win32MessageBoxes.h"
#include "platform/win32/WinText.h"
#include "settings/frmConfiguracion.h"
#include "tests/scheduler/ScheduleFixture.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace durmivela::win32 {
namespace {

std::string textOf(HWND hwnd) {
    wchar_t text[256] = {};
    GetWindowTextW(hwnd, text, 256);
    return utf8(text);
}

LRESULT command(HWND control, WORD code) {
    return SendMessageW(GetParent(control), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(control), code),
                        reinterpret_cast<LPARAM>(control));
}

class Win32MainWindow : public testing::MainWindowTest {};

// The real main window after start-up, in the delay layout, on fake services.
TEST_F(Win32MainWindow, HandsTheUsersChoiceToTheModelAndMirrorsIt) {
    frmPrincipal& form = start(2, 4);
    Win32FormWindow window(form, fake.clock);
    HWND combo = window.windowOf(form.cmbApagar);
    // The user picks a preset: the model's choice, then its Click.
    ASSERT_EQ(SendMessageW(combo, CB_GETCOUNT, 0, 0), 11);
    EXPECT_EQ(SendMessageW(combo, CB_GETCURSEL, 0, 0), CB_ERR);
    fake.clock.now = {9, 5, 3};
    SendMessageW(combo, CB_SETCURSEL, 0, 0);
    command(combo, CBN_SELCHANGE);
    EXPECT_EQ(form.cmbApagar.listIndex(), 0);
    EXPECT_EQ(textOf(window.windowOf(form.lblHoraApa)), "09:10:03");
    form.cmbApagar.setListIndex(3);
    EXPECT_EQ(SendMessageW(combo, CB_GETCURSEL, 0, 0), 3);

    // Menus: opening one is its Click, a command runs its item, the model greys and ungreys.
    HMENU bar = GetMenu(window.hwnd());
    EXPECT_TRUE(GetMenuState(GetSubMenu(bar, 0), 1, MF_BYPOSITION) & MF_GRAYED);
    form.mnuLog.setEnabled(true);
    bar = GetMenu(window.hwnd());
    EXPECT_FALSE(GetMenuState(GetSubMenu(bar, 0), 1, MF_BYPOSITION) & MF_GRAYED);
    int opened = 0;
    form.mnuAyuda.onClick = [&opened] { ++opened; };
    SendMessageW(window.hwnd(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(GetSubMenu(bar, 1)), MAKELPARAM(1, FALSE));
    EXPECT_EQ(opened, 1);
    SendMessageW(window.hwnd(), WM_COMMAND, GetMenuItemID(bar, 2), 0);
    EXPECT_EQ(fake.desktop.opened.size(), 1u);
}

// Moved to a monitor of 144 dpi and back: the window takes the suggested
// place, the client area and every control their design twips at the new
// scale, the fonts their points; the fonts of the old scale are gone.
TEST_F(Win32MainWindow, FollowsTheMonitorsDpi) {
    frmPrincipal& form = start(2, 4);
    Win32FormWindow window(form, fake.clock);
    const auto placeOf = [&window](const Control& control) {
        HWND child = window.windowOf(control);
        RECT rect{};
        GetWindowRect(child, &rect);
        MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&rect), 2);
        return std::vector<long>{rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
    };
    const auto fontOf = [&window](const Control& control) {
        LOGFONTW font{};
        const auto handle = reinterpret_cast<HFONT>(SendMessageW(window.windowOf(control), WM_GETFONT, 0, 0));
        GetObjectW(handle, sizeof font, &font);
        return std::make_pair(handle, font);
    };
    const HFONT before = fontOf(form.lblAviso).first;
    struct Scale {
        int dpi;
        long clientWidth, clientHeight;
        std::vector<long> aceptar, aviso;
        long textHeight, aproxHeight;
    };
    // 4680 x 3945 twips; cmdAceptar 360, 3375, 1335 x 375 in the window;
    // lblAviso 150, 240, 3615 x 660 in its frame; Verdana 8.25 and 6 points.
    const Scale scales[] = {{144, 468, 395, {36, 338, 134, 37}, {15, 24, 362, 66}, -17, -12},
                            {96, 312, 263, {24, 225, 89, 25}, {10, 16, 241, 44}, -11, -8}};
    for (const Scale& scale : scales) {
        RECT frame{};
        GetWindowRect(window.hwnd(), &frame);
        // A suggestion a few pixels off: the client area is the design's all the same.
        RECT suggested{frame.left + 40, frame.top + 30, frame.left + 40 + (frame.right - frame.left) * scale.dpi / 96 + 5,
                       frame.top + 30 + (frame.bottom - frame.top) * scale.dpi / 96};
        SendMessageW(window.hwnd(), WM_DPICHANGED, MAKEWPARAM(scale.dpi, scale.dpi), reinterpret_cast<LPARAM>(&suggested));
        EXPECT_EQ(window.dpi(), scale.dpi);
        RECT now{}, client{};
        GetWindowRect(window.hwnd(), &now);
        GetClientRect(window.hwnd(), &client);
        EXPECT_EQ(now.left, suggested.left);
        EXPECT_EQ(now.top, suggested.top);
        EXPECT_EQ(client.right, scale.clientWidth) << scale.dpi;
        EXPECT_EQ(client.bottom, scale.clientHeight) << scale.dpi;
        EXPECT_EQ(placeOf(form.cmdAceptar), scale.aceptar) << scale.dpi;
        EXPECT_EQ(placeOf(form.lblAviso), scale.aviso) << scale.dpi;
        EXPECT_EQ(fontOf(form.lblAviso).second.lfHeight, scale.textHeight) << scale.dpi;
        EXPECT_EQ(fontOf(form.lblAprox).second.lfHeight, scale.aproxHeight) << scale.dpi;
        EXPECT_EQ(fontOf(form.fmeConf).second.lfWeight, FW_BOLD);
    }
    LOGFONTW gone{};
    EXPECT_EQ(GetObjectW(before, sizeof gone, &gone), 0);  // the 96-dpi fonts were deleted at the first move
}

TEST_F(Win32MainWindow, DialogsTabInDesignOrderAndEscapePressesTheCancelButton) {
    start(2, 4);
    frmConfiguracion settings(fake.plataforma, configuracion, lenguaje_);
    settings.Form_Load();
    settings.show();
    Win32FormWindow window(settings, fake.clock);
    // Tab goes in and out of the frames by the design's order.
    std::vector<HWND> order{GetFocus()};
    for (int i = 0; i < 8; ++i) {
        MSG tab{order.back(), WM_KEYDOWN, VK_TAB, 0, 0, {}};
        EXPECT_TRUE(translateFormMessage(tab));
        order.push_back(GetFocus());
    }
    const Control* expected[] = {&settings.chkLog, &settings.cmdAceptar, &settings.cmdAplicar,
                                 &settings.cmdCancelar, &settings.opbEstablecerDirecto,
                                 &settings.opbEstablecerCalculos, &settings.cmbLenguaje,
                                 &settings.chkCaptura, &settings.chkLog};
    for (int i = 0; i < 9; ++i) EXPECT_EQ(order[i], window.windowOf(*expected[i])) << i;

    frmAbout about(fake.plataforma, lenguaje_);
    about.Form_Load();
    about.show();
    Win32FormWindow aboutWindow(about, fake.clock);
    MSG escape{aboutWindow.windowOf(about.cmdSysInfo), WM_KEYDOWN, VK_ESCAPE, 0, 0, {}};
    EXPECT_TRUE(translateFormMessage(escape));
    EXPECT_TRUE(about.closed());
    EXPECT_EQ(aboutWindow.hwnd(), nullptr);
}

// A form with a control of each kind the user acts on.
class SmallForm : public Form {
public:
    SmallForm() : Form("frmSmall", Twips{0, 0, 3000, 1500}) {
        onUnload = [this] { ++unloads; };
        onResize = [this] { ++resizes; };
        chk.onClick = [this] { ++clicks; };
        opt2.onClick = [this] { ++clicks; };
    }
    Frame& fme = add<Frame>("fme", nullptr, Twips{60, 60, 2880, 900});
    TextBox& txt = add<TextBox>("txt", &fme, Twips{120, 240, 1200, 285});
    OptionButton& opt1 = add<OptionButton>("opt1", &fme, Twips{1440, 240, 1200, 255});
    OptionButton& opt2 = add<OptionButton>("opt2", &fme, Twips{1440, 540, 1200, 255});
    Label& lbl = add<Label>("lbl", nullptr, Twips{120, 1020, 1500, 255});
    CheckBox& chk = add<CheckBox>("chk", nullptr, Twips{1680, 1020, 1200, 255});
    Timer& tmr = add<Timer>("tmr", 20, false);
    int unloads = 0, resizes = 0, clicks = 0;
};

TEST(Win32FormWindow, UserActionsReachTheModelAndModelChangesShowWithoutEcho) {
    testing::FakeClock clock;
    SmallForm form;
    form.txt.setText("13");
    form.lbl.setCaption("&Hora && minuto");
    form.show();
    Win32FormWindow window(form, clock);
    EXPECT_EQ(textOf(window.windowOf(form.lbl)), "&Hora && minuto");  // Windows draws the mnemonic

    // Typing in the middle: an echo of the model's change would move the caret.
    HWND edit = window.windowOf(form.txt);
    SendMessageW(edit, EM_SETSEL, 1, 1);
    SendMessageW(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(L"2"));
    EXPECT_EQ(form.txt.text(), "123");
    DWORD caret = 0;
    SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&caret), 0);
    EXPECT_EQ(caret, 2u);
    form.txt.setText("7");
    EXPECT_EQ(textOf(edit), "7");

    // The model decides the options and the check box, a click included.
    SendMessageW(window.windowOf(form.opt2), BM_CLICK, 0, 0);
    EXPECT_EQ(form.opt2.value(), 1);
    EXPECT_EQ(SendMessageW(window.windowOf(form.opt2), BM_GETCHECK, 0, 0), BST_CHECKED);
    SendMessageW(window.windowOf(form.opt2), BM_CLICK, 0, 0);  // the chosen one: nothing happens
    form.opt1.choose();
    EXPECT_EQ(SendMessageW(window.windowOf(form.opt2), BM_GETCHECK, 0, 0), BST_UNCHECKED);
    form.chk.setValue(2);
    EXPECT_EQ(SendMessageW(window.windowOf(form.chk), BM_GETCHECK, 0, 0), BST_INDETERMINATE);
    SendMessageW(window.windowOf(form.chk), BM_CLICK, 0, 0);
    EXPECT_EQ(form.chk.value(), 1);
    EXPECT_EQ(SendMessageW(window.windowOf(form.chk), BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(form.clicks, 2);
}

// A themed option box has its frame paint the background into the box's own
// device context before it draws its caption there: the frame's bold font
// must not stay behind (Wine drew the schedule options in it, cut).
TEST(Win32FormWindow, AFramePaintingUnderAControlLeavesTheControlsFont) {
    testing::FakeClock clock;
    SmallForm form;
    form.fme.font.bold = true;
    form.show();
    Win32FormWindow window(form, clock);
    HWND option = window.windowOf(form.opt1);
    HDC dc = GetDC(option);
    const auto own = reinterpret_cast<HGDIOBJ>(SendMessageW(option, WM_GETFONT, 0, 0));
    ASSERT_NE(own, reinterpret_cast<HGDIOBJ>(SendMessageW(window.windowOf(form.fme), WM_GETFONT, 0, 0)));
    SelectObject(dc, own);
    SendMessageW(window.windowOf(form.fme), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
    EXPECT_EQ(GetCurrentObject(dc, OBJ_FONT), own);
    ReleaseDC(option, dc);
}

TEST(Win32FormWindow, WindowStateAndClosingGoBothWays) {
    testing::FakeClock clock;
    SmallForm form;
    form.show();
    Win32FormWindow window(form, clock);
    int closed = 0;
    window.onClosed = [&closed] { ++closed; };
    ShowWindow(window.hwnd(), SW_MINIMIZE);
    EXPECT_EQ(form.windowState(), WindowState::Minimized);
    EXPECT_EQ(form.resizes, 1);
    form.setWindowState(WindowState::Normal);
    EXPECT_FALSE(IsIconic(window.hwnd()));
    EXPECT_EQ(form.resizes, 2);

    // The close box unloads the form, then the window goes.
    HWND hwnd = window.hwnd();
    SendMessageW(hwnd, WM_CLOSE, 0, 0);
    EXPECT_TRUE(form.closed());
    EXPECT_EQ(form.unloads, 1);
    EXPECT_FALSE(IsWindow(hwnd));
    EXPECT_EQ(closed, 1);
    EXPECT_EQ(form.view(), nullptr);
}

// Real time: the host's own loops must run the owner's thread timer.
class SteadyClock : public testing::FakeClock {
public:
    std::int64_t monotonicMs() const override { return static_cast<std::int64_t>(GetTickCount64()); }
};

class TickingOwner : public ::testing::Test {
protected:
    TickingOwner() { owner.show(); }
    SteadyClock clock;
    SmallForm owner;
    Win32FormWindow window{owner, clock};
    Win32FormHost host{clock};
    int ticks = 0;
};

TEST_F(TickingOwner, ModalDialogDisablesItsOwnerWhoseTimerKeepsTicking) {
    SmallForm dialog, quitting;
    bool ownerDisabled = false;
    owner.tmr.onTimer = [&] {
        ownerDisabled = !IsWindowEnabled(window.hwnd());
        if (++ticks == 3) dialog.close();
    };
    owner.tmr.setEnabled(true);
    host.showModal(dialog);
    EXPECT_EQ(ticks, 3);
    EXPECT_TRUE(ownerDisabled);
    EXPECT_TRUE(IsWindowEnabled(window.hwnd()));
    EXPECT_EQ(dialog.unloads, 1);

    // The program quitting under a dialog still unloads it; the outer loop hears the quit.
    owner.tmr.onTimer = [] { PostQuitMessage(3); };
    host.showModal(quitting);
    owner.tmr.setEnabled(false);
    EXPECT_EQ(quitting.unloads, 1);
    MSG msg{};
    ASSERT_TRUE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 3u);
}

// A step run aside: the thread's windows tick but take no input, and a key
// typed then is dropped, not typed once the step is done; a quit asked
// meanwhile comes after the step.
TEST_F(TickingOwner, AStepRunAsideLeavesTheTimersTickingAndTheUserOut) {
    owner.txt.setText("1");
    bool disabled = false;
    owner.tmr.onTimer = [&] {
        ++ticks;
        disabled = !IsWindowEnabled(window.hwnd());
    };
    owner.tmr.setEnabled(true);
    const DWORD thread = GetCurrentThreadId();
    HWND edit = window.windowOf(owner.txt);
    host.runAside([&] {
        PostMessageW(edit, WM_CHAR, L'2', 0);
        PostThreadMessageW(thread, WM_QUIT, 7, 0);
        Sleep(300);
    });
    owner.tmr.setEnabled(false);
    EXPECT_GE(ticks, 3);
    EXPECT_TRUE(disabled);
    EXPECT_TRUE(IsWindowEnabled(window.hwnd()));
    MSG msg{};
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE) && msg.message != WM_QUIT) DispatchMessageW(&msg);
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
    EXPECT_EQ(msg.wParam, 7u);
    EXPECT_EQ(owner.txt.text(), "1");
}

// The box's own loop runs the timers; the title comes through as UTF-16.
TEST_F(TickingOwner, TicksGoOnUnderAMessageBox) {
    owner.tmr.onTimer = [this] {
        HWND box = FindWindowW(L"#32770", L"T\u00edtulo");
        if (++ticks >= 3 && box) PostMessageW(box, WM_COMMAND, IDOK, 0);
        else if (ticks > 200) PostQuitMessage(0);  // not found: the box ends anyway
    };
    owner.tmr.setEnabled(true);
    Win32MessageBoxes().show("Texto", "T\xC3\xADtulo", MessageIcon::Warning);
    owner.tmr.setEnabled(false);
    EXPECT_GE(ticks, 3);
    EXPECT_LT(ticks, 200);
}

}  // namespace
}  // namespace durmivela::win32
