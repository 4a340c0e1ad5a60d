// The program's dialogs as modal Qt windows.
#pragma once

#include "platform/Services.h"

#include <QIcon>

namespace durmivela::qt {

class QtFormHost final : public FormHost {
public:
    QtFormHost(const Clock& clock, QIcon icon) : clock_(clock), icon_(std::move(icon)) {}
    // Runs a nested event loop until the dialog closes, so the main window's
    // timers keep ticking meanwhile.
    void showModal(Form& form) override;
    void processPendingEvents() override;
    // The step on a thread of its own; this thread handles events until it
    // has finished, the user's input to the open windows dropped.
    void runAside(const std::function<void()>& step) override;

private:
    const Clock& clock_;
    QIcon icon_;
};

}  // namespace durmivela::qt
