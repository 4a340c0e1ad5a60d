// The system steps of a durable write on Windows.
#include "platform/DurableFile.h"
#include "platform/win32/WinText.h"

#include <windows.h>
#include <io.h>

namespace durmivela {
namespace {

bool flushToDisk(std::FILE* file) { return _commit(_fileno(file)) == 0; }

// A program holding the target open (a picture viewer showing the capture, a
// virus scanner reading the new file) lets go within moments.
bool heldByAnother(DWORD error) {
    return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION || error == ERROR_ACCESS_DENIED;
}

void replace(const std::filesystem::path& from, const std::filesystem::path& to, std::error_code& error) {
    constexpr int kAttempts = 20;
    constexpr DWORD kPauseMs = 50;
    for (int attempt = 1;; ++attempt) {
        // Write-through: the rename is on the disk before the call returns,
        // which matters just before a forced shutdown.
        if (MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
            error.clear();
            return;
        }
        const DWORD code = GetLastError();
        if (attempt == kAttempts || !heldByAnother(code)) {
            error.assign(static_cast<int>(code), win32::windowsCategory());
            return;
        }
        Sleep(kPauseMs);
    }
}

}  // namespace

const DurableWriteSteps kSystemWriteSteps{flushToDisk, replace};

}  // namespace durmivela
