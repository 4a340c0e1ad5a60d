// Prints the system's name as the settings dialog shows it, from what the
// system really reports; os_version.sh runs it under each Windows version
// Wine can pretend to be.
#include "platform/win32/Win32Services.h"
#include "settings/frmConfiguracion.h"

#include <cstdio>

int main() {
    const durmivela::win32::Win32SystemInfo system;
    durmivela::OsVersionNumbers numbers;
    system.versionNumbers(numbers);
    std::printf("%u.%u %u %s\n", numbers.major, numbers.minor, numbers.platformId,
                durmivela::OSVersion(system).c_str());
    return 0;
}
