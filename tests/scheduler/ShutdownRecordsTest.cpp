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
};

// The fake power service looks in the folder when the shutdown is requested.
// Records that cannot be written (a log made read-only, an unreadable screen)
// hold nothing back and show no message.
TEST_F(ShutdownRecords, TheLogSettingDecidesWhichRecordsExistWhenTheShutdownIsRequested) {
    struct Row { int log; bool broken, logFile, capture; int captures; };
    const Row rows[] = {{1, false, false, false, 0}, {2, false, true, false, 0}, {3, false, false, true, 1},
                        {4, false, true, true, 1},   {4, true, true, false, 1}};
    std::size_t requests = 0;
    for (const Row& row : rows) {
        std::filesystem::remove(dir.path() / kArchivoLog);
        std::filesystem::remove(dir.path() / kArchivoCaptura);
        fake.screen.fail = row.broken;
        fake.screen.captures = 0;
        frmPrincipal& w = start(2, row.log);
        if (row.broken) {
            dir.write(kArchivoLog, "an earlier record");
            std::filesystem::permissions(dir.path() / kArchivoLog, std::filesystem::perms::owner_read);
        }
        runToShutdown(w);
        ASSERT_EQ(fake.power.found.size(), ++requests) << row.log;
        EXPECT_EQ(fake.power.found.back().log, row.logFile) << row.log;
        EXPECT_EQ(fake.power.found.back().capture, row.capture) << row.log;
        EXPECT_EQ(fake.screen.captures, row.captures) << row.log;
        // The menu commands keep what start-up found.
        EXPECT_FALSE(w.mnuLog.enabled());
        EXPECT_FALSE(w.mnuCaptura.enabled());
    }
    EXPECT_TRUE(fake.messages.shown.empty());
}

// Windows-1252 with CR LF, in the current language, at the time of the shutdown.
TEST_F(ShutdownRecords, TheLogHoldsTheRecordOfTheShutdown) {
    frmPrincipal& w = start(2, 4, "English");
    fake.clock.now = {9, 4, 57};
    runToShutdown(w);  // six ticks later: 9:05:03
    EXPECT_EQ(dir.read(kArchivoLog),
              "Durmivela shutdown record\r\n\r\nComputer shut down at 9:5:3\r\n\r\nSchedule type:\r\n"
              "Shut down after a delay\r\nThis record was written and the screen was captured.\r\n");
    ASSERT_EQ(CargarLenguaje(lenguaje_, {dir.path() / "Leng"}, "Español"), ResultadoCarga::Cargado);
    EXPECT_EQ(textoRegistro(lenguaje_, 1, 2, {21, 5, 8}),
              "Registro de apagado de Durmivela\r\n\r\nEquipo apagado a las 21:5:8\r\n\r\n"
              "Tipo de programaci\xF3n:\r\nApagado a una hora fijada\r\nSe escribi\xF3 este registro.\r\n");
}

}  // namespace
}  // namespace durmivela
