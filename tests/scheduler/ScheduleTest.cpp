#include "platform/NumberText.h"
#include "scheduler/TextoHora.h"
#include "tests/scheduler/ScheduleFixture.h"

namespace durmivela {
namespace {

using testing::MainWindowTest;

class Schedule : public MainWindowTest {};

TEST_F(Schedule, PresetsShowTheShutdownTimeAndStoreTheDuration) {
    struct Row { TimeOfDay now; int preset; const char* shown; int seconds; };
    const Row rows[] = {
        {{23, 50, 10}, 2, "00:05:10", 900},  {{14, 55, 20}, 0, "15:00:20", 300},
        {{23, 59, 58}, 10, "00:00:03", 5},   {{9, 1, 2}, 4, "09:46:02", 2700},
        {{20, 15, 0}, 9, "06:15:00", 36000}, {{9, 30, 0}, 3, "10:00:00", 1800},
    };
    frmPrincipal& w = start(2, 1);
    for (const Row& row : rows) {
        fake.clock.now = row.now;
        choose(row.preset);
        EXPECT_EQ(w.lblHoraApa.caption(), row.shown) << row.preset;
        EXPECT_EQ(w.Cronometro, row.seconds) << row.preset;
        EXPECT_EQ(w.lblAviso.caption(), lenguaje_.L(16));
    }
}

// Ticks 450 ms late show the same seconds: what is left comes from the
// monotonic clock, rounded up. A refused shutdown brings the window back from
// the tray, says why, and is not asked again (desktop_refusal stops it).
TEST_F(Schedule, FiveSecondsCountsDownInTheTitleAndShutsDownOnTheSixthTick) {
    fake.power.refuse = true;
    frmPrincipal& w = start(2, 1);
    choose(10);
    w.cmdAceptar.click();
    ASSERT_TRUE(fake.tray.shown);
    EXPECT_FALSE(w.cmdAceptar.enabled());
    EXPECT_EQ(w.lblAviso.caption(), lenguaje_.L(15));
    EXPECT_EQ(w.caption(), "Durmivela 3.0.16");  // type 2 leaves the title to the tick
    fake.clock.monotonic += 450;
    for (const char* title : {"0:00:04", "0:00:03", "0:00:02", "0:00:01", "0:00:00"}) {
        tick();
        EXPECT_EQ(w.caption(), std::string(title) + " para el apagado");
        EXPECT_EQ(fake.power.shutdowns(), 0);
    }
    tick();
    EXPECT_EQ(fake.power.calls, (std::vector<std::string>{"enable", "shutdown"}));
    EXPECT_FALSE(w.Timer2.enabled());
    EXPECT_TRUE(w.visible());
    EXPECT_EQ(w.windowState(), WindowState::Normal);
    EXPECT_FALSE(fake.tray.shown);
    EXPECT_EQ(fake.messages.shown,
              (std::vector<std::string>{"El sistema se negó a apagar el equipo.\n\nOperation not permitted"}));
    for (int i = 0; i < 3; ++i) tick();
    EXPECT_EQ(fake.power.shutdowns(), 1);
}

// A stop keeps what is left; a program held for 20 s (no ticks) shuts down
// when the delay has run out, not 20 s later; a preset chosen while armed
// counts from the next tick.
TEST_F(Schedule, TheDelayRunsOnTheMonotonicClockAndAStopKeepsTheRemainder) {
    frmPrincipal& w = start(2, 1);
    choose(0);
    const std::int64_t armed = fake.clock.monotonic;
    w.cmdAceptar.click();
    for (int i = 0; i < 10; ++i) tick();
    w.cmdSalir.click();
    EXPECT_TRUE(w.cmdAceptar.enabled());
    EXPECT_EQ(w.cmdSalir.caption(), "Salir");
    EXPECT_EQ(w.lblHoraApa.caption(), "");
    EXPECT_EQ(w.caption(), "Durmivela 3.0.16");
    EXPECT_EQ(w.Cronometro, 290);
    w.cmdAceptar.click();
    for (int i = 0; i < 90; ++i) tick();
    fake.clock.monotonic += 20000;
    tick();
    EXPECT_EQ(w.caption(), "0:02:59 para el apagado");
    while (fake.power.shutdowns() == 0) tick();
    EXPECT_EQ(fake.clock.monotonic - armed, 301000);

    w.cmdSalir.click();
    choose(0);
    w.cmdAceptar.click();
    tick();
    choose(10);
    for (int i = 0; i < 5; ++i) tick();
    EXPECT_EQ(w.caption(), "0:00:00 para el apagado");
    EXPECT_EQ(fake.power.shutdowns(), 1);
    tick();
    EXPECT_EQ(fake.power.shutdowns(), 2);
}

// A stray ACEPTAR with no delay left would force a shutdown a second later.
TEST_F(Schedule, TheDelayLayoutArmsOnlyWithADelayLeft) {
    frmPrincipal& w = start(2, 1);
    w.lblAviso.setCaption("x");
    w.cmdAceptar.click();
    EXPECT_FALSE(w.Timer2.enabled());
    EXPECT_EQ(w.windowState(), WindowState::Normal);
    EXPECT_EQ(w.lblAviso.caption(), lenguaje_.L(9));
    for (int i = 0; i < 3; ++i) tick();
    EXPECT_TRUE(fake.power.calls.empty());
}

// One wrong comparison on a digit would disable the shutdown for part of the day.
TEST(ScheduleFields, EveryHourAndMinuteMatchesItsFieldsAndNoOther) {
    for (int v = 0; v < 60; ++v)
        for (int w = 0; w < 60; ++w) {
            ASSERT_EQ(campoCoincide(std::to_string(v), w), v == w) << v << " " << w;
            ASSERT_EQ(campoCoincide(twoDigits(v), w), v == w) << v << " " << w;
        }
}

// Fields no clock time can match would arm a schedule that never fires. The
// date plays no part; armed during the minute entered, the first tick fires.
TEST_F(Schedule, TheClockTimeLayoutArmsOnlyForATimeOfDayAndMatchesOnceAcrossMidnight) {
    struct Row { const char* hora, *minuto, *title; };  // title empty: not armed
    const Row rows[] = {
        {"7", "5", "Apagado a las 07:05"}, {"0", "0", "Apagado a las 00:00"}, {"23", "59", "Apagado a las 23:59"},
        {"7a", "5", ""}, {"24", "0", ""}, {"", "5", ""}, {"9.30", "", ""}, {"9", "60", ""}, {"-1", "0", ""},
    };
    frmPrincipal& w = start(1, 1);
    for (const Row& row : rows) {
        w.txtHora.setText(row.hora);
        w.txtMinuto.setText(row.minuto);
        w.lblAviso.setCaption("x");
        w.cmdAceptar.click();
        const bool armed = *row.title != '\0';
        EXPECT_EQ(w.Timer2.enabled(), armed) << row.hora << ":" << row.minuto;
        EXPECT_EQ(w.windowState(), armed ? WindowState::Minimized : WindowState::Normal);
        EXPECT_EQ(w.caption(), armed ? row.title : "Durmivela 3.0.16");
        EXPECT_EQ(w.lblAviso.caption(), lenguaje_.L(armed ? 15 : 10));
        if (armed) {
            EXPECT_EQ(fake.tray.tooltip, "Apagar" + std::string(row.title).substr(7));  // two-digit fields
            w.cmdSalir.click();
            w.setWindowState(WindowState::Normal);
        }
    }
    fake.clock.now = {22, 0, 0};
    w.txtHora.setText("21");
    w.txtMinuto.setText("30");
    w.cmdAceptar.click();
    fake.clock.now = {21, 29, 59};
    for (int i = 0; i < 60; ++i) tick();
    EXPECT_EQ(fake.power.shutdowns(), 1);
    w.cmdSalir.click();
    fake.clock.now = {7, 5, 20};
    w.txtHora.setText(" 07");
    w.txtMinuto.setText("5");
    w.cmdAceptar.click();
    tick();
    EXPECT_EQ(fake.power.shutdowns(), 2);
}

}  // namespace
}  // namespace durmivela
