// Programs on Windows: started by their explicit path with the command line
// the caller quoted, and waited for by their process id.
#pragma once

#include "platform/Services.h"

namespace durmivela::win32 {

class Win32Processes final : public Processes {
public:
    // Runs start.program, never a program the system would find from the
    // first word of start.commandLine; the arguments are for other systems.
    StartResult start(const ProcessStart& start) override;
    // False when the process cannot be opened for waiting (already ended,
    // or not ours to wait for).
    bool waitForExit(std::uint32_t pid) override;
    // Searches the absolute folders of %PATH%, never the current folder;
    // ".exe" is added to a name without an extension.
    std::filesystem::path findOnPath(const std::string& name) const override;
    // Windows has no right to run a file apart from reading it.
    bool makeExecutable(const std::filesystem::path& path) override;
};

}  // namespace durmivela::win32
