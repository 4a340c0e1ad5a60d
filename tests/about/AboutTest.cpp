#include "about/ComandosMenu.h"
#include "about/frmAbout.h"
#include "tests/scheduler/ScheduleFixture.h"
#include "update/Direcciones.h"

namespace durmivela {
namespace {

class About : public testing::MainWindowTest {};

// Each opening loads afresh in the language in force; no language file can
// change the caption, the title or the version. The menu's targets are built
// at each click from the program folder; a missing file is the desktop's to
// report, never the program's.
TEST_F(About, OpensFreshlyInTheLanguageInForceAndTheMenuOpensItsTargets) {
    std::string file = testing::shippedLanguage("English");
    file.replace(0, 0, "0,\"hijacked\"\r\n");
    dir.write("Leng/Odd.lng", file);
    frmPrincipal& w = start(1, 4, "Odd");
    std::vector<std::string> seen;
    fake.forms.user = [&](Form& form) {
        auto& about = static_cast<frmAbout&>(form);
        seen.insert(seen.end(), {about.caption(), about.lblTitle.caption(), about.lblVersion.caption(),
                                 about.cmdOK.caption(), about.cmdSysInfo.caption()});
        about.lblWeb.click();
        about.cmdOK.click();
        EXPECT_TRUE(about.closed());
    };
    w.mnuAcercade.click();
    configuracion.Lenguaje = "Español";
    w.AplicarConfiguracion();
    w.mnuAcercade.click();
    EXPECT_EQ(seen, (std::vector<std::string>{"Acerca de Durmivela", "Durmivela", "Versión 3.0.16", "OK",
                                              "&System Info...", "Acerca de Durmivela", "Durmivela",
                                              "Versión 3.0.16", "Aceptar", "&Información..."}));
    for (MenuItem* item : {&w.mnuContenido, &w.mnuLog, &w.mnuCaptura, &w.mnuDonativos}) item->click();
    fake.program.carpeta = dir.path() / "moved";
    w.mnuLog.click();
    const auto in = [&](const char* name) { return utf8FromPath(dir.path() / name); };
    EXPECT_EQ(fake.desktop.opened,
              (std::vector<std::string>{kUrlWeb, kUrlWeb, in("Durmivela.chm"), in("Durmivelar_Log.log"),
                                        in("Captura.bmp"), kUrlWeb, utf8FromPath(dir.path() / "moved" / "Durmivelar_Log.log")}));

    w.mnuActualizar.click();  // offline: message 1
    EXPECT_EQ(fake.forms.pendingPasses, 1);
    EXPECT_EQ(fake.messages.shown, (std::vector<std::string>{"No se puede encontrar una conexión a Internet válida."}));
}

// Contenido: the CHM where the desktop has a viewer for it (handed over like
// any file, a missing one being the viewer's to report); otherwise the HTML
// pages in the browser, in Spanish for Español and in English for any other
// language; and, when those are missing too, a message that says why.
TEST_F(About, ContenidoOpensTheChmOrElseTheHtmlPagesOrElseSaysWhy) {
    fake.program.datos = dir.path() / "share";
    const auto in = [&](const char* name) {
        return utf8FromPath(dir.path() / "share" / std::filesystem::path(name).make_preferred());
    };
    struct Row { bool viewer, pages, chm; const char* lenguaje; std::string opened, page; };  // opened empty: the message
    const Row rows[] = {
        {true, true, true, "Español", in("Durmivela.chm"), ""},
        {true, false, false, "English", in("Durmivela.chm"), ""},
        {false, true, true, "Español", in("html/es/inicio.htm"), ""},
        {false, true, true, "English", in("html/en/start.htm"), ""},
        {false, true, false, "Deutsch", in("html/en/start.htm"), ""},
        {false, false, true, "Español", "", "html/es/inicio.htm"},
        {false, false, false, "English", "", "html/en/start.htm"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.lenguaje) + (row.viewer ? " viewer" : "") + (row.pages ? " pages" : ""));
        fake.desktop.opened.clear();
        fake.messages.shown.clear();
        fake.desktop.noApplication = row.viewer ? std::set<std::string>{} : std::set<std::string>{".chm"};
        std::filesystem::remove_all(dir.path() / "share");
        if (row.chm) dir.write("share/Durmivela.chm", "ITSF");
        if (row.pages) {
            dir.write("share/html/es/inicio.htm", "<html>");
            dir.write("share/html/en/start.htm", "<html>");
        }
        AbrirAyuda(fake.plataforma, row.lenguaje);
        if (!row.opened.empty()) {
            EXPECT_EQ(fake.desktop.opened, std::vector<std::string>{row.opened});
            EXPECT_TRUE(fake.messages.shown.empty());
            continue;
        }
        EXPECT_TRUE(fake.desktop.opened.empty());
        ASSERT_EQ(fake.messages.shown.size(), 1u);
        const std::string& text = fake.messages.shown[0];
        const bool spanish = std::string(row.lenguaje) == "Español";
        EXPECT_EQ(text.rfind(spanish ? "No se puede mostrar la ayuda." : "The help cannot be shown.", 0), 0u) << text;
        EXPECT_NE(text.find(in(row.page.c_str())), std::string::npos) << text;
        // A CHM that is there but opens nowhere is not called missing.
        EXPECT_EQ(text.find(spanish ? "Falta" : "missing") == std::string::npos, row.chm) << text;
    }

    // From the menu, in the language in force.
    dir.write("share/html/es/inicio.htm", "<html>");
    dir.write("share/html/en/start.htm", "<html>");
    frmPrincipal& w = start(1, 4, "English");
    fake.desktop.opened.clear();
    w.mnuContenido.click();
    configuracion.Lenguaje = "Español";
    w.AplicarConfiguracion();
    w.mnuContenido.click();
    EXPECT_EQ(fake.desktop.opened, (std::vector<std::string>{in("html/en/start.htm"), in("html/es/inicio.htm")}));
}

}  // namespace
}  // namespace durmivela
