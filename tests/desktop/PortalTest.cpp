// The capture in a Wayland session, through a mock screenshot portal on a
// private session bus. Qt's minimal platform without X11 has no other way to
// the screen, so whatever Captura.bmp holds came from the portal.
#include "capture/Captura.h"
#include "platform/qt/QtServices.h"
#include "tests/qt/QtTestApp.h"
#include "tests/util/TempDir.h"

#include <QProcess>
#include <QTimer>

#include <sys/prctl.h>

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>

namespace durmivela::qt {
namespace {

using namespace std::chrono;

class PortalCapture : public ::testing::Test {
protected:
    // Captures through a portal answering in `mode`, over an earlier shutdown's
    // capture. The capture runs inside the tick of the shutdown with that timer
    // still running: no event of this thread may be handled while it waits.
    WriteResult capture(const char* mode) {
        testing::qtApp();
        // A portal left behind by a crashed test would outlive it.
        portal_.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGKILL); });
        portal_.start("/usr/bin/python3",
                      {DURMIVELA_MOCK_PORTAL, mode, QString::fromStdString(folder_.path().string())});
        EXPECT_TRUE(portal_.waitForReadyRead(10000)) << portal_.readAllStandardError().toStdString();
        EXPECT_EQ(portal_.readLine().trimmed(), "ready");
        folder_.write(kArchivoCaptura, "an earlier shutdown's capture");
        int ticks = 0;
        QTimer timer;
        QObject::connect(&timer, &QTimer::timeout, [&ticks] { ++ticks; });
        timer.start(10);
        QtScreen screen(seconds(2));
        const auto start = steady_clock::now();
        const WriteResult result = GuardarCaptura(screen, folder_.path());
        took_ = duration_cast<milliseconds>(steady_clock::now() - start);
        EXPECT_EQ(ticks, 0);
        return result;
    }
    testing::TempDir folder_;  // the portal's shots and the program's capture
    QProcess portal_;  // killed with the test
    milliseconds took_{};
};

// The portal's PNG becomes Captura.bmp, rows bottom up in BGR order.
TEST_F(PortalCapture, AnAnsweredPortalGivesTheCapture) {
    qputenv("XDG_SESSION_TYPE", "wayland");
    ASSERT_TRUE(capture("answer").ok);
    const std::string file = folder_.read(kArchivoCaptura);
    ASSERT_EQ(file.size(), 54u + 12 * 2);  // 3 x 2 pixels of 24 bits, rows padded to 4 bytes
    // The mock's pixels, rows from the top: red green blue / (1,2,3) (250,128,7) white.
    EXPECT_EQ(file.substr(54, 9), std::string("\x03\x02\x01\x07\x80\xFA\xFF\xFF\xFF", 9));
    EXPECT_EQ(file.substr(54 + 12, 9), std::string("\x00\x00\xFF\x00\xFF\x00\xFF\x00\x00", 9));
    qunsetenv("XDG_SESSION_TYPE");
}

// The capture of an earlier shutdown must not pass for this one.
TEST_F(PortalCapture, AnUnansweredPortalGivesUpAtTheLimitAndLeavesNoStaleCapture) {
    qputenv("WAYLAND_DISPLAY", "wayland-durmivela-test");
    EXPECT_FALSE(capture("silent").ok);
    qunsetenv("WAYLAND_DISPLAY");
    EXPECT_GE(took_.count(), 1700);
    EXPECT_LE(took_.count(), 2300);
    EXPECT_FALSE(std::filesystem::exists(folder_.path() / kArchivoCaptura));
}

}  // namespace
}  // namespace durmivela::qt
