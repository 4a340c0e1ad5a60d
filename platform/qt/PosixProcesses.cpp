#include "platform/qt/PosixProcesses.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <spawn.h>
#include <string_view>
#include <sys/wait.h>
#include <system_error>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace durmivela::qt {

void PosixProcesses::collectEnded() {
    const std::lock_guard lock(unwaitedMutex_);
    std::erase_if(unwaited_, [](int pid) { return ::waitpid(pid, nullptr, WNOHANG) != 0; });
}

StartResult PosixProcesses::start(const ProcessStart& start) {
    collectEnded();
    std::string program = start.program.string();
    std::vector<char*> argv{program.data()};
    for (const std::string& argument : start.arguments) argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
#if defined(__GLIBC__) && (__GLIBC__ > 2 || (__GLIBC__ == 2 && __GLIBC_MINOR__ >= 34))
    // The child gets no descriptor of ours beyond the standard three.
    posix_spawn_file_actions_addclosefrom_np(&actions, 3);
#endif
    pid_t pid = 0;
    const int error = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (error != 0) return {0, std::generic_category().message(error)};
    {
        const std::lock_guard lock(unwaitedMutex_);
        unwaited_.push_back(pid);
    }
    return {static_cast<std::uint32_t>(pid), {}};
}

bool PosixProcesses::waitForExit(std::uint32_t pid) {
    // 0 and "negative" ids would make waitpid wait for whole process groups.
    if (pid == 0 || pid > static_cast<std::uint32_t>(INT_MAX)) return false;
    {
        const std::lock_guard lock(unwaitedMutex_);
        std::erase(unwaited_, static_cast<int>(pid));
    }
    int status = 0;
    for (;;) {
        const pid_t ended = ::waitpid(static_cast<pid_t>(pid), &status, 0);
        if (ended == static_cast<pid_t>(pid)) return true;
        if (ended < 0 && errno != EINTR) return false;
    }
}

std::filesystem::path PosixProcesses::findOnPath(const std::string& name) const {
    if (name.empty() || name.find('/') != std::string::npos) return {};
    const char* variable = std::getenv("PATH");
    const std::string_view folders = variable ? variable : "/usr/local/bin:/usr/bin:/bin";
    std::size_t begin = 0;
    while (begin <= folders.size()) {
        const std::size_t end = std::min(folders.find(':', begin), folders.size());
        const std::filesystem::path folder(folders.substr(begin, end - begin));
        begin = end + 1;
        if (!folder.is_absolute()) continue;
        std::error_code error;
        const std::filesystem::path candidate = folder / name;
        if (std::filesystem::is_regular_file(candidate, error) && ::access(candidate.c_str(), X_OK) == 0)
            return candidate;
    }
    return {};
}

bool PosixProcesses::makeExecutable(const std::filesystem::path& path) {
    std::error_code error;
    std::filesystem::permissions(path, std::filesystem::perms::owner_exec, std::filesystem::perm_options::add, error);
    return !error;
}

}  // namespace durmivela::qt
