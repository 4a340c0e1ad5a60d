// Drives one model timer from a front end's one-shot wait. The wait is armed
// on every tick for the next anchored due time (TickSchedule), never for
// "interval from now", so time spent in handlers does not add up. A front end
// supplies only the wait: starting it for some milliseconds, cancelling it,
// and calling expired() when it runs out.
#pragma once

#include "platform/Controls.h"
#include "platform/Services.h"
#include "platform/TickSchedule.h"

#include <cstdint>

namespace durmivela {

class AnchoredTicker {
public:
    AnchoredTicker(Timer& timer, const Clock& clock) : timer_(timer), clock_(clock) {}
    virtual ~AnchoredTicker() = default;
    AnchoredTicker(const AnchoredTicker&) = delete;
    AnchoredTicker& operator=(const AnchoredTicker&) = delete;

    // Follows the model: runs while enabled with a positive interval. An
    // enabled timer keeps its anchor; a new interval sets a new one.
    void enabledChanged() { follow(false); }
    void intervalChanged() { follow(true); }
    // Stops until the model next starts it.
    void stop();
    // The wait ran out: a tick when one is due, an early wake-up waited out.
    void expired();
    // The wait armed now, in milliseconds; -1 when idle.
    int armedWaitMs() const { return armedWaitMs_; }

protected:
    // Derived classes call this once built, as it starts their wait.
    void follow(bool reanchor);

private:
    virtual void startWait(int ms) = 0;
    virtual void cancelWait() = 0;
    void arm(std::int64_t dueMs);

    Timer& timer_;
    const Clock& clock_;
    TickSchedule schedule_;
    int armedWaitMs_ = -1;
};

}  // namespace durmivela
