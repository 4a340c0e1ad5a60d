#include "platform/TickSchedule.h"

#include <gtest/gtest.h>

namespace durmivela {
namespace {

TEST(TickSchedule, WakeUpsLateByLessThanAnIntervalKeepEveryTickOnItsAnchor) {
    TickSchedule schedule;
    schedule.start(10'000, 1000);
    ASSERT_EQ(schedule.nextDue(), 11'000);
    // Every lateness from 0 to 999 ms, in a scattered order.
    for (std::int64_t k = 1; k <= 5000; ++k) {
        const std::int64_t late = k * 7919 % 1000;
        ASSERT_EQ(schedule.delivered(10'000 + k * 1000 + late), 10'000 + (k + 1) * 1000) << k;
    }
}

TEST(TickSchedule, AWakeUpAWholeIntervalLateOrMoreSkipsThePassedAnchors) {
    TickSchedule schedule;
    schedule.start(0, 500);
    EXPECT_EQ(schedule.delivered(500), 1000);   // on its anchor
    EXPECT_EQ(schedule.delivered(1500), 2000);  // a whole interval late: 1500 is dropped
    EXPECT_EQ(schedule.delivered(4730), 5000);  // anchors 2500..4500 dropped, not burst
    EXPECT_EQ(schedule.delivered(5000), 5500);
}

}  // namespace
}  // namespace durmivela
