#include "platform/qt/QtFormWindow.h"
#include "platform/qt/QtServices.h"
#include "tests/qt/QtTestApp.h"

#include <QElapsedTimer>
#include <QTest>

#include <gtest/gtest.h>

#include <thread>

namespace durmivela::qt {
namespace {

class TimerForm : public Form {
public:
    TimerForm() : Form("frmTimer", Twips{0, 0, 1500, 1500}) {}
    Timer& tmr = add<Timer>("tmr", 30, false);
};

// Each tick's handler takes 12 ms of a 30 ms interval. Anchored ticks keep the
// 30 ms pace; ticks timed from the end of the last one would slip to 42 ms.
TEST(QtTicker, HandlerTimeDoesNotSlowTheTicks) {
    testing::qtApp();
    QtClock clock;
    TimerForm form;
    int ticks = 0;
    form.tmr.onTimer = [&ticks] {
        ++ticks;
        std::this_thread::sleep_for(std::chrono::milliseconds(12));
    };
    QtFormWindow window(form, clock);
    form.tmr.setEnabled(true);
    QTest::qWait(900);
    EXPECT_GE(ticks, 26);  // 30 when on time, 21 when slipping
    EXPECT_LE(ticks, 31);
}

TEST(QtTicker, FollowsTheModelsEnabledAndInterval) {
    testing::qtApp();
    QtClock clock;
    TimerForm form;
    int ticks = 0;
    form.tmr.onTimer = [&] {
        if (++ticks == 3) form.tmr.setEnabled(false);
    };
    QtFormWindow window(form, clock);
    QTest::qWait(100);
    EXPECT_EQ(ticks, 0);  // designed disabled

    form.tmr.setEnabled(true);
    QTest::qWait(300);
    EXPECT_EQ(ticks, 3);  // the handler stopped it

    // A longer interval takes effect at once.
    form.tmr.setInterval(1000);
    form.tmr.setEnabled(true);
    QTest::qWait(300);
    EXPECT_EQ(ticks, 3);
}

}  // namespace
}  // namespace durmivela::qt
