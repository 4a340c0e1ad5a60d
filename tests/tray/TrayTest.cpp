#include "tests/scheduler/ScheduleFixture.h"

namespace durmivela {
namespace {

using testing::MainWindowTest;

class Tray : public MainWindowTest {};

// Records the pop-up menus the form asks its front end for.
struct PopupView : FormView {
    std::vector<const MenuItem*> popups;
    void controlChanged(Control&, Property) override {}
    void formChanged(FormProperty) override {}
    void popupMenu(MenuItem& menu) override { popups.push_back(&menu); }
};

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

    w.mnuSTIAbrir.click();
    EXPECT_FALSE(fake.tray.shown);
    EXPECT_TRUE(w.visible());
    w.setWindowState(WindowState::Minimized);
    EXPECT_EQ(fake.tray.tooltip, "Apagar tras 0:29:00 desde las 21:16:03");
    EXPECT_EQ(textoIconoBandeja(1, std::string(80, 'x'), "", 0, "").size(), kLargoMaximoTooltip);
    EXPECT_EQ(recortarTexto("ñññ", 2), "ññ");
}

// The icon's mouse events arrive as the codes of Windows' tray callback. A
// clock-time schedule's tooltip writes its fields with two digits.
TEST_F(Tray, DoubleClickRestoresTheWindowAndRightButtonUpOpensTheMenu) {
    frmPrincipal& w = start(1, 1);
    w.txtHora.setText("7");
    w.txtMinuto.setText("5");
    PopupView view;
    w.attach(&view);
    for (int code = 512; code <= 518; ++code) {
        w.setWindowState(WindowState::Minimized);
        ASSERT_TRUE(fake.tray.shown);
        w.pctSysTrayIcon.mouseMove(0, 0, code, 0);
        const bool restored = code == 515;
        EXPECT_EQ(w.visible(), restored) << code;
        EXPECT_EQ(w.windowState(), restored ? WindowState::Normal : WindowState::Minimized) << code;
        EXPECT_EQ(fake.tray.shown, !restored) << code;
        EXPECT_EQ(view.popups.size(), code < 517 ? 0u : 1u) << code;
    }
    EXPECT_EQ(view.popups, std::vector<const MenuItem*>{&w.mnuSysTrayIcon});
    EXPECT_EQ(fake.tray.tooltip, "Apagar a las 07:05");
    w.attach(nullptr);
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

// No notification area, or one that refuses the icon: the window stays
// minimised on the taskbar, where the user can reach it.
TEST_F(Tray, WithoutANotificationAreaTheWindowStaysMinimisedOnTheTaskbar) {
    for (const bool present : {false, true}) {
        fake.tray.present = present;
        fake.tray.refuse = present;
        frmPrincipal& w = start(2, 1);
        choose(0);
        w.cmdAceptar.click();
        EXPECT_EQ(w.windowState(), WindowState::Minimized) << present;
        EXPECT_TRUE(w.visible()) << present;
        EXPECT_EQ(fake.tray.adds, present ? 1 : 0);
        EXPECT_TRUE(w.Timer2.enabled());
    }
}

}  // namespace
}  // namespace durmivela
