// Fakes of the platform services: a settable clock, a program folder of the
// test's choosing, and recorded message boxes.
#pragma once

#include "platform/NumberText.h"
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
    // The program's home format, H:mm:ss.
    std::string longTimeFormat(const TimeOfDay& t) const override {
        return std::to_string(t.hour) + ":" + twoDigits(t.minute) + ":" + twoDigits(t.second);
    }
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

// Records every request and, at each shutdown request, which records the
// program folder holds: a record written after it would be lost. Refuses the
// shutdown when told to.
class FakePower : public Power {
public:
    explicit FakePower(const std::filesystem::path& folder) : folder_(folder) {}
    struct Records {
        bool log, capture;
    };
    std::vector<std::string> calls;
    std::vector<Records> found;  // one per shutdown request
    bool refuse = false;
    void enableShutdownRight() override { calls.push_back("enable"); }
    bool requestForcedShutdown() override;
    int shutdowns() const { return static_cast<int>(found.size()); }

private:
    const std::filesystem::path& folder_;
};

// A small grey screen, or one that cannot be read.
class FakeScreen : public Screen {
public:
    bool fail = false;
    int captures = 0;
    bool capturePrimary(Image& image) override;
};

class FakeNotificationArea : public NotificationArea {
public:
    bool present = true;
    bool shown = false;
    std::string tooltip;
    int adds = 0;
    bool available() const override { return present; }
    void add(const std::string& text) override {
        shown = true;
        tooltip = text;
        ++adds;
    }
    void remove() override { shown = false; }
};

struct FakePlatform {
    FakeClock clock;
    FakeProgramInfo program;
    FakeMessageBoxes messages;
    FakeFileAttributes files;
    FakePower power{program.carpeta};
    FakeScreen screen;
    FakeNotificationArea tray;
    Plataforma plataforma{clock, program, messages, files, power, screen, tray};
};

}  // namespace durmivela::testing
