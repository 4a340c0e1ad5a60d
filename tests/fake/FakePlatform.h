// Fakes of the platform services: a settable clock, a program folder of the
// test's choosing, and recorded message boxes.
#pragma once

#include "platform/Services.h"

#include <filesystem>
#include <set>
#include <string>
#include <vector>

namespace durmivela::testing {

class FakeClock : public Clock {
public:
    TimeOfDay now{21, 15, 3};
    std::int64_t monotonic = 0;
    TimeOfDay timeOfDay() const override { return now; }
    std::string longTimeFormat(const TimeOfDay& t) const override;
    std::int64_t monotonicMs() const override { return monotonic; }
};

class FakeProgramInfo : public ProgramInfo {
public:
    std::filesystem::path carpeta;
    std::filesystem::path folder() const override { return carpeta; }
    std::string executableName() const override { return "Durmivela"; }
    std::uint32_t processId() const override { return 4242; }
};

class FakeMessageBoxes : public MessageBoxes {
public:
    std::vector<std::string> shown;
    void show(const std::string& text, const std::string&) override { shown.push_back(text); }
};

class FakeFileAttributes : public FileAttributes {
public:
    std::set<std::filesystem::path> hidden;
    bool hiddenOrSystem(const std::filesystem::path& path) const override { return hidden.count(path) > 0; }
};

struct FakePlatform {
    FakeClock clock;
    FakeProgramInfo program;
    FakeMessageBoxes messages;
    FakeFileAttributes files;
    Plataforma plataforma{clock, program, messages, files};
};

}  // namespace durmivela::testing
