#include "platform/DurableFile.h"

#include <cerrno>
#include <cstdio>
#include <system_error>

#ifndef _WIN32
#include <fcntl.h>
#include <unistd.h>
#endif

namespace durmivela {
namespace {

#ifndef _WIN32
bool flushToDisk(std::FILE* file) { return ::fsync(::fileno(file)) == 0; }

void renameOver(const std::filesystem::path& from, const std::filesystem::path& to, std::error_code& error) {
    std::filesystem::rename(from, to, error);
}
#endif

// Makes the rename itself durable; best effort, as some file systems refuse
// it. Windows writes the rename through instead.
void syncFolder(const std::filesystem::path& folder) {
#ifndef _WIN32
    const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
#else
    (void)folder;
#endif
}

WriteResult failure(int error) { return {false, std::generic_category().message(error)}; }

}  // namespace

#ifndef _WIN32
const DurableWriteSteps kSystemWriteSteps{flushToDisk, renameOver};
#endif

WriteResult writeFileDurably(const std::filesystem::path& path, std::string_view bytes,
                             const DurableWriteSteps& steps) {
    std::filesystem::path temporary = path;
    temporary += ".tmp";
#ifdef _WIN32
    std::FILE* file = _wfopen(temporary.c_str(), L"wb");
#else
    std::FILE* file = std::fopen(temporary.c_str(), "wb");
#endif
    if (!file) return failure(errno);
    bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    int error = written ? 0 : errno;
    if (written && std::fflush(file) != 0) {
        written = false;
        error = errno;
    }
    if (written && !steps.flushToDisk(file)) {
        written = false;
        error = errno;
    }
    if (std::fclose(file) != 0 && written) {
        written = false;
        error = errno;
    }
    std::error_code ignored;
    if (!written) {
        std::filesystem::remove(temporary, ignored);
        return failure(error ? error : EIO);
    }
    std::error_code renameError;
    steps.replace(temporary, path, renameError);
    if (renameError) {
        std::filesystem::remove(temporary, ignored);
        return {false, renameError.message()};
    }
    syncFolder(path.parent_path());
    return {};
}

std::filesystem::path pathFromUtf8(const std::string& text) {
    return std::filesystem::path(std::u8string(text.begin(), text.end()));
}

std::string utf8FromPath(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

bool readWholeFile(const std::filesystem::path& path, std::string& bytes) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) return false;
    // C stdio: iostreams would set up the C++ locale machinery for one read.
#ifdef _WIN32
    std::FILE* file = _wfopen(path.c_str(), L"rb");
#else
    std::FILE* file = std::fopen(path.c_str(), "rb");
#endif
    if (!file) return false;
    bytes.clear();
    char buffer[16384];
    std::size_t read = 0;
    while ((read = std::fread(buffer, 1, sizeof buffer, file)) > 0) bytes.append(buffer, read);
    const bool ok = !std::ferror(file);
    std::fclose(file);
    return ok;
}

}  // namespace durmivela
