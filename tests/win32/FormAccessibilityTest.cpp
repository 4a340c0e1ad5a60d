// What screen readers and the keyboard get from the Win32 windows: the
// model's names handed to Windows and the keys that press buttons.
#include "about/frmAbout.h"
#include "platform/win32/Win32FormWindow.h"
#include "platform/win32/WinText.h"
#include "tests/scheduler/ScheduleFixture.h"

#include <windows.h>

#include <gtest/gtest.h>

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

class Accessibility : public durmivela::testing::MainWindowTest {};

TEST_F(Accessibility, NamesAndDescriptionsComeFromTheModelAndFollowTheLanguage) {
    RecordedAnnotations annotations;
    frmPrincipal& main = start(1, 4);
    {
        Win32FormWindow window(main, fake.clock, &annotations);
        HWND hora = window.windowOf(main.txtHora);
        const std::string tipo1 = "Escriba la hora y el minuto del apagado y pulse ACEPTAR.";
        EXPECT_EQ(main.lblAviso.caption(), tipo1);
        EXPECT_EQ(annotations.of(hora), std::make_pair(std::string("Apagar a las (hora)"), tipo1));
        // A button's own caption names it; its hint describes it.
        EXPECT_EQ(annotations.of(window.windowOf(main.cmdAceptar)), std::make_pair(std::string(), tipo1));
        EXPECT_EQ(annotations.props.count(window.windowOf(main.cmdSalir)), 0u);
        // Labels name nothing for Windows: a static text reads as what it shows.
        EXPECT_EQ(annotations.props.count(window.windowOf(main.lblHoraActual)), 0u);

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

// Return presses the focused push button, whichever it is, not only the
// default one.
TEST_F(Accessibility, ReturnPressesTheFocusedButton) {
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
    EXPECT_FALSE(about.closed());

    SetFocus(window.windowOf(about.cmdOK));
    key(window.windowOf(about.cmdOK), WM_KEYDOWN, VK_RETURN);
    EXPECT_TRUE(about.closed());
    EXPECT_EQ(fake.messages.shown.size(), 1u);
}

}  // namespace
}  // namespace durmivela::win32
