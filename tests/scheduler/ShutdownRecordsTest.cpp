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
// Records that cannot be written (a folder in the log's place, an unreadable
// screen) hold nothing back and show no message, and the record never claims
// a capture that was not made.
TEST_F(ShutdownRecords, TheLogSettingDecidesWhichRecordsExistWhenTheShutdownIsRequested) {
    struct Row { int log; bool logBroken, screenBroken, logFile, capture; int captures; const char* says; };
    const Row rows[] = {{1, false, false, false, false, 0, ""},
                        {2, false, false, true, false, 0, "Se escribi\xF3 este registro."},
                        {3, false, false, false, true, 1, ""},
                        {4, false, false, true, true, 1, "Se escribi\xF3 este registro y se captur\xF3 la pantalla."},
                        {4, false, true, true, false, 1, "Se escribi\xF3 este registro."},
                        {4, true, true, false, false, 1, ""}};
    std::size_t requests = 0;
    for (const Row& row : rows) {
        std::filesystem::remove_all(dir.path() / kArchivoLog);
        std::filesystem::remove(dir.path() / kArchivoCaptura);
        if (row.logBroken) std::filesystem::create_directory(dir.path() / kArchivoLog);
        fake.screen.fail = row.screenBroken;
        fake.screen.captures = 0;
        frmPrincipal& w = start(2, row.log);
        runToShutdown(w);
        ASSERT_EQ(fake.power.found.size(), ++requests) << row.log;
        EXPECT_EQ(fake.power.found.back().log, row.logFile) << row.log;
        EXPECT_EQ(fake.power.found.back().capture, row.capture) << row.log;
        EXPECT_EQ(fake.screen.captures, row.captures) << row.log;
        if (row.logFile) {
            EXPECT_TRUE(dir.read(kArchivoLog).ends_with(std::string(row.says) + "\r\n")) << row.log;
        }
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
}

}  // namespace
}  // namespace durmivela
