// When a timer's ticks fall due. Ticks are anchored to the moment the timer was
// enabled: tick k is due at start + k * interval, so lateness never accumulates.
// A tick that could not be delivered in time (the thread was busy for longer
// than an interval) is dropped rather than delivered in a burst.
#pragma once

#include <cstdint>

namespace durmivela {

class TickSchedule {
public:
    // Starts counting from `nowMs` on a monotonic clock.
    void start(std::int64_t nowMs, std::int64_t intervalMs);
    bool running() const { return running_; }
    void stop() { running_ = false; }
    // The monotonic time at which the next tick is due.
    std::int64_t nextDue() const { return start_ + ticks_ * interval_; }
    // Records the tick delivered at `nowMs` and returns the following due time,
    // skipping the anchors that have already passed.
    std::int64_t delivered(std::int64_t nowMs);

private:
    std::int64_t start_ = 0;
    std::int64_t interval_ = 0;
    std::int64_t ticks_ = 1;
    bool running_ = false;
};

}  // namespace durmivela
