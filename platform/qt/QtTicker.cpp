#include "platform/qt/QtTicker.h"

#include <algorithm>
#include <limits>

namespace durmivela::qt {

QtTicker::QtTicker(Timer& timer, const Clock& clock) : timer_(timer), clock_(clock) {
    qtimer_.setSingleShot(true);
    qtimer_.setTimerType(Qt::PreciseTimer);
    QObject::connect(&qtimer_, &QTimer::timeout, &qtimer_, [this] { expired(); });
    follow(false);
}

void QtTicker::follow(bool reanchor) {
    if (!timer_.enabled() || timer_.interval() <= 0) {
        stop();
        return;
    }
    if (schedule_.running() && !reanchor) return;
    schedule_.start(clock_.monotonicMs(), timer_.interval());
    arm(schedule_.nextDue());
}

void QtTicker::stop() {
    schedule_.stop();
    qtimer_.stop();
}

void QtTicker::arm(std::int64_t dueMs) {
    const std::int64_t wait = std::clamp<std::int64_t>(dueMs - clock_.monotonicMs(), 0,
                                                       std::numeric_limits<int>::max());
    qtimer_.start(static_cast<int>(wait));
}

void QtTicker::expired() {
    const std::int64_t now = clock_.monotonicMs();
    // Qt rounds to whole milliseconds and may wake a hair early: wait out the rest.
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

}  // namespace durmivela::qt
