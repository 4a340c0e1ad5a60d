#include "tests/scheduler/ScheduleFixture.h"

#include "platform/AccessibleText.h"
#include "platform/Cp1252.h"

#include <cctype>
#include <map>
#include <set>

namespace durmivela {
namespace {

class Startup : public testing::MainWindowTest {};

// A log from an earlier shutdown, even an empty one, can be opened.
TEST_F(Startup, FirstStartCreatesTheSettingsAndOpensInSpanishWithTheClockTimeLayout) {
    dir.write(kArchivoLog, "");
    frmPrincipal& w = launch();
    EXPECT_EQ(dir.read(kArchivoConfiguracion),
              "[TIPO]\r\nTipo=1\r\n[LOG]\r\nLog=4\r\n[LENGUAJE]\r\nLenguaje=Espa\xF1ol\r\n");
    EXPECT_EQ(w.caption(), "Durmivela 3.0.16");
    EXPECT_EQ(w.lblHoraActual.caption(), "21:15:03");
    EXPECT_TRUE(fake.messages.shown.empty());
    for (Control* shown : std::initializer_list<Control*>{&w.lblApagarA, &w.txtHora, &w.txtMinuto, &w.lblDosPuntos})
        EXPECT_TRUE(shown->visible()) << shown->name();
    for (Control* hidden : std::initializer_list<Control*>{&w.lblApagar, &w.cmbApagar, &w.lblHoraApa, &w.lblAprox})
        EXPECT_FALSE(hidden->visible()) << hidden->name();
    EXPECT_EQ(w.lblAviso.caption(), lenguaje_.L(10));
    EXPECT_TRUE(w.mnuLog.enabled());
    EXPECT_FALSE(w.mnuCaptura.enabled());
    EXPECT_FALSE(w.Timer2.enabled());
    fake.clock.now = {9, 5, 3};
    w.Timer1.tick();
    EXPECT_EQ(w.lblHoraActual.caption(), "9:05:03");
}

// A missing language is reported once, and the texts in force stay. A
// megabyte of language name neither stalls the start nor fills the screen.
TEST_F(Startup, AnUnusableLanguageKeepsTheTextsInForceAndIsReported) {
    start(1, 4, std::string(1 << 20, 'x'));
    ASSERT_EQ(fake.messages.shown.size(), 1u);
    EXPECT_LT(fake.messages.shown[0].size(), 600u);
    fake.messages.shown.clear();
    frmPrincipal& w = start(1, 4, "Klingon");
    EXPECT_EQ(w.lblAviso.caption(), lenguaje_.L(10));
    ASSERT_EQ(fake.messages.shown.size(), 1u);
    EXPECT_NE(fake.messages.shown[0].find("Klingon.lng"), std::string::npos);
    w.AplicarConfiguracion();
    EXPECT_EQ(fake.messages.shown.size(), 1u);
}

TEST_F(Startup, ASettingsFileThatCannotBeCreatedIsReportedAndTheDefaultsRun) {
    fake.program.carpeta = dir.path() / "missing";
    frmPrincipal& w = launch();
    ASSERT_GE(fake.messages.shown.size(), 1u);
    EXPECT_NE(fake.messages.shown[0].find("Durmivela.ini"), std::string::npos);
    EXPECT_EQ(configuracion.Tipo, 1);
    EXPECT_TRUE(w.txtHora.visible());
}

// A screen reader names every control the user can reach by what the window
// shows before it, in the current language, and tells the two time fields
// apart; a language file without the words for them gets the Spanish ones.
// Alt plus a letter reaches exactly one item of each menu.
TEST_F(Startup, EveryReachableControlIsNamedByItsLabelAndMenuAccessKeysAreUnique) {
    const std::string english = testing::shippedLanguage("English");
    dir.write("Leng/Viejo.lng", std::string(english).erase(english.find("210,"), 26));
    std::vector<std::string> lenguajes = testing::shippedLanguages();
    lenguajes.push_back("Viejo");
    for (const std::string& nombre : lenguajes) {
        frmPrincipal& w = start(1, 4, utf8ToCp1252(nombre));
        std::map<const Control*, std::set<char>> keys;  // by parent menu; null: the menu bar
        for (const auto& control : w.controls()) {
            const auto* item = dynamic_cast<const MenuItem*>(control.get());
            const std::size_t amp = item ? item->caption().find('&') : std::string::npos;
            if (amp == std::string::npos || item->isSeparator() || amp + 1 >= item->caption().size()) continue;
            const char key = static_cast<char>(std::tolower(static_cast<unsigned char>(item->caption()[amp + 1])));
            EXPECT_TRUE(keys[item->parentMenu()].insert(key).second) << nombre << ": " << item->caption();
        }
        frmConfiguracion dialogo(fake.plataforma, configuracion, lenguaje_);
        dialogo.load();
        frmAbout acerca(fake.plataforma, lenguaje_);
        acerca.load();
        for (const Form* form : {static_cast<const Form*>(&w), static_cast<const Form*>(&dialogo),
                                 static_cast<const Form*>(&acerca)})
            for (const auto& control : form->controls()) {
                const ControlKind kind = control->kind();
                if (control->tabIndex >= 0 && kind != ControlKind::Label && kind != ControlKind::Frame &&
                    kind != ControlKind::PictureBox) {
                    EXPECT_FALSE(accessibleName(*control).empty()) << nombre << ": " << control->name();
                }
            }
        EXPECT_EQ(accessibleName(w.cmbApagar), readableCaption(w.lblApagar.caption())) << nombre;
        EXPECT_EQ(accessibleName(w.lblHoraActual), readableCaption(w.lblTituloHoraAct.caption()) + ": 21:15:03")
            << nombre;
        EXPECT_EQ(accessibleName(w.lblHoraApa), readableCaption(w.lblTituloHoraApa.caption())) << nombre;
        EXPECT_EQ(accessibleName(dialogo.cmbLenguaje), readableCaption(dialogo.fmeLenguaje.caption())) << nombre;
        EXPECT_NE(accessibleName(w.txtHora), accessibleName(w.txtMinuto)) << nombre;
        EXPECT_EQ(accessibleDescription(w.cmdAceptar), w.lblAviso.caption()) << nombre;
    }
    EXPECT_EQ(accessibleName(ventana->txtHora), "Shut down at (hora)");
    start(1, 4, "Espa\xF1ol");
    EXPECT_EQ(accessibleName(ventana->txtMinuto), "Apagar a las (minuto)");
}

}  // namespace
}  // namespace durmivela
