// Drives one model timer from a one-shot Windows thread timer. The timer is
// re-armed on every tick for the next anchored due time (TickSchedule), never
// for "interval from now", so time spent in handlers does not add up. Thread
// timers run through any message loop of the thread (a modal dialog's, a
// message box's, a menu's), so ticks keep coming under them.
#pragma once

#include "platform/Controls.h"
#include "platform/Services.h"
#include "platform/TickSchedule.h"

#include <cstdint>

namespace durmivela::win32 {

class Win32Ticker {
public:
    Win32Ticker(Timer& timer, const Clock& clock);
    ~Win32Ticker();
    Win32Ticker(const Win32Ticker&) = delete;
    Win32Ticker& operator=(const Win32Ticker&) = delete;

    // Follows the model: runs while enabled with a positive interval. An
    // enabled timer keeps its anchor; a new interval sets a new one.
    void enabledChanged() { follow(false); }
    void intervalChanged() { follow(true); }
    // Stops until the model next starts it.
    void stop();

    // The system timer's expiry, and the wait it is armed for (-1 when idle):
    // tests drive the ticker through these on a clock they move.
    void expired();
    int armedWaitMs() const { return armedWaitMs_; }

private:
    void follow(bool reanchor);
    void arm(std::int64_t dueMs);

    Timer& timer_;
    const Clock& clock_;
    TickSchedule schedule_;
    std::uintptr_t id_ = 0;  // the system timer, 0 when none
    int armedWaitMs_ = -1;
};

}  // namespace durmivela::win32
