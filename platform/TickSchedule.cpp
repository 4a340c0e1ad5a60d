#include "platform/TickSchedule.h"

namespace durmivela {

void TickSchedule::start(std::int64_t nowMs, std::int64_t intervalMs) {
    start_ = nowMs;
    interval_ = intervalMs > 0 ? intervalMs : 1;
    ticks_ = 1;
    running_ = true;
}

std::int64_t TickSchedule::delivered(std::int64_t nowMs) {
    ++ticks_;
    if (nextDue() <= nowMs) ticks_ = (nowMs - start_) / interval_ + 1;
    return nextDue();
}

}  // namespace durmivela
