// The system calls of durable writes and of reading on Windows.
#include "platform/DurableFile.h"
#include "platform/DurableFileSystem.h"
#include "platform/win32/WinText.h"

#include <windows.h>
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#include <sys/types.h>

#include <cerrno>

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

// The write-through rename already put the folder's entry on the disk.
bool syncFolder(const std::filesystem::path&) { return true; }

std::error_code lastError() { return {static_cast<int>(GetLastError()), win32::windowsCategory()}; }

}  // namespace

const DurableWriteSteps kSystemWriteSteps{flushToDisk, replace, syncFolder};

namespace files {

// A new file inherits the folder's permissions, as every new file does; the
// read-only attribute is refused at once rather than waited on as a file
// held open.
std::error_code checkReplaceable(const std::filesystem::path& target, KeptPermissions& keep) {
    keep = {};
    const DWORD attributes = GetFileAttributesW(target.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) return {};
    keep.exists = true;
    if (attributes & FILE_ATTRIBUTE_READONLY) return {ERROR_ACCESS_DENIED, win32::windowsCategory()};
    return {};
}

std::FILE* createNewFile(const std::filesystem::path& path, const KeptPermissions&, std::error_code& error) {
    // CREATE_NEW fails on any existing name, a link included.
    HANDLE handle = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        const DWORD code = GetLastError();
        error = code == ERROR_FILE_EXISTS || code == ERROR_ALREADY_EXISTS ? std::make_error_code(std::errc::file_exists)
                                                                         : lastError();
        return nullptr;
    }
    const int fd = _open_osfhandle(reinterpret_cast<intptr_t>(handle), _O_WRONLY | _O_BINARY);
    if (fd < 0) {
        error = std::error_code(errno, std::generic_category());
        CloseHandle(handle);
        DeleteFileW(path.c_str());
        return nullptr;
    }
    std::FILE* file = _fdopen(fd, "wb");
    if (!file) {
        error = std::error_code(errno, std::generic_category());
        _close(fd);  // closes the handle too
        DeleteFileW(path.c_str());
    }
    return file;
}

std::FILE* openOrdinaryFile(const std::filesystem::path& path, std::uintmax_t& size) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) return nullptr;
    std::FILE* file = _wfopen(path.c_str(), L"rb");
    if (!file) return nullptr;
    struct _stat64 status {};
    if (_fstat64(_fileno(file), &status) != 0) {
        std::fclose(file);
        return nullptr;
    }
    size = static_cast<std::uintmax_t>(status.st_size);
    return file;
}

}  // namespace files
}  // namespace durmivela
