// Whole-file writes that survive a crash or a forced shutdown: the bytes go to
// a new temporary file of a name of its own in the same folder, are flushed
// to stable storage, and the temporary file is renamed over the target. A
// failed write leaves the old file and no temporary.
#pragma once

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <limits>
#include <string>
#include <string_view>
#include <system_error>

namespace durmivela {

struct WriteResult {
    bool ok = true;
    std::string reason;  // the system's reason when !ok
};

// The system steps of a durable write that fail only on a sick disk; tests
// put failing or recording ones in their place.
struct DurableWriteSteps {
    // Flushes the written file to stable storage; false with errno set.
    bool (*flushToDisk)(std::FILE* file);
    // Renames `from` over `to`, setting `error` on failure.
    void (*replace)(const std::filesystem::path& from, const std::filesystem::path& to, std::error_code& error);
    // Makes the rename itself durable; false when the system refuses, which
    // some file systems do: the write stands all the same.
    bool (*syncFolder)(const std::filesystem::path& folder);
};
extern const DurableWriteSteps kSystemWriteSteps;

// Replaces the file whole, keeping its permissions (a new file gets the
// system's default ones). A file the user made read-only is refused, as are
// a missing folder and a full disk, with the system's reason. The temporary
// file is ".<name>.<8 random letters or digits>.tmp"; one that a killed
// program left is removed by a later write to the same file once it is an
// hour older than the new file.
WriteResult writeFileDurably(const std::filesystem::path& path, std::string_view bytes,
                             const DurableWriteSteps& steps = kSystemWriteSteps);

// A path from UTF-8 text, whatever the system's narrow encoding.
std::filesystem::path pathFromUtf8(const std::string& text);
// The path as UTF-8 text, for messages and for the shell.
std::string utf8FromPath(const std::filesystem::path& path);

// The whole content of an ordinary file of at most `limit` bytes; false for
// anything else (missing, unreadable, a folder, a pipe, a device, too long).
bool readWholeFile(const std::filesystem::path& path, std::string& bytes,
                   std::uintmax_t limit = std::numeric_limits<std::uintmax_t>::max());

}  // namespace durmivela
