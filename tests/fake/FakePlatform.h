// Fakes of the platform services: a settable clock, a program folder of the
// test's choosing, and recorded message boxes.
#pragma once

#include "platform/NumberText.h"
#include "platform/Services.h"

#include <filesystem>
#include <functional>
#include <map>
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
    std::filesystem::path usuario, datos;  // empty: the program folder, as in a portable copy
    std::filesystem::path folder() const override { return carpeta; }
    std::filesystem::path userFolder() const override { return usuario.empty() ? carpeta : usuario; }
    std::filesystem::path dataFolder() const override { return datos.empty() ? carpeta : datos; }
    std::string executableName() const override { return "Durmivela"; }
    std::uint32_t processId() const override { return 4242; }
    std::string executableFileName() const override { return "Durmivela.exe"; }
    std::string updaterFileName() const override { return "Update.exe"; }
};

class FakeMessageBoxes : public MessageBoxes {
public:
    std::vector<std::string> shown;  // texts
    void show(const std::string& text, const std::string&, MessageIcon) override { shown.push_back(text); }
};

class FakeFileAttributes : public FileAttributes {
public:
    bool hiddenOrSystem(const std::filesystem::path&) const override { return false; }
};

// Records every request and, at each shutdown request, which records the
// user's folder holds: a record written after it would be lost. Refuses the
// shutdown when told to.
class FakePower : public Power {
public:
    explicit FakePower(const ProgramInfo& program) : program_(program) {}
    struct Records { bool log, capture; };
    std::vector<std::string> calls;
    std::vector<Records> found;  // one per shutdown request
    bool refuse = false;
    void enableShutdownRight() override { calls.push_back("enable"); }
    bool requestForcedShutdown(std::string& reason) override;
    int shutdowns() const { return static_cast<int>(found.size()); }

private:
    const ProgramInfo& program_;
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
    bool present = true, shown = false, refuse = false;
    std::string tooltip;
    int adds = 0;
    bool available() const override { return present; }
    bool add(const std::string& text) override {
        shown = !refuse;
        tooltip = text;
        ++adds;
        return shown;
    }
    void remove() override { shown = false; }
    // A panel that crashed (taking the icon) or restarted.
    void hostChanged(bool there) {
        present = there;
        if (!there) shown = false;
        if (availabilityChanged) availabilityChanged(there);
    }
};

// Records what was opened, started and waited for; nothing is on the search path.
class FakeShellAndProcesses : public Shell, public Processes {
public:
    std::vector<std::string> opened;
    std::vector<ProcessStart> started;
    std::set<std::string> noApplication;  // extensions (".chm") nothing on the desktop opens
    void open(const std::string& target) override { opened.push_back(target); }
    bool hasApplicationFor(const std::filesystem::path& file) const override {
        return noApplication.count(file.extension().string()) == 0;
    }
    std::string startError;  // a start that fails, in the system's words
    StartResult start(const ProcessStart& start) override {
        started.push_back(start);
        return {startError.empty() ? 77u : 0u, startError};
    }
    std::function<void()> running;  // the time a waited-for process runs
    bool waitForExit(std::uint32_t) override {
        if (running) running();
        return true;
    }
    std::filesystem::path findOnPath(const std::string&) const override { return {}; }
    bool makeExecutable(const std::filesystem::path&) override { return true; }
};

class FakeSystemInfo : public SystemInfo {
public:
    bool known = true;
    OsVersionNumbers numbers{5, 1, 2};
    std::string name;  // the system's own name; empty: a Windows
    bool versionNumbers(OsVersionNumbers& out) const override {
        if (known) out = numbers;
        return known;
    }
    std::string ownName() const override { return name; }
    bool registryValue(std::uint32_t, const std::string&, const std::string&, RegistryValue&) const override {
        return false;
    }
};

// No connection, unless a test puts one: then every address answers, with
// the body in `bodies` or 404, after `stall` has taken its time.
class FakeHttp : public Http {
public:
    bool online = false;
    std::map<std::string, std::string> bodies;
    std::function<void()> stall;
    std::vector<std::string> asked;
    std::uint64_t lastLimit = 0;  // the size the last download was held to
    bool probe(const std::string& url) override {
        wait(url);
        return online;
    }
    HttpBody download(const std::string& url, std::uint64_t limit) override {
        wait(url);
        lastLimit = limit;
        const auto found = bodies.find(url);
        const bool ok = online && found != bodies.end() && found->second.size() <= limit;
        return {ok, ok, ok ? found->second : std::string()};
    }

private:
    void wait(const std::string& url) {
        asked.push_back(url);
        if (stall) stall();
    }
};

// A modal dialog "shown" runs the test's stand-in for the user; the count of
// pending-event passes tells that the window could repaint before a blocking
// step. A step run aside runs at once with `aside` set: a stalled fake
// service delivers the window's ticks only then, as a blocked thread would not.
class FakeFormHost : public FormHost {
public:
    std::function<void(Form&)> user;
    int pendingPasses = 0;
    bool aside = false;
    void showModal(Form& form) override {
        if (user) user(form);
    }
    void processPendingEvents() override { ++pendingPasses; }
    void runAside(const std::function<void()>& step) override {
        const bool outer = aside;
        aside = true;
        step();
        aside = outer;
    }
};

struct FakePlatform {
    FakeClock clock;
    FakeProgramInfo program;
    FakeMessageBoxes messages;
    FakeFileAttributes files;
    FakePower power{program};
    FakeScreen screen;
    FakeNotificationArea tray;
    FakeShellAndProcesses desktop;
    FakeSystemInfo system;
    FakeHttp http;
    FakeFormHost forms;
    Plataforma plataforma{clock, program, messages, files, power, screen, tray, desktop, system, desktop, http, forms};
};

}  // namespace durmivela::testing
