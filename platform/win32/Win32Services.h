// The platform services on Windows, with plain Win32 calls.
#pragma once

#include "platform/Services.h"

namespace durmivela::win32 {

// Local time, and the user's own long time format (with seconds).
class Win32Clock final : public Clock {
public:
    TimeOfDay timeOfDay() const override;
    std::string longTimeFormat(const TimeOfDay& time) const override;
    // QueryPerformanceCounter: monotonic, and present back to Windows 2000
    // (GetTickCount64 is not).
    std::int64_t monotonicMs() const override;
};

// The running module's own path, so a renamed executable is seen as it is.
class Win32ProgramInfo final : public ProgramInfo {
public:
    std::filesystem::path folder() const override;
    // The Windows copy is a portable folder: everything stays beside the executable.
    std::filesystem::path userFolder() const override { return folder(); }
    std::filesystem::path dataFolder() const override { return folder(); }
    std::string executableName() const override;
    std::string executableFileName() const override;
    std::string updaterFileName() const override { return "Update.exe"; }
    std::uint32_t processId() const override;
};

// ShellExecute's "open": the file's associated program, or the browser.
class Win32Shell final : public Shell {
public:
    void open(const std::string& target) override;
    // The "open" command that Windows associates with the file's extension.
    bool hasApplicationFor(const std::filesystem::path& file) const override;
};

class Win32SystemInfo final : public SystemInfo {
public:
    bool versionNumbers(OsVersionNumbers& numbers) const override;
    std::string ownName() const override { return ""; }
    // Text values come back in Windows-1252, the bytes the core's reader
    // expects whatever the system's ANSI code page.
    bool registryValue(std::uint32_t root, const std::string& key, const std::string& name,
                       RegistryValue& value) const override;
};

class Win32FileAttributes final : public FileAttributes {
public:
    bool hiddenOrSystem(const std::filesystem::path& path) const override;
};

}  // namespace durmivela::win32
