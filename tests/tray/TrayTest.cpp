#include "tests/scheduler/ScheduleFixture.h"

namespace durmivela {
namespace {

using testing::MainWindowTest;

class Tray : public MainWindowTest {};

// The tooltip's words are fixed Spanish, whatever the language.
TEST_F(Tray, ArmingHidesTheWindowBehindAnIconWhoseTooltipIsBuiltOnEachMinimise) {
    frmPrincipal& w = start(2, 1, "English");
    choose(3);
    w.cmdAceptar.click();
    EXPECT_EQ(w.windowState(), WindowState::Minimized);
    EXPECT_FALSE(w.visible());
    EXPECT_TRUE(fake.tray.shown);
    EXPECT_EQ(fake.tray.tooltip, "Apagar tras 0:30:00 desde las 21:15:03");
    for (int i = 0; i < 60; ++i) tick();
    EXPECT_EQ(fake.tray.adds, 1);  // not refreshed while counting

    for (int code : {512, 513, 514, 516, 517, 518}) w.pctSysTrayIcon.mouseMove(0, 0, code, 0);
    EXPECT_FALSE(w.visible());
    w.pctSysTrayIcon.mouseMove(0, 0, 515, 0);  // Windows' double click
    EXPECT_FALSE(fake.tray.shown);
    EXPECT_TRUE(w.visible());
    w.setWindowState(WindowState::Minimized);
    EXPECT_EQ(fake.tray.tooltip, "Apagar tras 0:29:00 desde las 21:16:03");
    EXPECT_EQ(textoIconoBandeja(1, std::string(80, 'x'), "", 0, "").size(), kLargoMaximoTooltip);
    EXPECT_EQ(recortarTexto("ñññ", 2), "ññ");
}

// Every way out removes the icon. No notification area, or one that refuses
// the icon: the window stays minimised on the taskbar, where the user can
// reach it.
TEST_F(Tray, EveryWayOutRemovesTheIconAndWithoutAnAreaTheWindowStaysOnTheTaskbar) {
    for (int way = 0; way < 5; ++way) {
        fake.tray.present = way != 3;
        fake.tray.refuse = way == 4;
        frmPrincipal& w = start(2, 1);
        choose(0);
        w.cmdAceptar.click();
        EXPECT_EQ(w.visible(), way >= 3) << way;
        EXPECT_EQ(w.windowState(), WindowState::Minimized) << way;
        if (way == 0) w.mnuSTISalir.click();
        if (way == 1) w.mnuSalir.click();
        if (way == 2) w.close();  // the window's close box
        EXPECT_EQ(w.closed(), way < 3) << way;
        EXPECT_FALSE(fake.tray.shown) << way;
    }
}

// A stop from the tray menu re-titles the icon with the program's name, no
// shutdown being due (desktop_panel sees the window stay hidden behind it on
// a real panel); an area that will not take the new tooltip gives the window back.
TEST_F(Tray, AStopFromTheTrayMenuRetitlesTheIcon) {
    frmPrincipal& w = start(2, 1);
    choose(3);
    w.cmdAceptar.click();
    fake.tray.refuse = true;
    w.mnuSTIParar.click();
    EXPECT_FALSE(w.Timer2.enabled());
    EXPECT_EQ(fake.tray.tooltip, "Durmivela 3.0.16");
    EXPECT_FALSE(fake.tray.shown);
    EXPECT_TRUE(w.visible());
    EXPECT_EQ(w.windowState(), WindowState::Minimized);
}

// The notification area goes away while the window hides behind its icon (the
// panel crashed): the window comes back minimised on the taskbar, still armed.
// When an area appears, a window still minimised there goes back behind a new
// icon; one the user has restored meanwhile stays on screen. (Started twice:
// the area tells the window that lives, not the one that went.)
TEST_F(Tray, ALostNotificationAreaGivesTheWindowBackUntilOneAppears) {
    start(2, 1);
    frmPrincipal& w = start(2, 1);
    choose(3);
    w.cmdAceptar.click();
    fake.tray.hostChanged(false);
    EXPECT_TRUE(w.visible());
    EXPECT_EQ(w.windowState(), WindowState::Minimized);
    EXPECT_TRUE(w.Timer2.enabled());
    tick();
    fake.tray.hostChanged(true);
    EXPECT_FALSE(w.visible());
    EXPECT_TRUE(fake.tray.shown);
    EXPECT_EQ(fake.tray.tooltip, "Apagar tras 0:29:59 desde las 21:15:04");

    fake.tray.hostChanged(false);
    w.setWindowState(WindowState::Normal);
    fake.tray.hostChanged(true);
    EXPECT_TRUE(w.visible());
    EXPECT_FALSE(fake.tray.shown);
    EXPECT_EQ(fake.tray.adds, 2);
}

}  // namespace
}  // namespace durmivela
