#include "tests/scheduler/ScheduleFixture.h"

namespace durmivela {
namespace {

using testing::MainWindowTest;

class Tray : public MainWindowTest {};

TEST_F(Tray, ArmingHidesTheWindowBehindAnIconWithTheScheduleTooltip) {
    frmPrincipal& w = start(2, 1);
    fake.clock.now = {21, 15, 3};
    choose(3);
    w.cmdAceptar.click();
    EXPECT_EQ(w.windowState(), WindowState::Minimized);
    EXPECT_FALSE(w.visible());
    EXPECT_TRUE(fake.tray.shown);
    EXPECT_EQ(fake.tray.tooltip, "Apagar tras 0:30:00 desde las 21:15:03");
    for (int i = 0; i < 5; ++i) tick();
    EXPECT_EQ(fake.tray.adds, 1);  // not refreshed while counting
}

TEST_F(Tray, TheTooltipWordsAreFixedSpanishInEveryLanguage) {
    frmPrincipal& w = start(1, 1, "English");
    w.txtHora.setText("7");
    w.txtMinuto.setText("5");
    w.setWindowState(WindowState::Minimized);
    EXPECT_EQ(fake.tray.tooltip, "Apagar a las 07:05");
    EXPECT_EQ(textoIconoBandeja(2, "", "", 0, "9:05:03"), "Apagar tras 0:00:00 desde las 9:05:03");
    EXPECT_EQ(textoIconoBandeja(1, std::string(80, 'x'), "", 0, "").size(), kLargoMaximoTooltip);
    EXPECT_EQ(recortarTexto("ñññ", 2), "ññ");
}

TEST_F(Tray, DoubleClickOrTheOpenItemRestoresAndRemovesTheIcon) {
    frmPrincipal& w = start(2, 1);
    w.setWindowState(WindowState::Minimized);
    ASSERT_TRUE(fake.tray.shown);
    for (int code : {512, 513, 514, 516}) w.pctSysTrayIcon.mouseMove(0, 0, code, 0);
    EXPECT_TRUE(fake.tray.shown);
    EXPECT_FALSE(w.visible());
    w.pctSysTrayIcon.mouseMove(0, 0, 515, 0);
    EXPECT_FALSE(fake.tray.shown);
    EXPECT_TRUE(w.visible());
    EXPECT_EQ(w.windowState(), WindowState::Normal);

    w.setWindowState(WindowState::Minimized);
    w.mnuSTIAbrir.click();
    EXPECT_FALSE(fake.tray.shown);
    EXPECT_TRUE(w.visible());
}

TEST_F(Tray, StopFromTheTrayStopsWhileArmedAndQuitsWhileIdle) {
    frmPrincipal& w = start(2, 1);
    choose(0);
    w.cmdAceptar.click();
    w.mnuSTIParar.click();
    EXPECT_FALSE(w.Timer2.enabled());
    EXPECT_TRUE(fake.tray.shown);  // the window stays in the tray
    EXPECT_FALSE(w.visible());
    EXPECT_FALSE(w.closed());
    w.mnuSTIParar.click();
    EXPECT_TRUE(w.closed());
    EXPECT_FALSE(fake.tray.shown);
    EXPECT_EQ(fake.power.shutdowns(), 0);
}

TEST_F(Tray, EveryWayOutRemovesTheIcon) {
    for (int way = 0; way < 3; ++way) {
        frmPrincipal& w = start(2, 1);
        choose(0);
        w.cmdAceptar.click();
        ASSERT_TRUE(fake.tray.shown);
        if (way == 0) w.mnuSTISalir.click();
        if (way == 1) w.mnuSalir.click();
        if (way == 2) w.close();  // the window's close box
        EXPECT_TRUE(w.closed()) << way;
        EXPECT_FALSE(fake.tray.shown) << way;
    }
    EXPECT_EQ(fake.power.shutdowns(), 0);
}

TEST_F(Tray, WithoutANotificationAreaTheWindowStaysMinimisedOnTheTaskbar) {
    fake.tray.present = false;
    frmPrincipal& w = start(2, 1);
    choose(0);
    w.cmdAceptar.click();
    EXPECT_EQ(w.windowState(), WindowState::Minimized);
    EXPECT_TRUE(w.visible());
    EXPECT_EQ(fake.tray.adds, 0);
    EXPECT_TRUE(w.Timer2.enabled());
}

TEST_F(Tray, RestoringAndMinimisingAgainBuildsTheTooltipAnew) {
    frmPrincipal& w = start(2, 1);
    choose(0);
    w.cmdAceptar.click();
    for (int i = 0; i < 60; ++i) tick();
    w.mnuSTIAbrir.click();
    w.setWindowState(WindowState::Minimized);
    EXPECT_EQ(fake.tray.tooltip.substr(0, 24), "Apagar tras 0:04:00 desd");
}

}  // namespace
}  // namespace durmivela
