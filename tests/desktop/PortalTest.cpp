// The capture in a Wayland session, through a mock screenshot portal on a
// private session bus started here. Qt's minimal platform without X11 has
// no other way to the screen, so whatever Captura.bmp holds came from the portal.
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
#include <cstdio>

namespace durmivela::qt {
namespace {

std::uint32_t le(const std::string& b, std::size_t at, std::size_t size = 4) {
    std::uint32_t value = 0;
    for (std::size_t i = size; i-- > 0;) value = value << 8 | static_cast<unsigned char>(b[at + i]);
    return value;
}

// A bus or portal left behind by a crashed test would outlive it.
void endWithTheTest(QProcess& process) {
    process.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGKILL); });
}

class PortalCapture : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        qunsetenv("DISPLAY");
        qunsetenv("WAYLAND_DISPLAY");
        // Not "offscreen": it claims an X11 interface that has no connection.
        qputenv("QT_QPA_PLATFORM", "minimal");
        testing::qtApp();
        busFolder_ = new testing::TempDir;
        bus_ = new QProcess;
        endWithTheTest(*bus_);
        bus_->start(QStringLiteral("dbus-daemon"),
                    {QStringLiteral("--session"), QStringLiteral("--nofork"), QStringLiteral("--nopidfile"),
                     QStringLiteral("--print-address"),
                     QStringLiteral("--address=unix:path=") + QString::fromStdString((busFolder_->path() / "bus").string())});
        ASSERT_TRUE(bus_->waitForReadyRead(5000)) << "dbus-daemon did not start";
        qputenv("DBUS_SESSION_BUS_ADDRESS", bus_->readLine().trimmed());
    }
    static void TearDownTestSuite() {
        bus_->kill();
        bus_->waitForFinished();
        delete bus_;
        delete busFolder_;
    }

    // Returns once the portal owns its name on the bus.
    void startPortal(const char* mode) {
        endWithTheTest(portal_);
        portal_.start(QStringLiteral("/usr/bin/python3"),
                      {QStringLiteral(DURMIVELA_MOCK_PORTAL), QString::fromLatin1(mode),
                       QString::fromStdString(portalFolder_.path().string())});
        ASSERT_TRUE(portal_.waitForReadyRead(10000)) << portal_.readAllStandardError().toStdString();
        ASSERT_EQ(portal_.readLine().trimmed(), "ready");
    }
    // The requests the portal has received since the last look.
    QList<QByteArray> portalCalls() {
        portal_.waitForReadyRead(200);
        QList<QByteArray> calls = portal_.readAllStandardOutput().split('\n');
        calls.removeIf([](const QByteArray& line) { return !line.startsWith("call"); });
        return calls;
    }
    void TearDown() override {
        portal_.kill();
        portal_.waitForFinished();
        qunsetenv("XDG_SESSION_TYPE");
    }

    // The capture runs inside the tick of the shutdown with that timer still
    // running: no event of this thread may be handled while the portal is asked.
    void countMainThreadTimerTicks() {
        QObject::connect(&mainThreadTimer_, &QTimer::timeout, [this] { ++ticks_; });
        mainThreadTimer_.start(10);
    }

    static inline testing::TempDir* busFolder_ = nullptr;
    static inline QProcess* bus_ = nullptr;
    testing::TempDir portalFolder_, programFolder_;
    QProcess portal_;
    QTimer mainThreadTimer_;
    int ticks_ = 0;
};

// The portal's PNG becomes Captura.bmp, 24 bits, rows bottom up in BGR order;
// the portal is asked without a dialog, and only in a Wayland session.
TEST_F(PortalCapture, AnAnsweredPortalGivesTheCaptureAndIsAskedOnlyOnWayland) {
    startPortal("answer");
    qputenv("XDG_SESSION_TYPE", "wayland");
    programFolder_.write(kArchivoCaptura, "an earlier shutdown's capture");
    QtScreen screen(std::chrono::seconds(2));
    countMainThreadTimerTicks();
    const auto start = std::chrono::steady_clock::now();
    ASSERT_TRUE(GuardarCaptura(screen, programFolder_.path()).ok);
    std::printf("answered portal: capture saved after %lld ms\n",
                static_cast<long long>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                           std::chrono::steady_clock::now() - start).count()));
    EXPECT_EQ(ticks_, 0);

    const std::string file = programFolder_.read(kArchivoCaptura);
    ASSERT_EQ(file.size(), 54u + 12 * 2);
    EXPECT_EQ(file.substr(0, 2), "BM");
    EXPECT_EQ(le(file, 18), 3u);
    EXPECT_EQ(le(file, 22), 2u);
    EXPECT_EQ(le(file, 28, 2), 24u);
    // The mock's pixels, rows from the top: red green blue / (1,2,3) (250,128,7) white.
    const std::uint32_t rows[2][3] = {{0xFF0000, 0x00FF00, 0x0000FF}, {0x010203, 0xFA8007, 0xFFFFFF}};
    for (std::size_t y = 0; y < 2; ++y)
        for (std::size_t x = 0; x < 3; ++x) EXPECT_EQ(le(file, 54 + (1 - y) * 12 + x * 3, 3), rows[y][x]) << x << y;
    EXPECT_EQ(portalCalls(), QList<QByteArray>{"call False False"});

    qputenv("XDG_SESSION_TYPE", "x11");
    Image image;
    EXPECT_FALSE(screen.capturePrimary(image));
    EXPECT_TRUE(portalCalls().isEmpty());
}

// A request nobody answers ends at the limit, and the capture of an earlier
// shutdown is gone rather than passing for this one.
TEST_F(PortalCapture, AnUnansweredPortalGivesUpAtTheLimitAndLeavesNoStaleCapture) {
    startPortal("silent");
    qputenv("WAYLAND_DISPLAY", "wayland-durmivela-test");
    programFolder_.write(kArchivoCaptura, "an earlier shutdown's capture");
    QtScreen screen(std::chrono::seconds(2));
    countMainThreadTimerTicks();
    const auto start = std::chrono::steady_clock::now();
    const WriteResult result = GuardarCaptura(screen, programFolder_.path());
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
    qunsetenv("WAYLAND_DISPLAY");
    std::printf("unanswered portal: gave up after %lld ms\n", static_cast<long long>(ms.count()));
    EXPECT_FALSE(result.ok);
    EXPECT_GE(ms.count(), 1700);
    EXPECT_LE(ms.count(), 2300);
    EXPECT_EQ(ticks_, 0);
    EXPECT_FALSE(std::filesystem::exists(programFolder_.path() / kArchivoCaptura));
    EXPECT_EQ(portalCalls().size(), 1);
}

}  // namespace
}  // namespace durmivela::qt
