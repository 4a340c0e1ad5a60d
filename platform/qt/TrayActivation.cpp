#include "platform/qt/TrayActivation.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVariant>

namespace durmivela::qt {

int trayMessage(QSystemTrayIcon::ActivationReason reason, bool hostedOverDBus) {
    switch (reason) {
        case QSystemTrayIcon::Trigger: return hostedOverDBus ? 515 : 514;
        case QSystemTrayIcon::DoubleClick: return 515;
        case QSystemTrayIcon::Context: return 517;
        case QSystemTrayIcon::MiddleClick: return 520;
        case QSystemTrayIcon::Unknown: break;
    }
    return 0;
}

bool trayHostedOverDBus() {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) return false;
    QDBusMessage get = QDBusMessage::createMethodCall(
        QStringLiteral("org.kde.StatusNotifierWatcher"), QStringLiteral("/StatusNotifierWatcher"),
        QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"));
    get << QStringLiteral("org.kde.StatusNotifierWatcher") << QStringLiteral("IsStatusNotifierHostRegistered");
    // Without a watcher the bus answers at once; a stuck one must not hold up the start.
    const QDBusMessage reply = bus.call(get, QDBus::Block, 500);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) return false;
    return qvariant_cast<QDBusVariant>(reply.arguments().constFirst()).variant().toBool();
}

}  // namespace durmivela::qt
