#include "platform/TickSchedule.h"

#include <gtest/gtest.h>

namespace durmivela {
namespace {

TEST(TickSchedule, TicksStayAnchoredToTheStartWhateverTheLateness) {
    TickSchedule schedule;
    schedule.start(10'000, 1000);
    EXPECT_EQ(schedule.nextDue(), 11'000);
    // Each tick delivered a little late: the next one is still due on its anchor.
    EXPECT_EQ(schedule.delivered(11'007), 12'000);
    EXPECT_EQ(schedule.delivered(12'013), 13'000);
    // Three hundred slightly late ticks end on the 301st anchor, not later.
    for (int k = 3; k <= 300; ++k) schedule.delivered(10'000 + k * 1000 + 15);
    EXPECT_EQ(schedule.nextDue(), 10'000 + 301 * 1000);
}

TEST(TickSchedule, TicksMissedWhileBusyAreDroppedNotBurst) {
    TickSchedule schedule;
    schedule.start(0, 500);
    EXPECT_EQ(schedule.delivered(2'730), 3'000);  // anchors 1000..2500 have passed
    schedule.start(5'000, 500);  // re-enabling re-anchors
    EXPECT_EQ(schedule.nextDue(), 5'500);
}

}  // namespace
}  // namespace durmivela
