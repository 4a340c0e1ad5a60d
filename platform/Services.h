// The services the program asks of its platform. Each front end provides one
// implementation of each; tests provide fakes. They reach the program through
// the Plataforma bundle at start-up; nothing here is global.
#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace durmivela {

struct TimeOfDay {
    int hour = 0;    // 0..23
    int minute = 0;  // 0..59
    int second = 0;  // 0..59
    friend bool operator==(const TimeOfDay&, const TimeOfDay&) = default;
};

class Clock {
public:
    virtual ~Clock() = default;
    // The local time of day.
    virtual TimeOfDay timeOfDay() const = 0;
    // A time of day written in the system's long time format.
    virtual std::string longTimeFormat(const TimeOfDay& time) const = 0;
    // Milliseconds on a monotonic clock with an arbitrary origin.
    virtual std::int64_t monotonicMs() const = 0;
};

class ProgramInfo {
public:
    virtual ~ProgramInfo() = default;
    // The folder of the running executable.
    virtual std::filesystem::path folder() const = 0;
    // Where the user's files live: the settings, the log, the capture and the updater.
    virtual std::filesystem::path userFolder() const = 0;
    // Where the files shipped with the program live: the help file and the languages.
    virtual std::filesystem::path dataFolder() const = 0;
    // The folders of the language files, the user's first so that a user's
    // copy wins over the shipped one.
    std::vector<std::filesystem::path> languageFolders() const {
        std::vector<std::filesystem::path> carpetas{userFolder() / "Leng"};
        if (dataFolder() != userFolder()) carpetas.push_back(dataFolder() / "Leng");
        return carpetas;
    }
    // The executable's name without its extension.
    virtual std::string executableName() const = 0;
    // The executable's file name as the system shows it ("Durmivela.exe", "durmivela").
    virtual std::string executableFileName() const = 0;
    // The file name of the separate updater beside the program ("Update.exe", "Update").
    virtual std::string updaterFileName() const = 0;
    virtual std::uint32_t processId() const = 0;
};

enum class MessageIcon { None, Information, Warning };

class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;
    // A modal message box with a single OK button; returns when it is closed.
    virtual void show(const std::string& text, const std::string& title, MessageIcon icon) = 0;
};

class FileAttributes {
public:
    virtual ~FileAttributes() = default;
    // True for files the system marks hidden or system (a directory listing
    // of ordinary files leaves them out).
    virtual bool hiddenOrSystem(const std::filesystem::path& path) const = 0;
};

class Power {
public:
    virtual ~Power() = default;
    // Gives the process the right to shut the system down, where the system has one.
    virtual void enableShutdownRight() = 0;
    // Asks for an immediate shutdown that closes applications without asking;
    // false when the system refused or could not be asked, with the system's
    // reason in `reason`.
    virtual bool requestForcedShutdown(std::string& reason) = 0;
};

// Pixels of a screen, row by row from the top, each 0xXXRRGGBB (the top byte is ignored).
struct Image {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;
};

class Screen {
public:
    virtual ~Screen() = default;
    // The whole primary screen as it looks now; false when it cannot be read.
    virtual bool capturePrimary(Image& image) = 0;
};

// The notification-area icon that stands for the hidden main window. Its mouse
// events reach the window's tray picture box as mouse moves (515 double click,
// 517 right button released).
class NotificationArea {
public:
    virtual ~NotificationArea() = default;
    // False when no notification area is there to hold an icon.
    virtual bool available() const = 0;
    // Shows the window's icon with the tooltip, or updates the shown one;
    // false when the system refused to show it.
    virtual bool add(const std::string& tooltip) = 0;
    virtual void remove() = 0;
    // Set by the program; the platform calls it when a notification area
    // appears or goes away (a panel that restarted or crashed), with whether
    // one is there now. A platform that cannot tell never calls it.
    std::function<void(bool available)> availabilityChanged;
};

// Opens files and web addresses for the user with the desktop's own handler.
class Shell {
public:
    virtual ~Shell() = default;
    // A file path (UTF-8) or a web address; what happens then is the desktop's
    // business, so there is no result.
    virtual void open(const std::string& target) = 0;
    // True when the desktop has an application for files of this one's type,
    // so that open() would show it; false when it has none, or when it cannot
    // tell (a file that cannot be read has no type to go by).
    virtual bool hasApplicationFor(const std::filesystem::path& file) const = 0;
};

// A program to start: on Windows the command line is what is run; elsewhere
// the program is run by its path with the arguments, without a shell.
struct ProcessStart {
    std::filesystem::path program;
    std::vector<std::string> arguments;
    std::string commandLine;
};

struct StartResult {
    std::uint32_t pid = 0;  // 0 when the start failed
    std::string error;      // the system's description of the failure
};

class Processes {
public:
    virtual ~Processes() = default;
    // Starts the program with its window shown normally and given the focus.
    virtual StartResult start(const ProcessStart& start) = 0;
    // Waits, with no time limit, until the process has ended; false when it
    // could not be opened for waiting. Safe to call on another thread than
    // the other operations.
    virtual bool waitForExit(std::uint32_t pid) = 0;
    // The full path of a program found through the search path; empty when none.
    virtual std::filesystem::path findOnPath(const std::string& name) const = 0;
    // Lets the file's owner run it, where the system keeps such a right.
    virtual bool makeExecutable(const std::filesystem::path& path) = 0;
};

// The time limits and the size cap of an HTTP service. The defaults are the
// ones the program ships with; tests shorten the times.
struct HttpLimits {
    std::chrono::milliseconds connect = std::chrono::seconds(15);  // to reach the server
    std::chrono::milliseconds transfer = std::chrono::seconds(60);  // for the whole request
    std::uint64_t ceiling = std::uint64_t{64} << 20;                // no updater is this large
};

// A body as the transfer delivered it.
struct HttpBody {
    // A successful status, and no error or cut-off the transfer could tell:
    // an announced length met, a chunked body to its last chunk.
    bool ok = false;
    // The transfer itself marked the end (an announced length, a last chunk,
    // an HTTP/2 stream's end); otherwise only the closed connection did, and
    // a body cut short looks the same as a whole one.
    bool delimited = false;
    std::string bytes;
};

// A synchronous HTTP client with time limits on connecting and on the whole
// transfer, so a silent server cannot hold the program forever. It is called
// away from the user-interface thread (FormHost::runAside).
class Http {
public:
    virtual ~Http() = default;
    // True when the address answered at all.
    virtual bool probe(const std::string& url) = 0;
    // A GET bypassing caches. Stops, and fails, as soon as more than `limit`
    // bytes (never more than the ceiling) have come, or are announced.
    virtual HttpBody download(const std::string& url, std::uint64_t limit) = 0;
};

// The numbers by which Windows names its versions.
struct OsVersionNumbers {
    std::uint32_t major = 0;
    std::uint32_t minor = 0;
    std::uint32_t platformId = 0;  // 2 for the NT family
    std::uint32_t build = 0;       // tells Windows 11 (22000 on) from Windows 10
};

// A registry value as stored: its type and its raw bytes.
struct RegistryValue {
    std::uint32_t type = 0;  // 1 text, 4 a 32-bit number
    std::string bytes;
};

class SystemInfo {
public:
    virtual ~SystemInfo() = default;
    // False when the system did not tell; the numbers then stay zero.
    virtual bool versionNumbers(OsVersionNumbers& numbers) const = 0;
    // The system's own name where it is not Windows (on Linux the PRETTY_NAME
    // of os-release); empty on Windows, whose name comes from the numbers.
    virtual std::string ownName() const = 0;
    // Reads a value of a key under a root key (0x80000002 is the local
    // machine's); false when the key or the value cannot be read. Systems
    // without a registry find nothing.
    virtual bool registryValue(std::uint32_t root, const std::string& key, const std::string& name,
                               RegistryValue& value) const = 0;
};

class Form;

// Shows the program's dialogs, and keeps the windows alive while the program
// waits for something slow.
class FormHost {
public:
    virtual ~FormHost() = default;
    // Shows the form as a modal dialog without an owner and returns when it
    // has closed; the timers of the other windows keep running meanwhile.
    virtual void showModal(Form& form) = 0;
    // Handles the events already waiting (repaints, input) before a step
    // that blocks the program for a while.
    virtual void processPendingEvents() = 0;
    // Runs `step` on another thread and returns when it has finished. This
    // thread meanwhile delivers timer ticks, repaints and the program's own
    // messages (a message box shown by a tick works), but the windows open
    // now take no user input, as under a modal dialog. A quit asked meanwhile
    // takes effect after the step. The step must touch no form, and no
    // service this thread may use meanwhile.
    virtual void runAside(const std::function<void()>& step) = 0;
};

struct Plataforma {
    Clock& clock;
    ProgramInfo& program;
    MessageBoxes& messages;
    FileAttributes& files;
    Power& power;
    Screen& screen;
    NotificationArea& tray;
    Shell& shell;
    SystemInfo& system;
    Processes& processes;
    Http& http;
    FormHost& forms;
};

}  // namespace durmivela
