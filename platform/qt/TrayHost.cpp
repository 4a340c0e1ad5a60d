#include "platform/qt/TrayHost.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusServiceWatcher>
#include <QDBusVariant>
#include <QGuiApplication>
#include <QSystemTrayIcon>

namespace durmivela::qt {
namespace {

const QString kWatcher = QStringLiteral("org.kde.StatusNotifierWatcher");
const QString kWatcherPath = QStringLiteral("/StatusNotifierWatcher");

// Without a watcher the bus answers at once; a stuck one must not hold the program up.
constexpr int kBusLimitMs = 500;

bool hostRegistered() {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) return false;
    QDBusMessage get = QDBusMessage::createMethodCall(kWatcher, kWatcherPath, QStringLiteral("org.freedesktop.DBus.Properties"),
                                                      QStringLiteral("Get"));
    get << kWatcher << QStringLiteral("IsStatusNotifierHostRegistered");
    const QDBusMessage reply = bus.call(get, QDBus::Block, kBusLimitMs);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) return false;
    return qvariant_cast<QDBusVariant>(reply.arguments().constFirst()).variant().toBool();
}

}  // namespace

bool trayHostedOverDBus() { return hostRegistered(); }

TrayHost::TrayHost(bool overDBus, QObject* parent) : QObject(parent), overDBus_(overDBus) {
    if (overDBus_) {
        // A watcher that comes or goes (the panel that holds it), and a host
        // that registers with it or leaves it (KDE's watcher outlives Plasma).
        QDBusConnection bus = QDBusConnection::sessionBus();
        auto* watcher = new QDBusServiceWatcher(kWatcher, bus, QDBusServiceWatcher::WatchForOwnerChange, this);
        QObject::connect(watcher, &QDBusServiceWatcher::serviceOwnerChanged, this, &TrayHost::recheckLater);
        for (const char* signal : {"StatusNotifierHostRegistered", "StatusNotifierHostUnregistered"})
            bus.connect(kWatcher, kWatcherPath, kWatcher, QLatin1String(signal), this, SLOT(recheckLater()));
    } else {
        // Qt's X11 platform tells when the XEmbed tray's owner changes, once
        // asked where the tray is (present() asks). The signal is declared
        // by the platform's native interface alone, a QObject whose class
        // only Qt's private headers show.
        auto* native = reinterpret_cast<QObject*>(QGuiApplication::platformNativeInterface());
        if (native && native->metaObject()->indexOfSignal("systemTrayWindowChanged(QScreen*)") >= 0)
            QObject::connect(native, SIGNAL(systemTrayWindowChanged(QScreen*)), this, SLOT(recheckLater()));
    }
    present_ = present();
}

bool TrayHost::present() const {
    if (!overDBus_) return QSystemTrayIcon::isSystemTrayAvailable();
    const QDBusConnectionInterface* bus = QDBusConnection::sessionBus().interface();
    return bus && bus->isServiceRegistered(kWatcher).value() && hostRegistered();
}

// Not from inside the platform's event handling: the program may show or hide
// windows in answer.
void TrayHost::recheckLater() { QMetaObject::invokeMethod(this, &TrayHost::recheck, Qt::QueuedConnection); }

void TrayHost::recheck() {
    const bool now = present();
    if (now == present_) return;
    present_ = now;
    if (changed) changed(now);
}

}  // namespace durmivela::qt
