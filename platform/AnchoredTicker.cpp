#include "platform/AnchoredTicker.h"

#include <algorithm>
#include <limits>

namespace durmivela {

void AnchoredTicker::follow(bool reanchor) {
    if (!timer_.enabled() || timer_.interval() <= 0) {
        stop();
        return;
    }
    if (schedule_.running() && !reanchor) return;
    schedule_.start(clock_.monotonicMs(), timer_.interval());
    arm(schedule_.nextDue());
}

void AnchoredTicker::stop() {
    schedule_.stop();
    armedWaitMs_ = -1;
    cancelWait();
}

void AnchoredTicker::arm(std::int64_t dueMs) {
    armedWaitMs_ = static_cast<int>(
        std::clamp<std::int64_t>(dueMs - clock_.monotonicMs(), 0, std::numeric_limits<int>::max()));
    startWait(armedWaitMs_);
}

void AnchoredTicker::expired() {
    // A late expiry of a stopped wait does nothing.
    if (!schedule_.running()) return;
    const std::int64_t now = clock_.monotonicMs();
    // System timers round and may wake a hair early: wait out the rest.
    if (now < schedule_.nextDue()) {
        arm(schedule_.nextDue());
        return;
    }
    // Armed before the handler runs, so a modal box opened by the handler
    // does not stop the ticks, and a handler that stops or re-times the timer
    // overrides this arming through the model.
    arm(schedule_.delivered(now));
    timer_.tick();
}

}  // namespace durmivela
