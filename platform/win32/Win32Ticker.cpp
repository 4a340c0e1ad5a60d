#include "platform/win32/Win32Ticker.h"

#include <windows.h>

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

Win32Ticker::Win32Ticker(Timer& timer, const Clock& clock) : AnchoredTicker(timer, clock) { follow(false); }

void Win32Ticker::startWait(int ms) {
    // Given the running timer's id, SetTimer re-arms that timer.
    const UINT_PTR id = SetTimer(nullptr, id_, static_cast<UINT>(ms), onTimer);
    if (id != id_) {
        if (id_) tickers().erase(id_);
        id_ = id;
    }
    if (id_) tickers()[id_] = this;
}

void Win32Ticker::cancelWait() {
    if (!id_) return;
    KillTimer(nullptr, id_);
    tickers().erase(id_);
    id_ = 0;
}

}  // namespace durmivela::win32
