// The services the program asks of its platform. Each front end provides one
// implementation of each; tests provide fakes. They reach the program through
// the Plataforma bundle at start-up; nothing here is global.
#pragma once

#include <cstdint>
#include <filesystem>
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
    // The executable's name without its extension.
    virtual std::string executableName() const = 0;
    virtual std::uint32_t processId() const = 0;
};

class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;
    // A modal message box with a single OK button; returns when it is closed.
    virtual void show(const std::string& text, const std::string& title) = 0;
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
    // false when the system refused or could not be asked.
    virtual bool requestForcedShutdown() = 0;
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
    // Shows the window's icon with the tooltip, or updates the shown one.
    virtual void add(const std::string& tooltip) = 0;
    virtual void remove() = 0;
};

struct Plataforma {
    Clock& clock;
    ProgramInfo& program;
    MessageBoxes& messages;
    FileAttributes& files;
    Power& power;
    Screen& screen;
    NotificationArea& tray;
};

}  // namespace durmivela
