#include "platform/qt/QtFormWindow.h"
#include "platform/qt/QtServices.h"
#include "platform/qt/QtTicker.h"
#include "platform/qt/TrayActivation.h"
#include "tests/fake/FakePlatform.h"
#include "tests/qt/QtTestApp.h"
#include "tests/util/TempDir.h"

#include <QTest>

#include <gtest/gtest.h>

namespace durmivela::qt {
namespace {

using testing::FakeClock;

// An XEmbed dock reports the double click; a StatusNotifierItem host only its
// primary activation (Trigger), which must then restore the window as well.
TEST(QtServices, TrayActivationsBecomeTheCodesOfWindowsTrayCallback) {
    struct Row {
        QSystemTrayIcon::ActivationReason reason;
        int xembed, dbus;
    };
    const Row rows[] = {
        {QSystemTrayIcon::DoubleClick, 515, 515}, {QSystemTrayIcon::Context, 517, 517},
        {QSystemTrayIcon::Trigger, 514, 515},     {QSystemTrayIcon::MiddleClick, 520, 520},
        {QSystemTrayIcon::Unknown, 0, 0},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(trayMessage(row.reason, false), row.xembed) << row.reason;
        EXPECT_EQ(trayMessage(row.reason, true), row.dbus) << row.reason;
    }
}

TEST(QtServices, TheLongTimeFormatIsHourMinutesSeconds) {
    EXPECT_EQ(QtClock().longTimeFormat({9, 5, 3}), "9:05:03");
    EXPECT_EQ(QtClock().longTimeFormat({23, 59, 0}), "23:59:00");
}

// Who may write the executable's folder decides where the user's files go:
// beside it, else under XDG_DATA_HOME, else ~/.local/share, created on the
// spot, and with no usable user's folder it still runs. Whether it holds
// Leng/ or the help file decides where the program's own files are: a copy
// unpacked by root into /opt still speaks its languages.
TEST(QtServices, TheProgramFoldersFollowWhoMayWriteAndWhatTheExecutablesFolderHolds) {
    testing::TempDir dir;
    const std::filesystem::path bin = dir.path() / "usr" / "bin", shared = dir.path() / "usr" / "share" / "durmivela",
                                copy = dir.path() / "opt" / "durmivela", helpOnly = dir.path() / "help";
    std::filesystem::create_directories(bin);
    std::filesystem::create_directories(copy / "Leng");
    dir.write("help/Durmivela.chm", "");
    dir.write("usr/bin/Leng", "");  // a file, not the folder
    dir.write("file", "");
    const std::string xdg = (dir.path() / "xdg").string(), home = (dir.path() / "home").string(),
                      blocked = (dir.path() / "file").string();
    const std::filesystem::path inXdg = dir.path() / "xdg" / "durmivela";
    struct Row {
        std::filesystem::path exe;
        bool writable;
        const char *xdg, *home;
        std::filesystem::path user, data;
    };
    const Row rows[] = {
        {copy, true, xdg.c_str(), home.c_str(), copy, copy},
        {copy, false, xdg.c_str(), home.c_str(), inXdg, copy},
        {helpOnly, false, xdg.c_str(), home.c_str(), inXdg, helpOnly},
        {bin, true, xdg.c_str(), home.c_str(), bin, shared},
        {bin, false, xdg.c_str(), home.c_str(), inXdg, shared},
        {bin, false, "relative", home.c_str(), dir.path() / "home" / ".local" / "share" / "durmivela", shared},
        {bin, false, nullptr, "relative", bin, shared},
        {copy, false, blocked.c_str(), home.c_str(), copy, copy},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(&row - rows);
        const auto folders = QtProgramInfo::decideFolders(row.exe, row.writable, row.xdg, row.home);
        EXPECT_EQ(folders.user, row.user);
        EXPECT_EQ(folders.data, row.data);
        EXPECT_TRUE(std::filesystem::is_directory(folders.user)) << folders.user;
    }
}

class TimerForm : public Form {
public:
    TimerForm() : Form("frmTimer", Twips{0, 0, 1500, 1500}) {}
    Timer& tmr = add<Timer>("tmr", 30, false);
};

// The window starts the ticker of a timer the model enables, and the Qt
// timer's expiry reaches it.
TEST(QtTicker, TheWindowTicksATimerTheModelEnables) {
    testing::qtApp();
    FakeClock clock;
    TimerForm form;
    int ticks = 0;
    form.tmr.onTimer = [&ticks] { ++ticks; };
    QtFormWindow window(form, clock);
    form.tmr.setEnabled(true);
    clock.monotonic += 30;
    EXPECT_TRUE(QTest::qWaitFor([&ticks] { return ticks == 1; }));
}

}  // namespace
}  // namespace durmivela::qt
