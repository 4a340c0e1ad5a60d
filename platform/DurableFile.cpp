#include "platform/DurableFile.h"

#include "platform/DurableFileSystem.h"

#include <cerrno>
#include <chrono>
#include <random>

namespace durmivela {
namespace {

using Name = std::filesystem::path::string_type;

constexpr std::size_t kRandomLetters = 8;
constexpr std::string_view kLetters = "0123456789abcdefghijklmnopqrstuvwxyz";

// ".<name>." and ".tmp" around the random letters: hidden on Linux, and
// recognisably ours wherever a killed program leaves one.
Name temporaryPrefix(const std::filesystem::path& target) {
    std::filesystem::path prefix = ".";
    prefix += target.filename();
    prefix += ".";
    return prefix.native();
}
Name temporarySuffix() { return std::filesystem::path(".tmp").native(); }

bool isTemporaryOf(const Name& name, const Name& prefix) {
    const Name suffix = temporarySuffix();
    if (name.size() != prefix.size() + kRandomLetters + suffix.size() || !name.starts_with(prefix) ||
        !name.ends_with(suffix))
        return false;
    for (std::size_t i = prefix.size(); i < prefix.size() + kRandomLetters; ++i) {
        const auto code = static_cast<std::uint32_t>(name[i]);
        if (code > 0x7F || kLetters.find(static_cast<char>(code)) == std::string_view::npos) return false;
    }
    return true;
}

// A new file of a name of its own beside the target: two writers never share
// one, and nothing placed under a guessed name is ever opened.
std::FILE* createTemporary(const std::filesystem::path& target, const files::KeptPermissions& keep,
                           std::filesystem::path& temporary, std::error_code& error) {
    std::random_device random;
    std::uniform_int_distribution<std::size_t> letter(0, kLetters.size() - 1);
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string letters;
        for (std::size_t i = 0; i < kRandomLetters; ++i) letters += kLetters[letter(random)];
        temporary = target.parent_path() / temporaryPrefix(target);
        temporary += letters;
        temporary += temporarySuffix();
        if (std::FILE* file = files::createNewFile(temporary, keep, error)) return file;
        if (error != std::errc::file_exists) return nullptr;
    }
    return nullptr;
}

// Temporaries of this target that a killed writer left. The target's own
// time is "now" on the folder's clock; an hour is far beyond any write still
// under way, whose temporary must not be taken from it.
void removeLeftTemporaries(const std::filesystem::path& target) {
    std::error_code error;
    const auto written = std::filesystem::last_write_time(target, error);
    if (error) return;
    const Name prefix = temporaryPrefix(target);
    const std::filesystem::path folder = target.parent_path().empty() ? "." : target.parent_path();
    for (std::filesystem::directory_iterator entry(folder, error), end; !error && entry != end;
         entry.increment(error)) {
        std::error_code ignored;
        if (!isTemporaryOf(entry->path().filename().native(), prefix) ||
            entry->symlink_status(ignored).type() != std::filesystem::file_type::regular)
            continue;
        const auto left = std::filesystem::last_write_time(entry->path(), ignored);
        if (!ignored && written - left > std::chrono::hours(1)) std::filesystem::remove(entry->path(), ignored);
    }
}

WriteResult failure(const std::error_code& error) { return {false, error.message()}; }
WriteResult failure(int error) { return failure(std::error_code(error ? error : EIO, std::generic_category())); }

}  // namespace

WriteResult writeFileDurably(const std::filesystem::path& path, std::string_view bytes,
                             const DurableWriteSteps& steps) {
    files::KeptPermissions keep;
    if (const std::error_code refused = files::checkReplaceable(path, keep)) return failure(refused);
    std::filesystem::path temporary;
    std::error_code created;
    std::FILE* file = createTemporary(path, keep, temporary, created);
    if (!file) return failure(created);

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
        return failure(error);
    }
    std::error_code renameError;
    steps.replace(temporary, path, renameError);
    if (renameError) {
        std::filesystem::remove(temporary, ignored);
        return failure(renameError);
    }
    (void)steps.syncFolder(path.parent_path());
    removeLeftTemporaries(path);
    return {};
}

std::filesystem::path pathFromUtf8(const std::string& text) {
    return std::filesystem::path(std::u8string(text.begin(), text.end()));
}

std::string utf8FromPath(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

bool readWholeFile(const std::filesystem::path& path, std::string& bytes, std::uintmax_t limit) {
    std::uintmax_t size = 0;
    std::FILE* file = files::openOrdinaryFile(path, size);
    if (!file) return false;
    bool ok = size <= limit;
    if (ok) {
        // C stdio: iostreams would set up the C++ locale machinery for one read.
        bytes.clear();
        bytes.reserve(static_cast<std::size_t>(size));
        char buffer[16384];
        std::size_t read = 0;
        while (ok && (read = std::fread(buffer, 1, sizeof buffer, file)) > 0) {
            ok = bytes.size() + read <= limit;  // the file grew while it was read
            if (ok) bytes.append(buffer, read);
        }
        ok = ok && !std::ferror(file);
    }
    std::fclose(file);
    return ok;
}

}  // namespace durmivela
