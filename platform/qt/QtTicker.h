// Drives one model timer from a single-shot precise Qt timer. The Qt timer is
// rearmed on every tick for the next anchored due time (TickSchedule), never
// for "interval from now", so time spent in handlers does not add up.
#pragma once

#include "platform/Controls.h"
#include "platform/Services.h"
#include "platform/TickSchedule.h"

#include <QTimer>

#include <cstdint>

namespace durmivela::qt {

class QtTicker {
public:
    QtTicker(Timer& timer, const Clock& clock);
    QtTicker(const QtTicker&) = delete;
    QtTicker& operator=(const QtTicker&) = delete;

    // Follows the model: runs while enabled with a positive interval. An
    // enabled timer keeps its anchor; a new interval sets a new one.
    void enabledChanged() { follow(false); }
    void intervalChanged() { follow(true); }
    // Stops until the model next starts it.
    void stop();

    // The Qt timer's expiry, and the wait it is armed for (-1 when idle):
    // tests drive the ticker through these on a clock they move.
    void expired();
    int armedWaitMs() const { return qtimer_.isActive() ? qtimer_.interval() : -1; }

private:
    void follow(bool reanchor);
    void arm(std::int64_t dueMs);

    Timer& timer_;
    const Clock& clock_;
    TickSchedule schedule_;
    QTimer qtimer_;
};

}  // namespace durmivela::qt
