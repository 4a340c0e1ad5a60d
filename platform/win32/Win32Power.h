// The shutdown on Windows: ExitWindowsEx, with the process's shutdown privilege.
#pragma once

#include "platform/Services.h"

namespace durmivela::win32 {

class Win32Power final : public Power {
public:
    // Enables SeShutdownPrivilege in the process token; without it the NT
    // family refuses ExitWindowsEx. Failures are left for the request to report.
    void enableShutdownRight() override;
    // EWX_SHUTDOWN | EWX_FORCE: applications are closed without being asked.
    bool requestForcedShutdown(std::string& reason) override;
};

}  // namespace durmivela::win32
