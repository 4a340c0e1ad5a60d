// The system calls of durable writes and of reading on Linux and other POSIX systems.
#include "platform/DurableFile.h"
#include "platform/DurableFileSystem.h"

#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace durmivela {
namespace {

bool flushToDisk(std::FILE* file) { return ::fsync(::fileno(file)) == 0; }

void renameOver(const std::filesystem::path& from, const std::filesystem::path& to, std::error_code& error) {
    std::filesystem::rename(from, to, error);
}

bool syncFolder(const std::filesystem::path& folder) {
    const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return false;
    const bool synced = ::fsync(fd) == 0;
    ::close(fd);
    return synced;
}

std::error_code lastError() { return {errno, std::generic_category()}; }

}  // namespace

const DurableWriteSteps kSystemWriteSteps{flushToDisk, renameOver, syncFolder};

namespace files {

std::error_code checkReplaceable(const std::filesystem::path& target, KeptPermissions& keep) {
    keep = {};
    struct stat status {};
    // Through a link, to what it names; a missing or dangling one is a new file.
    if (::stat(target.c_str(), &status) != 0 || !S_ISREG(status.st_mode)) return {};
    keep = {true, static_cast<std::uint32_t>(status.st_mode & 0777)};
    // No write permission for anybody is how a user makes a file read-only;
    // root could write it all the same, but must not replace it either.
    if ((status.st_mode & 0222) == 0) return std::make_error_code(std::errc::permission_denied);
    if (::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0) return lastError();
    return {};
}

std::FILE* createNewFile(const std::filesystem::path& path, const KeptPermissions& keep, std::error_code& error) {
    // A file that replaces another starts private and takes that one's
    // permissions before anything is written, so its bytes are never open
    // to more users than the old ones were; a new file gets 0666 less the umask.
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, keep.exists ? 0600 : 0666);
    if (fd < 0) {
        error = lastError();
        return nullptr;
    }
    // Best effort: a FAT stick, where portable copies live, keeps no permissions.
    if (keep.exists) (void)::fchmod(fd, static_cast<mode_t>(keep.mode));
    std::FILE* file = ::fdopen(fd, "wb");
    if (!file) {
        error = lastError();
        ::close(fd);
        ::unlink(path.c_str());
    }
    return file;
}

std::FILE* openOrdinaryFile(const std::filesystem::path& path, std::uintmax_t& size) {
    // Non-blocking, so that a pipe given the file's name cannot hold the
    // program; reads of an ordinary file are not affected.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return nullptr;
    struct stat status {};
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(fd);
        return nullptr;
    }
    size = static_cast<std::uintmax_t>(status.st_size);
    std::FILE* file = ::fdopen(fd, "rb");
    if (!file) ::close(fd);
    return file;
}

}  // namespace files
}  // namespace durmivela
