// The Win32 rendering of the form model under Wine: the user's actions reach
// the model, the model's changes show, screen readers get the model's names.
#include "platform/AccessibleText.h"
#include "platform/win32/Win32FormHost.h"
#include "platform/win32/Win32FormWindow.h"
#include "platform/win32/Win32Services.h"
#include "platform/win32/WinText.h"
#include "tests/scheduler/ScheduleFixture.h"

#include <windows.h>
#include <oleacc.h>

#include <gtest/gtest.h>

#include <map>
#include <stdexcept>
#include <string>
#include <utility>

namespace durmivela::win32 {
namespace {

// Dynamic Annotation as a screen reader would find it.
class RecordedAnnotations : public AccessibleAnnotations {
public:
    std::map<HWND, std::pair<std::string, std::string>> props;  // name, description
    void annotate(HWND window, const std::wstring& name, const std::wstring& description) override {
        props[window] = {utf8(name), utf8(description)};
    }
    void clear(HWND window) override { props.erase(window); }
};

class Win32MainWindow : public testing::MainWindowTest {};

// Moved to a monitor of 144 dpi: the client area takes its design twips
// (4680 x 3945) and the fonts their points (Verdana 8.25) at the new scale;
// the fonts of the old scale are gone.
TEST_F(Win32MainWindow, FollowsTheMonitorsDpi) {
    frmPrincipal& form = start(2, 4);
    Win32FormWindow window(form, fake.clock);
    HWND label = window.windowOf(form.lblAviso);
    const auto before = reinterpret_cast<HFONT>(SendMessageW(label, WM_GETFONT, 0, 0));
    RECT frame{}, client{}, placed{};
    GetWindowRect(window.hwnd(), &frame);
    OffsetRect(&frame, 40, 30);  // where Windows suggests it goes
    SendMessageW(window.hwnd(), WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&frame));
    GetClientRect(window.hwnd(), &client);
    GetWindowRect(window.hwnd(), &placed);
    EXPECT_EQ(std::make_pair(placed.left, placed.top), std::make_pair(frame.left, frame.top));
    EXPECT_EQ(client.right, 468);
    EXPECT_EQ(client.bottom, 395);
    LOGFONTW font{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(label, WM_GETFONT, 0, 0)), sizeof font, &font);
    EXPECT_EQ(font.lfHeight, -17);
    EXPECT_EQ(GetObjectW(before, sizeof font, &font), 0);
}

TEST_F(Win32MainWindow, NamesAndDescriptionsComeFromTheModelAndFollowTheLanguage) {
    RecordedAnnotations annotations;
    frmPrincipal& main = start(1, 4);
    {
        Win32FormWindow window(main, fake.clock, &annotations);
        HWND hora = window.windowOf(main.txtHora);
        const std::string tipo1 = "Escriba la hora y el minuto del apagado y pulse ACEPTAR.";
        EXPECT_EQ(annotations.props.at(hora), std::make_pair(std::string("Apagar a las (hora)"), tipo1));
        // The label just before its control, for Windows' own naming and the mnemonic.
        EXPECT_EQ(GetWindow(hora, GW_HWNDPREV), window.windowOf(main.lblApagarA));

        // Another language renames and redescribes at once.
        configuracion.Lenguaje = "English";
        main.AplicarConfiguracion();
        const std::string english = "Type the hour and minute of the shutdown and press ACCEPT.";
        EXPECT_EQ(annotations.props.at(hora), std::make_pair(std::string("Shut down at (hour)"), english));
    }
    EXPECT_TRUE(annotations.props.empty());  // annotations do not outlive their windows
}

// What a screen reader reads through oleacc from each focusable control of the
// three windows: on Windows the model's names (a button's caption, else the
// annotation) and the controls' roles. Wine's oleacc knows no annotation,
// names an edit by the static window before it (its label, so the z-order
// matters), a combo box by its text, and calls all but an edit "client".
TEST_F(Win32MainWindow, OleaccReadsTheNameAndRoleOfEveryFocusableControl) {
    constexpr GUID kIidIAccessible{0x618736e0, 0x3c3d, 0x11cf, {0x81, 0x0c, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71}};
    const std::map<ControlKind, long> roles{{ControlKind::TextBox, ROLE_SYSTEM_TEXT},
                                            {ControlKind::ComboBox, ROLE_SYSTEM_COMBOBOX},
                                            {ControlKind::OptionButton, ROLE_SYSTEM_RADIOBUTTON},
                                            {ControlKind::CheckBox, ROLE_SYSTEM_CHECKBUTTON},
                                            {ControlKind::CommandButton, ROLE_SYSTEM_PUSHBUTTON}};
    const bool wine = GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
    ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
    int reads = 0;
    const auto expectReadable = [&](const Form& form, const Win32FormWindow& window) {
        for (const auto& control : form.controls()) {
            const auto role = roles.find(control->kind());
            HWND hwnd = window.windowOf(*control);
            if (role == roles.end() || !hwnd || !control->visible()) continue;
            IAccessible* object = nullptr;
            ASSERT_TRUE(SUCCEEDED(AccessibleObjectFromWindow(hwnd, OBJID_CLIENT, kIidIAccessible,
                                                             reinterpret_cast<void**>(&object))));
            VARIANT self{};
            self.vt = VT_I4;
            self.lVal = CHILDID_SELF;
            BSTR name = nullptr;
            VARIANT accRole{};
            object->get_accName(self, &name);
            object->get_accRole(self, &accRole);
            std::string expected = accessibleName(*control);
            if (wine && control->kind() == ControlKind::TextBox) {
                expected.clear();
                for (char c : control->labelledBy->caption())
                    if (c != '&') expected += c;
            }
            if (wine && control->kind() == ControlKind::ComboBox) {
                wchar_t text[256] = {};
                GetWindowTextW(hwnd, text, 256);
                expected = utf8(text);
            }
            EXPECT_EQ(name ? utf8(name) : "", expected) << form.name() << "." << control->name();
            EXPECT_EQ(accRole.lVal, wine && role->second != ROLE_SYSTEM_TEXT ? ROLE_SYSTEM_CLIENT : role->second)
                << form.name() << "." << control->name();
            SysFreeString(name);
            object->Release();
            ++reads;
        }
    };
    for (int tipo : {1, 2}) {
        frmPrincipal& main = start(tipo, 4);
        expectReadable(main, Win32FormWindow(main, fake.clock));
    }
    forEachDialog([&](Form& form) { expectReadable(form, Win32FormWindow(form, fake.clock)); });
    EXPECT_EQ(reads, 4 + 3 + 8 + 2);  // hour, minute, 2 buttons; preset box, 2 buttons; settings; About
    CoUninitialize();
}

// Tab follows the design's order in and out of the frames; Return presses
// the focused push button, not only the default one.
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

    // Return on the focused Aplicar applies and keeps the dialog, where the
    // default Aceptar would close it.
    settings.opbEstablecerDirecto.choose();
    settings.cmdAplicar.setEnabled(true);
    HWND aplicar = window.windowOf(settings.cmdAplicar);
    SetFocus(aplicar);
    MSG enter{aplicar, WM_KEYDOWN, VK_RETURN, 0, 0, {}};
    EXPECT_TRUE(translateFormMessage(enter));
    EXPECT_EQ(configuracion.Tipo, 1);
    EXPECT_FALSE(settings.closed());
}

// A text box and an option in a bold frame, as the program's are.
class SmallForm : public Form {
public:
    SmallForm() : Form("frmSmall", Twips{0, 0, 3000, 1500}) {
        onUnload = [this] { ++unloads; };
        fme.font.bold = true;
    }
    Frame& fme = add<Frame>("fme", nullptr, Twips{60, 60, 2880, 900});
    TextBox& txt = add<TextBox>("txt", &fme, Twips{120, 240, 1200, 285});
    OptionButton& opt = add<OptionButton>("opt", &fme, Twips{1440, 240, 1200, 255});
    Timer& tmr = add<Timer>("tmr", 20, false);
    int unloads = 0;
};

class Win32SmallForm : public ::testing::Test {
protected:
    Win32SmallForm() { form.show(); }
    Win32Clock clock;  // real time: the host's own loops run the form's thread timer
    SmallForm form;
    Win32FormWindow window{form, clock};
    Win32FormHost host{clock};
};

TEST_F(Win32SmallForm, TypingReachesTheModelWithoutEcho) {
    // Typing in the middle: an echo of the model's change would move the caret.
    form.txt.setText("13");
    HWND edit = window.windowOf(form.txt);
    SendMessageW(edit, EM_SETSEL, 1, 1);
    SendMessageW(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(L"2"));
    EXPECT_EQ(form.txt.text(), "123");
    DWORD caret = 0;
    SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&caret), 0);
    EXPECT_EQ(caret, 2u);
    // The model decides the options, which a screen reader must hear as radio buttons.
    EXPECT_EQ(GetWindowLongPtrW(window.windowOf(form.opt), GWL_STYLE) & BS_TYPEMASK, BS_RADIOBUTTON);
}

// A themed option box has its frame paint the background into the box's own
// device context before it draws its caption there: the frame's bold font
// must not stay behind (Wine drew the schedule options in it, cut).
TEST_F(Win32SmallForm, AFramePaintingUnderAControlLeavesTheControlsFont) {
    HWND option = window.windowOf(form.opt);
    HDC dc = GetDC(option);
    const auto own = reinterpret_cast<HGDIOBJ>(SendMessageW(option, WM_GETFONT, 0, 0));
    ASSERT_NE(own, reinterpret_cast<HGDIOBJ>(SendMessageW(window.windowOf(form.fme), WM_GETFONT, 0, 0)));
    SelectObject(dc, own);
    SendMessageW(window.windowOf(form.fme), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
    EXPECT_EQ(GetCurrentObject(dc, OBJ_FONT), own);
    ReleaseDC(option, dc);
}

// Under a dialog or a step run aside the form's timer ticks but the form
// takes no input. A quit asked meanwhile unloads the dialog and reaches the
// outer loop after the step; a key typed meanwhile is dropped, not typed
// once the step is done. What the step threw reaches the caller, the windows
// given back first.
TEST_F(Win32SmallForm, ADialogOrAStepAsideLeavesTheTimersTickingAndTheUserOut) {
    SmallForm dialog;
    int ticks = 0;
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

    disabled = false;
    const DWORD thread = GetCurrentThreadId();
    HWND edit = window.windowOf(form.txt);
    host.runAside([&] {
        PostMessageW(edit, WM_CHAR, L'2', 0);
        PostThreadMessageW(thread, WM_QUIT, 7, 0);
        Sleep(300);
    });
    form.tmr.setEnabled(false);
    EXPECT_GE(ticks, 6);
    EXPECT_TRUE(disabled);
    EXPECT_TRUE(IsWindowEnabled(window.hwnd()));
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE) && msg.message != WM_QUIT) DispatchMessageW(&msg);
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
    EXPECT_EQ(msg.wParam, 7u);
    EXPECT_EQ(form.txt.text(), "");
    EXPECT_THROW(host.runAside([] { throw std::runtime_error("no network"); }), std::runtime_error);
    EXPECT_TRUE(IsWindowEnabled(window.hwnd()));
}

}  // namespace
}  // namespace durmivela::win32
