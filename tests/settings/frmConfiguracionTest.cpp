#include "settings/Configuracion.h"
#include "settings/frmConfiguracion.h"
#include "tests/scheduler/ScheduleFixture.h"

#include <algorithm>

namespace durmivela {
namespace {

// What the file lacks, cannot be read or holds out of range keeps its default
// (1, 4, "Español"): a damaged file must never leave a setting at zero.
TEST(ConfigurationReader, FollowsTheFixedSectionOrderAndKeepsTheDefaultsForWhatCannotBeTaken) {
    struct Row { const char* name; std::string file; int tipo, log; const char* lenguaje; };
    const Row rows[] = {
        {"all three", "[TIPO]\r\nTipo=2\r\n[LOG]\r\nLog=3\r\n[LENGUAJE]\r\nLenguaje=English\r\n", 2, 3, "English"},
        {"sections out of order", "[LOG]\r\nLog=3\r\n[LENGUAJE]\r\nLenguaje=English\r\n[TIPO]\r\nTipo=2\r\n", 1, 4,
         "English"},
        {"lower-case name", "[TIPO]\r\ntipo=2\r\n", 1, 4, "Español"},
        {"second =", "[TIPO]\r\nTipo=2=3\r\n", 2, 4, "Español"},
        {"blank after =", "[TIPO]\r\nTipo=1\r\n[LOG]\r\nLog= 3\r\n", 1, 3, "Español"},
        {"half to even down", "[TIPO]\r\nTipo=1\r\n[LOG]\r\nLog=2.5\r\n", 1, 2, "Español"},
        {"half to even up", "[TIPO]\r\nTipo=1.5\r\n", 2, 4, "Español"},
        {"CR alone ends a line", "[TIPO]\rTipo=2\r[LOG]\rLog=3\r", 2, 3, "Español"},
        {"LF inside the value", "[TIPO]\r\nTipo=\n2\r\n", 2, 4, "Español"},
        {"garbage", "\x01\xFF=\r\n==\r\n[TIPO]", 1, 4, "Español"},
        {"LF only", "[TIPO]\nTipo=2\n[LOG]\nLog=3\n[LENGUAJE]\nLenguaje=English\n", 1, 4, "Español"},
        {"one past the end", "[TIPO]\r\nTipo=3\r\n[LOG]\r\nLog=5\r\n", 1, 4, "Español"},
        {"zero", "[TIPO]\r\nTipo=0\r\n[LOG]\r\nLog=0\r\n", 1, 4, "Español"},
        {"sign and size", "[TIPO]\r\nTipo=-1\r\n[LOG]\r\nLog=1e400\r\n", 1, 4, "Español"},
        {"byte wrap", "[TIPO]\r\nTipo=258\r\n[LOG]\r\nLog=259\r\n", 1, 4, "Español"},
        {"empty language", "[TIPO]\r\nTipo=2\r\n[LOG]\r\nLog=1\r\n[LENGUAJE]\r\nLenguaje=\r\n", 2, 1, "Español"},
    };
    for (const Row& row : rows) {
        Configuracion c;
        leerTextoConfiguracion(row.file, c);
        EXPECT_EQ(c.Tipo, row.tipo) << row.name;
        EXPECT_EQ(c.Log, row.log) << row.name;
        EXPECT_EQ(c.Lenguaje, row.lenguaje) << row.name;
    }
}

TEST(OSVersion, NamesWindowsByItsNumbersAndOtherSystemsByTheirOwnName) {
    struct Row { OsVersionNumbers numbers; const char* name; };
    const Row rows[] = {
        {{5, 1, 2}, "Windows XP Profesional"}, {{5, 2, 2}, "Windows 2000"},   {{4, 10, 1}, "Windows 98"},
        {{4, 0, 1}, "Windows 95"},             {{4, 0, 2}, "Windows NT 4.0"}, {{3, 51, 2}, "Windows NT 3.x"},
        {{3, 10, 1}, "Windows 3.x"},           {{6, 1, 2}, "Version de Windows Desconocida"},
        {{5, 0, 2}, "Windows 2000"},           {{4, 90, 1}, "Windows 98"},
        // Later systems, as RtlGetVersion reports them.
        {{6, 0, 2, 6002}, "Version de Windows Desconocida"}, {{6, 2, 2, 9200}, "Windows 8"},
        {{6, 3, 2, 9600}, "Windows 8.1"},     {{6, 4, 2, 9841}, "Version de Windows Desconocida"},
        {{10, 0, 2, 21999}, "Windows 10"},    {{10, 0, 2, 22000}, "Windows 11"},
        {{10, 0, 2, 26100}, "Windows 11"},    {{10, 1, 2, 30000}, "Version de Windows Desconocida"},
        {{11, 0, 2, 30000}, "Version de Windows Desconocida"},
    };
    testing::FakeSystemInfo system;
    for (const Row& row : rows) {
        system.numbers = row.numbers;
        EXPECT_EQ(OSVersion(system), row.name)
            << row.numbers.major << "." << row.numbers.minor << "." << row.numbers.build;
    }
    system.known = false;
    EXPECT_EQ(OSVersion(system), "Version de Windows Desconocida");
    system.name = "Debian GNU/Linux 12 (bookworm)";
    EXPECT_EQ(OSVersion(system), "Debian GNU/Linux 12 (bookworm)");
}

class SettingsDialog : public testing::MainWindowTest {
protected:
    // Opens the dialog from the menu; `user` acts on it while it is shown.
    void open(std::function<void(frmConfiguracion&)> user) {
        fake.forms.user = [user](Form& form) { user(static_cast<frmConfiguracion&>(form)); };
        ventana->mnuConfiguracion.click();
    }
    // Where a user finds a language in the list: by its name.
    static int posicion(const frmConfiguracion& d, const std::string& nombre) {
        const std::vector<std::string>& nombres = d.cmbLenguaje.items();
        return static_cast<int>(std::find(nombres.begin(), nombres.end(), nombre) - nombres.begin());
    }
};

// The list offers the languages the settings file could hold, by name; the
// capture box and the language run nothing, the other choices enable Aplicar.
TEST_F(SettingsDialog, LoadsTheSettingsInMemoryAndProgrammaticChoicesEnableAplicar) {
    struct Row { int tipo, log, directo, calculos, chkLog, chkCaptura; bool aplicar; };
    const Row rows[] = {{1, 1, 1, 0, 0, 0, true}, {2, 2, 0, 1, 1, 0, true}, {1, 3, 1, 0, 0, 1, true},
                        {2, 4, 0, 1, 1, 1, true}, {3, 4, 0, 0, 1, 1, true}, {3, 3, 0, 0, 0, 1, false}};
    for (const char* name : {"Русский", "a=b", "[Nuevo]"})
        dir.write(pathFromUtf8("Leng/") / pathFromUtf8(std::string(name) + ".lng"), testing::shippedLanguage("English"));
#ifndef _WIN32
    dir.write("Leng/Espa\xF1ol.lng", testing::shippedLanguage("English"));  // a Latin-1 file name, not UTF-8
#endif
    start(1, 4);
    for (const Row& row : rows) {
        configuracion.Tipo = static_cast<std::uint8_t>(row.tipo);
        configuracion.Log = static_cast<std::uint8_t>(row.log);
        open([&](frmConfiguracion& d) {
            EXPECT_EQ(d.opbEstablecerDirecto.value(), row.directo) << row.tipo << row.log;
            EXPECT_EQ(d.opbEstablecerCalculos.value(), row.calculos);
            EXPECT_EQ(d.chkLog.value(), row.chkLog);
            EXPECT_EQ(d.chkCaptura.value(), row.chkCaptura);
            EXPECT_EQ(d.cmbLenguaje.items(), (std::vector<std::string>{"Deutsch", "English", "Español", "Français",
                                                                       "Italiano", "Português"}));
            EXPECT_EQ(d.cmbLenguaje.text(), "Español");
            EXPECT_EQ(d.lblSistema.caption(), "Windows XP Profesional");
            d.cmbLenguaje.userSelect(0);
            d.chkCaptura.setValue(1 - d.chkCaptura.value());
            d.chkCaptura.click();
            EXPECT_EQ(d.cmdAplicar.enabled(), row.aplicar);
            d.cmdCancelar.click();
        });
    }
}

// Each button says what it does, in the dialog's language, which Aplicar
// changes at once; Cancelar closes, keeping what Aplicar put in force but
// writing nothing.
TEST_F(SettingsDialog, AplicarThenCancelarKeepsTheNewLanguageInForceButNotOnDisk) {
    frmPrincipal& w = start(1, 4);
    const std::string before = dir.read(kArchivoConfiguracion);
    const auto captions = [](const frmConfiguracion& d) {
        return std::vector<std::string>{d.cmdAceptar.caption(), d.cmdAplicar.caption(), d.cmdCancelar.caption()};
    };
    open([&](frmConfiguracion& d) {
        EXPECT_EQ(captions(d), (std::vector<std::string>{"Aceptar", "Aplicar", "Cancelar"}));
        d.cmbLenguaje.userSelect(posicion(d, "English"));
        d.cmdAplicar.click();
        EXPECT_EQ(captions(d), (std::vector<std::string>{"OK", "Apply", "Cancel"}));
        EXPECT_EQ(d.caption(), "Configuración");
        d.cmdCancelar.click();
        EXPECT_TRUE(d.closed());
    });
    EXPECT_EQ(w.cmdSalir.caption(), "Quit");
    EXPECT_EQ(configuracion.Lenguaje, "English");
    EXPECT_EQ(dir.read(kArchivoConfiguracion), before);
}

// A clock-time schedule turned into a delay with none left must not force a
// shutdown on the next tick: it stops, and the window comes back to say so.
TEST_F(SettingsDialog, ATypeThatCannotFireStopsTheScheduleInsteadOfShuttingDown) {
    frmPrincipal& w = start(1, 1);
    w.txtHora.setText("23");
    w.txtMinuto.setText("59");
    w.cmdAceptar.click();
    open([&](frmConfiguracion& d) {
        d.opbEstablecerCalculos.userChoose();
        d.cmdAplicar.click();
        tick();
        d.cmdCancelar.click();
    });
    EXPECT_EQ(fake.power.shutdowns(), 0);
    EXPECT_FALSE(w.Timer2.enabled());
    EXPECT_EQ(w.cmdSalir.caption(), "Salir");
    EXPECT_TRUE(w.visible());
    EXPECT_EQ(w.lblAviso.caption(), lenguaje_.L(9));
}

TEST_F(SettingsDialog, ASettingsFileThatCannotBeWrittenIsReportedAndTheDialogStays) {
    start(1, 4);
    std::filesystem::permissions(dir.path() / kArchivoConfiguracion, std::filesystem::perms::owner_read);
    open([&](frmConfiguracion& d) {
        d.cmbLenguaje.userSelect(0);
        d.cmdAceptar.click();
        EXPECT_FALSE(d.closed());
        d.cmdCancelar.click();
    });
    ASSERT_EQ(fake.messages.shown.size(), 1u);
    EXPECT_NE(fake.messages.shown[0].find("Durmivela.ini"), std::string::npos);
}

// Aceptar applies, saves and closes. An installed program, whose own folder
// cannot be written, keeps the user's files in the user's folder; the
// language list merges both folders, a user's copy of a language wins and the
// help stays with the program.
TEST_F(SettingsDialog, AceptarSavesAndAnInstalledProgramKeepsTheUsersFilesInTheUsersFolder) {
    fake.program.carpeta = dir.path() / "bin";  // missing: nothing can be written there
    fake.program.datos = dir.path();            // the shipped languages
    fake.program.usuario = dir.path() / "user";
    std::string english = testing::shippedLanguage("English");
    english.replace(english.find("208,\"Quit\""), 11, "208,\"Exit\"");
    dir.write("user/Leng/English.lng", english);
    dir.write("user/Leng/Klingon.lng", "");
    frmPrincipal& w = launch();
    EXPECT_TRUE(std::filesystem::is_regular_file(dir.path() / "user" / kArchivoConfiguracion));
    open([](frmConfiguracion& d) {
        EXPECT_EQ(d.cmbLenguaje.items(), (std::vector<std::string>{"Deutsch", "English", "Español", "Français",
                                                                   "Italiano", "Klingon", "Português"}));
        d.opbEstablecerCalculos.userChoose();
        d.cmbLenguaje.userSelect(posicion(d, "English"));
        d.cmdAceptar.click();
        EXPECT_TRUE(d.closed());
    });
    EXPECT_EQ(w.cmdSalir.caption(), "Exit");
    EXPECT_TRUE(w.cmbApagar.visible());
    EXPECT_FALSE(w.txtHora.visible());
    EXPECT_EQ(dir.read("user/" + std::string(kArchivoConfiguracion)),
              "[TIPO]\r\nTipo=2\r\n[LOG]\r\nLog=4\r\n[LENGUAJE]\r\nLenguaje=English\r\n");
    ASSERT_TRUE(w.EscribirLog(4).ok);
    EXPECT_TRUE(std::filesystem::is_regular_file(dir.path() / "user" / kArchivoLog));
    w.mnuLog.click();
    w.mnuContenido.click();
    EXPECT_EQ(fake.desktop.opened, (std::vector<std::string>{utf8FromPath(dir.path() / "user" / kArchivoLog),
                                                            utf8FromPath(dir.path() / "Durmivela.chm")}));
    EXPECT_TRUE(fake.messages.shown.empty());
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "bin"));
}

}  // namespace
}  // namespace durmivela
