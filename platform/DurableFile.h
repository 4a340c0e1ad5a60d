// Whole-file writes that survive a crash or a forced shutdown: the bytes go to
// a temporary file in the same folder, are flushed to stable storage, and the
// temporary file is renamed over the target. A failed write leaves the old file.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace durmivela {

struct WriteResult {
    bool ok = true;
    std::string reason;  // the system's reason when !ok
};

WriteResult writeFileDurably(const std::filesystem::path& path, std::string_view bytes);

// A path from UTF-8 text, whatever the system's narrow encoding.
std::filesystem::path pathFromUtf8(const std::string& text);

// The whole content of a file, or nothing when it cannot be read.
bool readWholeFile(const std::filesystem::path& path, std::string& bytes);

}  // namespace durmivela
