// The shutdown on Linux: systemd-logind on the system bus decides, through polkit.
#pragma once

#include "platform/Services.h"

namespace durmivela::qt {

class QtLogindPower final : public Power {
public:
    // logind grants the right per request; the process has nothing to enable.
    void enableShutdownRight() override {}
    // org.freedesktop.login1.Manager.PowerOff(false): no interactive
    // authentication, so a refusal comes back at once instead of a prompt.
    bool requestForcedShutdown(std::string& reason) override;
};

}  // namespace durmivela::qt
