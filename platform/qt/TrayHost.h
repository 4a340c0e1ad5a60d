// Whether a notification area is there for the tray icon on Linux, on the
// route Qt takes to it, and word when that changes: a panel that crashed,
// restarted or started late.
#pragma once

#include <QObject>

#include <functional>

namespace durmivela::qt {

// Whether Qt hosts tray icons over D-Bus: a StatusNotifierWatcher on the
// session bus that has a host registered, the test Qt makes itself, once, the
// first time it is asked about a tray.
bool trayHostedOverDBus();

class TrayHost final : public QObject {
    Q_OBJECT
public:
    // Over D-Bus the host is a StatusNotifierWatcher with a host registered;
    // otherwise the owner of the XEmbed tray selection, as Qt's own tray
    // icon follows it.
    explicit TrayHost(bool overDBus, QObject* parent = nullptr);

    bool present() const;
    // Called, from the event loop, each time present() has turned.
    std::function<void(bool present)> changed;

private slots:
    void recheckLater();

private:
    void recheck();

    bool overDBus_;
    bool present_;
};

}  // namespace durmivela::qt
