#include "tests/scheduler/ScheduleFixture.h"

namespace durmivela {
namespace {

using testing::MainWindowTest;

class ShutdownRecords : public MainWindowTest {
protected:
    // Arms "5 Seg" and runs the six ticks that reach the shutdown.
    void runToShutdown(frmPrincipal& w) {
        choose(10);
        w.cmdAceptar.click();
        for (int i = 0; i < 6; ++i) tick();
    }
    bool exists(const char* name) const { return std::filesystem::exists(dir.path() / name); }
};

TEST_F(ShutdownRecords, TheLogSettingDecidesWhichFilesAreWrittenBeforeTheRequest) {
    struct Row {
        int log;
        bool logFile;
        bool capture;
    };
    for (const Row& row : {Row{1, false, false}, Row{2, true, false}, Row{3, false, true}, Row{4, true, true},
                           Row{7, false, false}}) {
        std::filesystem::remove(dir.path() / kArchivoLog);
        std::filesystem::remove(dir.path() / kArchivoCaptura);
        fake.screen.captures = 0;
        frmPrincipal& w = start(2, row.log);
        runToShutdown(w);
        EXPECT_EQ(exists(kArchivoLog), row.logFile) << row.log;
        EXPECT_EQ(exists(kArchivoCaptura), row.capture) << row.log;
        EXPECT_EQ(fake.screen.captures, row.capture ? 1 : 0) << row.log;
    }
    EXPECT_EQ(fake.power.shutdowns(), 5);
}

TEST_F(ShutdownRecords, TheLogHoldsOnlyTheLastRecordInTheCurrentLanguage) {
    frmPrincipal& w = start(2, 4);
    fake.clock.now = {9, 4, 57};
    runToShutdown(w);  // six ticks later: 9:05:03
    const std::string first = dir.read(kArchivoLog);
    EXPECT_EQ(first,
              "Registro de apagado de Durmivela\r\n\r\nEquipo apagado a las 9:5:3\r\n\r\n"
              "Tipo de programaci\xF3n:\r\nApagado tras un tiempo\r\n"
              "Se escribi\xF3 este registro y se captur\xF3 la pantalla.\r\n");

    // A second shutdown in the same run (the first was refused) replaces it.
    configuracion.Log = 2;
    configuracion.Tipo = 1;
    w.cmdSalir.click();
    fake.clock.now = {21, 5, 7};
    w.txtHora.setText("21");
    w.txtMinuto.setText("5");
    w.cmdAceptar.click();
    tick();
    EXPECT_EQ(dir.read(kArchivoLog),
              "Registro de apagado de Durmivela\r\n\r\nEquipo apagado a las 21:5:8\r\n\r\n"
              "Tipo de programaci\xF3n:\r\nApagado a una hora fijada\r\nSe escribi\xF3 este registro.\r\n");
}

TEST_F(ShutdownRecords, AnUnknownTypeLeavesOutTheKindLine) {
    const TimeOfDay at{21, 5, 7};
    start(3, 3);
    EXPECT_EQ(textoRegistro(lenguaje_, 3, 3, at),
              "Registro de apagado de Durmivela\r\n\r\nEquipo apagado a las 21:5:7\r\n\r\n"
              "Tipo de programaci\xF3n:\r\nSe captur\xF3 la pantalla.\r\n");
}

TEST_F(ShutdownRecords, RecordsThatCannotBeWrittenStillLeadToTheShutdownWithoutAMessage) {
    frmPrincipal& w = start(2, 4);
    // Folders where the temporary files must go make both writes fail, even as root.
    std::filesystem::create_directory(dir.path() / (std::string(kArchivoLog) + ".tmp"));
    fake.screen.fail = true;
    runToShutdown(w);
    EXPECT_FALSE(exists(kArchivoLog));
    EXPECT_FALSE(exists(kArchivoCaptura));
    EXPECT_EQ(fake.power.shutdowns(), 1);
    EXPECT_TRUE(fake.messages.shown.empty());
}

TEST_F(ShutdownRecords, RecordsWrittenDuringTheRunDoNotChangeTheMenuCommands) {
    fake.power.refuse = true;
    frmPrincipal& w = start(2, 4);
    runToShutdown(w);
    EXPECT_TRUE(exists(kArchivoLog));
    EXPECT_FALSE(w.mnuLog.enabled());
    EXPECT_FALSE(w.mnuCaptura.enabled());
}

}  // namespace
}  // namespace durmivela
