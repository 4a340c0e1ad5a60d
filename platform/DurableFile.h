// Whole-file writes that survive a crash or a forced shutdown: the bytes go to
// a temporary file in the same folder, are flushed to stable storage, and the
// temporary file is renamed over the target. A failed write leaves the old file.
#pragma once

#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>

namespace durmivela {

struct WriteResult {
    bool ok = true;
    std::string reason;  // the system's reason when !ok
};

// The two system steps of a durable write that fail only on a sick disk; tests
// put failing ones in their place.
struct DurableWriteSteps {
    // Flushes the written file to stable storage; false with errno set.
    bool (*flushToDisk)(std::FILE* file);
    // Renames `from` over `to`, setting `error` on failure.
    void (*replace)(const std::filesystem::path& from, const std::filesystem::path& to, std::error_code& error);
};
extern const DurableWriteSteps kSystemWriteSteps;

WriteResult writeFileDurably(const std::filesystem::path& path, std::string_view bytes,
                             const DurableWriteSteps& steps = kSystemWriteSteps);

// A path from UTF-8 text, whatever the system's narrow encoding.
std::filesystem::path pathFromUtf8(const std::string& text);
// The path as UTF-8 text, for messages and for the shell.
std::string utf8FromPath(const std::filesystem::path& path);

// The whole content of a file, or nothing when it cannot be read.
bool readWholeFile(const std::filesystem::path& path, std::string& bytes);

}  // namespace durmivela
