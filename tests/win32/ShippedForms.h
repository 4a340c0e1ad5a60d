// The program's three windows as a user meets them, in Win32 windows on the
// fake platform: the main window in both layouts, the settings dialog and
// the About dialog, in any shipped language.
#pragma once

#include "about/frmAbout.h"
#include "platform/Cp1252.h"
#include "platform/win32/Win32FormWindow.h"
#include "settings/frmConfiguracion.h"
#include "tests/scheduler/ScheduleFixture.h"

#include <functional>
#include <string>

namespace durmivela::win32::testing {

class ShippedForms : public durmivela::testing::MainWindowTest {
protected:
    using Look = std::function<void(const std::string& name, Form& form, Win32FormWindow& window)>;

    // Opens each window in turn, shown, and lets `look` at it before it goes;
    // the language by its UTF-8 name.
    void eachWindow(const std::string& language, const Look& look, AccessibleAnnotations* annotations = nullptr) {
        // The settings file holds the name in Windows-1252.
        ASSERT_EQ(cp1252ToUtf8(utf8ToCp1252(language)), language);
        for (int tipo : {1, 2}) {
            frmPrincipal& main = start(tipo, 4, utf8ToCp1252(language));
            Win32FormWindow window(main, fake.clock, annotations);
            settle();
            look(tipo == 1 ? "frmPrincipal (clock time)" : "frmPrincipal (delay)", main, window);
        }
        frmConfiguracion settings(fake.plataforma, configuracion, lenguaje_);
        settings.Form_Load();
        settings.show();
        Win32FormWindow settingsWindow(settings, fake.clock, annotations);
        settle();
        look("frmConfiguracion", settings, settingsWindow);

        frmAbout about(fake.plataforma, lenguaje_);
        about.Form_Load();
        about.show();
        Win32FormWindow aboutWindow(about, fake.clock, annotations);
        settle();
        look("frmAbout", about, aboutWindow);
    }

    // Lets the windows paint.
    static void settle() {
        MSG msg{};
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    }
};

}  // namespace durmivela::win32::testing
