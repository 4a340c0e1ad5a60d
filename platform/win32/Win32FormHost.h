// The program's dialogs as modal Win32 windows, and the program's message loop.
#pragma once

#include "platform/Services.h"

namespace durmivela::win32 {

class Win32FormHost final : public FormHost {
public:
    explicit Win32FormHost(const Clock& clock) : clock_(clock) {}
    // Disables the thread's other windows and runs a message loop of its own
    // until the dialog closes; the main window's timers keep ticking meanwhile.
    void showModal(Form& form) override;
    // Repaints and ticks, not the user's input.
    void processPendingEvents() override;
    // The step on a thread of its own; this thread runs a message loop of
    // its own until it has finished, its windows taking no input meanwhile.
    void runAside(const std::function<void()>& step) override;

private:
    const Clock& clock_;
};

// The program's message loop, with the forms' keyboard navigation, until
// WM_QUIT; returns its exit code.
int runMessageLoop();

}  // namespace durmivela::win32
