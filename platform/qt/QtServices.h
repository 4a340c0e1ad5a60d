// The platform services on Linux with Qt.
#pragma once

#include "platform/Controls.h"
#include "platform/Services.h"
#include "platform/qt/PortalScreenshot.h"
#include "platform/qt/TrayHost.h"

#include <QMenu>
#include <QPointer>

#include <memory>

class QSystemTrayIcon;

namespace durmivela::qt {

// Local time from Qt; the long time format is fixed to H:mm:ss (9:05:03), the
// format the program shows on its home system, whatever the desktop's locale.
class QtClock final : public Clock {
public:
    TimeOfDay timeOfDay() const override;
    std::string longTimeFormat(const TimeOfDay& time) const override;
    // steady_clock is CLOCK_MONOTONIC, the clock QTimer waits on.
    std::int64_t monotonicMs() const override;
};

// A program folder the user can write to keeps the user's files beside the
// executable, one that cannot be written keeps them under XDG_DATA_HOME. A
// folder that holds Leng/ or the help file is a copy that brings its own
// files, whoever may write it; a lone executable, as installed in bin/, reads
// them from ../share/durmivela.
class QtProgramInfo final : public ProgramInfo {
public:
    struct Folders {
        std::filesystem::path user, data;
    };
    // The rule, decided from what it is given and what the executable's
    // folder holds; creates the user's folder when it is not the
    // executable's, and falls back to that when it cannot.
    static Folders decideFolders(const std::filesystem::path& exeFolder, bool writable, const char* xdgDataHome,
                                 const char* home);

    QtProgramInfo();
    std::filesystem::path folder() const override;
    std::filesystem::path userFolder() const override { return folders_.user; }
    std::filesystem::path dataFolder() const override { return folders_.data; }
    // The file name as it is: Linux executables carry no extension to strip.
    std::string executableName() const override;
    std::string executableFileName() const override { return executableName(); }
    std::string updaterFileName() const override { return "Update"; }
    std::uint32_t processId() const override;

private:
    Folders folders_;  // decided once: a program does not move while it runs
};

// A modal box over the active window, with a single OK button.
class QtMessageBoxes final : public MessageBoxes {
public:
    void show(const std::string& text, const std::string& title, MessageIcon icon) override;
};

// Files and addresses open with the desktop's own handler (xdg-open's rules).
class QtShell final : public Shell {
public:
    void open(const std::string& target) override;
    // Asks xdg-mime, as xdg-open does before it opens a file: the file's
    // type, then the application the desktop gives that type.
    bool hasApplicationFor(const std::filesystem::path& file) const override;
};

// No registry on Linux; the system's name comes from os-release.
class QtSystemInfo final : public SystemInfo {
public:
    bool versionNumbers(OsVersionNumbers& numbers) const override;
    std::string ownName() const override;
    bool registryValue(std::uint32_t, const std::string&, const std::string&, RegistryValue&) const override {
        return false;
    }
};

// Dot-files are the hidden files of Linux; there is no system attribute.
class QtFileAttributes final : public FileAttributes {
public:
    bool hiddenOrSystem(const std::filesystem::path& path) const override;
};

// The primary screen: through the desktop portal in a Wayland session, else
// as the X11 display server gives it.
class QtScreen final : public Screen {
public:
    // How long the portal may take before the capture gives up on it.
    explicit QtScreen(std::chrono::milliseconds portalLimit = std::chrono::seconds(5)) : portal_(portalLimit) {}
    bool capturePrimary(Image& image) override;

private:
    PortalScreenshot portal_;
};

// A Qt tray icon showing the application's window icon. Its clicks reach the
// receiving picture box as the mouse-move codes of Windows' tray callbacks.
// Where a host draws the icon over D-Bus (StatusNotifierItem) the tray menu
// is exported with it too, for hosts that show only exported menus.
class QtNotificationArea final : public NotificationArea {
public:
    QtNotificationArea();
    ~QtNotificationArea() override;
    void setReceiver(PictureBox* receiver) { receiver_ = receiver; }
    // The tray menu, whose items run the program's own commands.
    void setMenu(QMenu* menu);
    bool available() const override;
    bool add(const std::string& tooltip) override;
    void remove() override;

private:
    // Made at the first question, just before Qt decides, by the same test,
    // whether it hosts tray icons over D-Bus; a const question may make them.
    void prepare() const;

    mutable std::unique_ptr<QSystemTrayIcon> icon_;
    mutable std::unique_ptr<TrayHost> host_;
    mutable bool hostedOverDBus_ = false;  // a StatusNotifierItem: a click is a Trigger, never a DoubleClick
    QPointer<QMenu> menu_;
    PictureBox* receiver_ = nullptr;
};

}  // namespace durmivela::qt
