// The anchored ticker's wait on Windows: a thread timer. Thread timers run
// through any message loop of the thread (a modal dialog's, a message box's,
// a menu's), so ticks keep coming under them.
#pragma once

#include "platform/AnchoredTicker.h"

#include <cstdint>

namespace durmivela::win32 {

class Win32Ticker final : public AnchoredTicker {
public:
    Win32Ticker(Timer& timer, const Clock& clock);
    ~Win32Ticker() override { stop(); }

private:
    void startWait(int ms) override;
    void cancelWait() override;

    std::uintptr_t id_ = 0;  // the system timer, 0 when none
};

}  // namespace durmivela::win32
