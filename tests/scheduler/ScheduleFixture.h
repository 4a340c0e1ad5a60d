// A loaded main window on the fake platform, in a real temporary folder with
// the shipped language files.
#pragma once

#include "about/frmAbout.h"
#include "scheduler/TextoHora.h"
#include "scheduler/frmPrincipal.h"
#include "settings/frmConfiguracion.h"
#include "tests/fake/FakePlatform.h"
#include "tests/util/TempDir.h"
#include "tests/util/TestFolder.h"

#include <gtest/gtest.h>

#include <fstream>
#include <memory>

namespace durmivela::testing {

inline std::string shippedLanguage(const char* name) {
    std::ifstream in(testProgramFolder() / "Leng" / pathFromUtf8(std::string(name) + ".lng"),
                     std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class MainWindowTest : public ::testing::Test {
protected:
    MainWindowTest() {
        fake.program.carpeta = dir.path();
        for (const std::string& name : shippedLanguages())
            dir.write(pathFromUtf8("Leng/" + name + ".lng"), shippedLanguage(name.c_str()));
    }

    // Starts the program with the given settings (Spanish unless told).
    frmPrincipal& start(int tipo, int log, const std::string& lenguaje = "Espa\xF1ol") {
        dir.write(kArchivoConfiguracion, "[TIPO]\r\nTipo=" + std::to_string(tipo) + "\r\n[LOG]\r\nLog=" +
                                             std::to_string(log) + "\r\n[LENGUAJE]\r\nLenguaje=" + lenguaje + "\r\n");
        return launch();
    }

    // Starts the program with whatever the folder holds.
    frmPrincipal& launch() {
        ventana = std::make_unique<frmPrincipal>(fake.plataforma, configuracion, lenguaje_);
        ventana->load();
        ventana->show();
        return *ventana;
    }

    void choose(int preset) { ventana->cmbApagar.userSelect(preset); }

    // The settings dialog and About, loaded and shown in the language in force.
    void forEachDialog(const std::function<void(Form&)>& each) {
        frmConfiguracion settings(fake.plataforma, configuracion, lenguaje_);
        frmAbout about(fake.plataforma, lenguaje_);
        for (Form* form : std::initializer_list<Form*>{&settings, &about}) {
            form->load();
            form->show();
            each(*form);
        }
    }

    // One watch tick, one second later on both clocks.
    void tick() {
        fake.clock.now = sumarSegundos(fake.clock.now, 1);
        fake.clock.monotonic += 1000;
        ventana->Timer2.tick();
    }

    TempDir dir;
    FakePlatform fake;
    Configuracion configuracion;
    TablaLenguaje lenguaje_;
    std::unique_ptr<frmPrincipal> ventana;
};

}  // namespace durmivela::testing
