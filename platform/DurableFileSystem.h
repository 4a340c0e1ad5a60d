// The system calls behind the durable writer and the file reader, one
// implementation per system: DurableFilePosix.cpp and win32/DurableReplace.cpp.
#pragma once

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <system_error>

namespace durmivela::files {

// What a write keeps of the file it replaces.
struct KeptPermissions {
    bool exists = false;
    std::uint32_t mode = 0;  // POSIX permission bits; Windows has none to keep
};

// An error when the target may not be replaced: the user made it read-only,
// or (POSIX) its permissions do not let us write it. Otherwise what the new
// file is to keep of it.
std::error_code checkReplaceable(const std::filesystem::path& target, KeptPermissions& keep);

// Creates `path` as a new file for writing, with the permissions `keep`
// says (a new file gets the system's default ones). Never opens an existing
// name, follows a link or waits on a pipe: a taken name fails with
// std::errc::file_exists. On failure nothing is left behind.
std::FILE* createNewFile(const std::filesystem::path& path, const KeptPermissions& keep, std::error_code& error);

// Opens an ordinary file for reading, without waiting on a pipe or a device;
// null for anything else. `size` is its length when opened.
std::FILE* openOrdinaryFile(const std::filesystem::path& path, std::uintmax_t& size);

}  // namespace durmivela::files
