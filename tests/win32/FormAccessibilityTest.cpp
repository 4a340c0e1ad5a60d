// What screen readers and the keyboard get from the Win32 windows: the
// model's names handed to Windows, what oleacc then reads, and the keys that
// press buttons.
#include "platform/AccessibleText.h"
#include "platform/win32/WinText.h"
#include "tests/win32/ShippedForms.h"

#include <windows.h>
#include <oleacc.h>

#include <gtest/gtest.h>

#include <iostream>
#include <map>
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
    std::pair<std::string, std::string> of(HWND window) const {
        const auto found = props.find(window);
        return found == props.end() ? std::pair<std::string, std::string>{} : found->second;
    }
};

std::wstring windowText(HWND hwnd) {
    wchar_t text[256] = {};
    GetWindowTextW(hwnd, text, 256);
    return text;
}

bool focusable(ControlKind kind) {
    return kind == ControlKind::TextBox || kind == ControlKind::ComboBox || kind == ControlKind::OptionButton ||
           kind == ControlKind::CheckBox || kind == ControlKind::CommandButton;
}

class Accessibility : public testing::ShippedForms {};

TEST_F(Accessibility, NamesAndDescriptionsComeFromTheModelAndFollowTheLanguage) {
    RecordedAnnotations annotations;
    frmPrincipal& main = start(1, 4);
    {
        Win32FormWindow window(main, fake.clock, &annotations);
        HWND hora = window.windowOf(main.txtHora);
        HWND minuto = window.windowOf(main.txtMinuto);
        const std::string tipo1 = "Escriba la hora y el minuto del apagado y pulse ACEPTAR.";
        EXPECT_EQ(main.lblAviso.caption(), tipo1);
        EXPECT_EQ(annotations.of(hora), std::make_pair(std::string("Apagar a las (hora)"), tipo1));
        EXPECT_EQ(annotations.of(minuto), std::make_pair(std::string("Apagar a las (minuto)"), tipo1));
        EXPECT_EQ(annotations.of(window.windowOf(main.cmbApagar)).first, "Apagar tras");
        // A button's own caption names it; its hint describes it.
        EXPECT_EQ(annotations.of(window.windowOf(main.cmdAceptar)), std::make_pair(std::string(), tipo1));
        EXPECT_EQ(annotations.props.count(window.windowOf(main.cmdSalir)), 0u);
        // Labels name nothing for Windows: a static text reads as what it shows.
        EXPECT_EQ(annotations.props.count(window.windowOf(main.lblHoraActual)), 0u);

        // The label just before its control, for Windows' own naming and the mnemonic.
        EXPECT_EQ(GetWindow(hora, GW_HWNDPREV), window.windowOf(main.lblApagarA));
        EXPECT_EQ(GetWindow(window.windowOf(main.cmbApagar), GW_HWNDPREV), window.windowOf(main.lblApagar));
        EXPECT_EQ(GetWindow(window.windowOf(main.lblHoraApa), GW_HWNDPREV), window.windowOf(main.lblTituloHoraApa));
        EXPECT_EQ(GetWindow(window.windowOf(main.lblHoraActual), GW_HWNDPREV),
                  window.windowOf(main.lblTituloHoraAct));

        // Another language renames and redescribes at once; so does a new hint.
        configuracion.Lenguaje = "English";
        main.AplicarConfiguracion();
        const std::string english = "Type the hour and minute of the shutdown and press ACCEPT.";
        EXPECT_EQ(annotations.of(hora), std::make_pair(std::string("Shut down at (hour)"), english));
        EXPECT_EQ(annotations.of(minuto), std::make_pair(std::string("Shut down at (minute)"), english));
        EXPECT_EQ(annotations.of(window.windowOf(main.cmbApagar)).first, "Shut down in");
        main.lblAviso.setCaption("Otra &pista: ");
        EXPECT_EQ(annotations.of(window.windowOf(main.cmdAceptar)).second, "Otra pista");
    }
    // Annotations do not outlive their windows.
    EXPECT_TRUE(annotations.props.empty());

    frmConfiguracion settings(fake.plataforma, configuracion, lenguaje_);
    settings.Form_Load();
    Win32FormWindow window(settings, fake.clock, &annotations);
    EXPECT_EQ(annotations.of(window.windowOf(settings.cmbLenguaje)).first, "Language");
    EXPECT_EQ(annotations.props.size(), 1u);
}

// The focusable controls of the three windows as oleacc reads them. Windows
// reads the model's names (its own for buttons, the annotation for the rest)
// and the controls' roles. Wine's oleacc (8.0) knows no Dynamic Annotation,
// names an edit by the first static window before it, a combo box by its own
// text, and calls every control but the edit "client"; there the option
// buttons are checked to be radio buttons by the style Windows reads their
// role from.
TEST_F(Accessibility, OleaccReadsTheNamesAndRolesOfEveryFocusableControl) {
    constexpr GUID kIidIAccessible{0x618736e0, 0x3c3d, 0x11cf, {0x81, 0x0c, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71}};
    const bool wine = GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
    ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
    const auto read = [&](HWND hwnd) {
        IAccessible* object = nullptr;
        std::pair<std::string, long> got{"(no object)", -1};
        if (FAILED(AccessibleObjectFromWindow(hwnd, OBJID_CLIENT, kIidIAccessible, reinterpret_cast<void**>(&object))))
            return got;
        VARIANT self{};
        self.vt = VT_I4;
        self.lVal = CHILDID_SELF;
        BSTR name = nullptr;
        got.first = object->get_accName(self, &name) == S_OK && name ? utf8(name) : "";
        SysFreeString(name);
        VARIANT role{};
        if (SUCCEEDED(object->get_accRole(self, &role)) && role.vt == VT_I4) got.second = role.lVal;
        object->Release();
        return got;
    };
    // Wine, as Windows without annotations: an edit is named by the first
    // static window before it in z-order, which should be its label.
    const auto labelText = [](const Control& control) {
        std::string shown;
        for (char c : control.labelledBy ? control.labelledBy->caption() : std::string())
            if (c != '&') shown += c;
        return shown;
    };
    int read_ = 0;
    eachWindow("Espa\xC3\xB1ol", [&](const std::string& name, Form& form, Win32FormWindow& window) {
        for (const auto& control : form.controls()) {
            HWND hwnd = window.windowOf(*control);
            if (!hwnd || !focusable(control->kind()) || !control->visible()) continue;
            const auto [accName, accRole] = read(hwnd);
            std::cout << name << ", " << control->name() << ": \"" << accName << "\", role " << accRole << "\n";
            ++read_;
            std::string expectedName = accessibleName(*control);
            long expectedRole = 0;
            switch (control->kind()) {
                case ControlKind::TextBox: expectedRole = ROLE_SYSTEM_TEXT; break;
                case ControlKind::ComboBox: expectedRole = ROLE_SYSTEM_COMBOBOX; break;
                case ControlKind::OptionButton: expectedRole = ROLE_SYSTEM_RADIOBUTTON; break;
                case ControlKind::CheckBox: expectedRole = ROLE_SYSTEM_CHECKBUTTON; break;
                default: expectedRole = ROLE_SYSTEM_PUSHBUTTON; break;
            }
            if (control->kind() == ControlKind::OptionButton) {
                EXPECT_EQ(GetWindowLongPtrW(hwnd, GWL_STYLE) & BS_TYPEMASK, BS_RADIOBUTTON) << control->name();
            }
            if (wine) {
                if (control->kind() == ControlKind::TextBox) {
                    expectedName = labelText(*control);
                } else if (control->kind() == ControlKind::ComboBox) {
                    expectedName = utf8(windowText(hwnd));
                    expectedRole = ROLE_SYSTEM_CLIENT;
                } else {
                    expectedRole = ROLE_SYSTEM_CLIENT;
                }
            }
            EXPECT_EQ(accName, expectedName) << name << ", " << control->name();
            EXPECT_EQ(accRole, expectedRole) << name << ", " << control->name();
        }
    });
    EXPECT_EQ(read_, 4 + 3 + 8 + 2);  // hour, minute, 2 buttons; preset box, 2 buttons; settings; About
    CoUninitialize();
}

// Return and Space press the focused push button, whichever it is, not only
// the default one.
TEST_F(Accessibility, ReturnAndSpacePressTheFocusedButton) {
    start(1, 4);
    frmAbout about(fake.plataforma, lenguaje_);
    about.Form_Load();
    about.show();
    Win32FormWindow window(about, fake.clock);
    HWND sysInfo = window.windowOf(about.cmdSysInfo);
    const auto key = [](HWND hwnd, UINT message, WPARAM vk) {
        MSG msg{hwnd, message, vk, 0, 0, {}};
        if (!translateFormMessage(msg)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    };
    SetFocus(sysInfo);
    key(sysInfo, WM_KEYDOWN, VK_RETURN);
    key(sysInfo, WM_KEYUP, VK_RETURN);
    EXPECT_EQ(fake.messages.shown.size(), 1u);  // the system information tool is not found
    key(sysInfo, WM_KEYDOWN, VK_SPACE);
    key(sysInfo, WM_KEYUP, VK_SPACE);
    EXPECT_EQ(fake.messages.shown.size(), 2u);
    EXPECT_FALSE(about.closed());

    SetFocus(window.windowOf(about.cmdOK));
    key(window.windowOf(about.cmdOK), WM_KEYDOWN, VK_RETURN);
    EXPECT_TRUE(about.closed());
    EXPECT_EQ(fake.messages.shown.size(), 2u);
}

}  // namespace
}  // namespace durmivela::win32
