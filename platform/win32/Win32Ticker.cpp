#include "platform/win32/Win32Ticker.h"

#include <windows.h>

#include <algorithm>
#include <limits>
#include <unordered_map>

namespace durmivela::win32 {

namespace {

// Thread timers carry only their id: this finds the ticker, and forgets it
// once stopped, so a late expiry of a dead timer does nothing.
std::unordered_map<UINT_PTR, Win32Ticker*>& tickers() {
    static std::unordered_map<UINT_PTR, Win32Ticker*> map;
    return map;
}

void CALLBACK onTimer(HWND, UINT, UINT_PTR id, DWORD) {
    const auto found = tickers().find(id);
    if (found != tickers().end()) found->second->expired();
}

}  // namespace

Win32Ticker::Win32Ticker(Timer& timer, const Clock& clock) : timer_(timer), clock_(clock) { follow(false); }

Win32Ticker::~Win32Ticker() { stop(); }

void Win32Ticker::follow(bool reanchor) {
    if (!timer_.enabled() || timer_.interval() <= 0) {
        stop();
        return;
    }
    if (schedule_.running() && !reanchor) return;
    schedule_.start(clock_.monotonicMs(), timer_.interval());
    arm(schedule_.nextDue());
}

void Win32Ticker::stop() {
    schedule_.stop();
    armedWaitMs_ = -1;
    if (!id_) return;
    KillTimer(nullptr, id_);
    tickers().erase(id_);
    id_ = 0;
}

void Win32Ticker::arm(std::int64_t dueMs) {
    const std::int64_t wait = std::clamp<std::int64_t>(dueMs - clock_.monotonicMs(), 0,
                                                       std::numeric_limits<int>::max());
    armedWaitMs_ = static_cast<int>(wait);
    // Given the running timer's id, SetTimer re-arms that timer.
    const UINT_PTR id = SetTimer(nullptr, id_, static_cast<UINT>(wait), onTimer);
    if (id != id_) {
        if (id_) tickers().erase(id_);
        id_ = id;
    }
    if (id_) tickers()[id_] = this;
}

void Win32Ticker::expired() {
    if (!schedule_.running()) return;
    const std::int64_t now = clock_.monotonicMs();
    // The system timer runs in ticks of the scheduler and may wake early: wait out the rest.
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

}  // namespace durmivela::win32
