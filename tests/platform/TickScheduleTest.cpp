#include "platform/AnchoredTicker.h"
#include "platform/Form.h"
#include "platform/TickSchedule.h"
#include "tests/fake/FakePlatform.h"

#include <gtest/gtest.h>

namespace durmivela {
namespace {

// A wake-up late by less than an interval keeps every tick on its anchor; one
// a whole interval late or more skips the passed anchors, never bursts.
TEST(TickSchedule, LateWakeUpsKeepTheAnchorsAndSkipThosePassed) {
    TickSchedule schedule;
    schedule.start(10'000, 1000);
    ASSERT_EQ(schedule.nextDue(), 11'000);
    for (std::int64_t k = 1; k <= 5000; ++k) {
        const std::int64_t late = k * 7919 % 1000;  // 0 to 999 ms, scattered
        ASSERT_EQ(schedule.delivered(10'000 + k * 1000 + late), 10'000 + (k + 1) * 1000) << k;
    }
    schedule.start(0, 500);
    EXPECT_EQ(schedule.delivered(1500), 2000);  // a whole interval late: 1500 is dropped
    EXPECT_EQ(schedule.delivered(4730), 5000);  // anchors 2500..4500 dropped
}

class TimerForm : public Form {
public:
    TimerForm() : Form("frmTimer", Twips{0, 0, 1500, 1500}) {}
    Timer& tmr = add<Timer>("tmr", 30, false);
};

// A ticker whose wait is the test's: it expires when the test says.
class ManualTicker final : public AnchoredTicker {
public:
    ManualTicker(Timer& timer, const Clock& clock) : AnchoredTicker(timer, clock) { follow(false); }

private:
    void startWait(int) override {}
    void cancelWait() override {}
};

// On a clock the test moves: early wake-ups are waited out, late ones keep the
// anchors, the next wait is armed before the handler runs, and the model's
// enabling and interval decide the rest.
TEST(AnchoredTicker, ArmsEachWaitForTheNextAnchorOfItsClock) {
    testing::FakeClock clock;  // from 0
    TimerForm form;
    int ticks = 0, armedInHandler = -1;
    ManualTicker ticker(form.tmr, clock);
    form.tmr.onTimer = [&] {
        ++ticks;
        armedInHandler = ticker.armedWaitMs();
    };
    EXPECT_EQ(ticker.armedWaitMs(), -1);  // designed disabled
    form.tmr.setEnabled(true);
    ticker.enabledChanged();
    ASSERT_EQ(ticker.armedWaitMs(), 30);
    const auto wakeAt = [&](std::int64_t now) {
        clock.monotonic = now;
        ticker.expired();
        return ticker.armedWaitMs();
    };
    EXPECT_EQ(wakeAt(29), 1);    // a hair early: no tick, the rest waited out
    EXPECT_EQ(ticks, 0);
    EXPECT_EQ(wakeAt(37), 23);   // late: the next anchor, 60, stays
    EXPECT_EQ(armedInHandler, 23);
    EXPECT_EQ(wakeAt(60), 30);   // on its anchor
    EXPECT_EQ(wakeAt(125), 25);  // over an interval late: 120 is dropped
    EXPECT_EQ(ticks, 3);

    // Enabling an enabled timer leaves it armed; a new interval sets a new anchor.
    clock.monotonic = 130;
    ticker.enabledChanged();
    EXPECT_EQ(ticker.armedWaitMs(), 25);
    form.tmr.setInterval(100);
    ticker.intervalChanged();
    EXPECT_EQ(ticker.armedWaitMs(), 100);

    // A handler that stops its own timer overrides the arming for the next tick,
    // and a late expiry of the stopped wait does nothing.
    form.tmr.onTimer = [&] {
        ++ticks;
        form.tmr.setEnabled(false);
        ticker.enabledChanged();
    };
    EXPECT_EQ(wakeAt(230), -1);
    EXPECT_EQ(wakeAt(400), -1);
    EXPECT_EQ(ticks, 4);
}

}  // namespace
}  // namespace durmivela
