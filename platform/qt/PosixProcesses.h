// Programs on Linux: started by their explicit path without a shell, and
// waited for as children of this process.
#pragma once

#include "platform/Services.h"

#include <mutex>
#include <vector>

namespace durmivela::qt {

class PosixProcesses final : public Processes {
public:
    // Runs start.program with start.arguments; the command line is for Windows.
    StartResult start(const ProcessStart& start) override;
    // Waits for a child of this process; false for any other process. Safe
    // on another thread than start().
    bool waitForExit(std::uint32_t pid) override;
    // Searches the absolute folders of $PATH, never the current folder.
    std::filesystem::path findOnPath(const std::string& name) const override;
    bool makeExecutable(const std::filesystem::path& path) override;

private:
    // Children started and not waited for (the information tool): the ended
    // ones are collected at the next start, so zombies do not pile up.
    std::vector<int> unwaited_;
    std::mutex unwaitedMutex_;  // the update waits on a thread of its own
    void collectEnded();
};

}  // namespace durmivela::qt
