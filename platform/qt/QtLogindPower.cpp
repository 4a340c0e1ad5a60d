#include "platform/qt/QtLogindPower.h"

#include <QDBusConnection>
#include <QDBusMessage>

namespace durmivela::qt {

bool QtLogindPower::requestForcedShutdown() {
    QDBusConnection bus = QDBusConnection::systemBus();
    if (!bus.isConnected()) return false;
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.login1"), QStringLiteral("/org/freedesktop/login1"),
        QStringLiteral("org.freedesktop.login1.Manager"), QStringLiteral("PowerOff"));
    call << false;
    // A bounded wait: a stuck bus must not freeze the window for long.
    constexpr int kTimeoutMs = 10'000;
    const QDBusMessage reply = bus.call(call, QDBus::Block, kTimeoutMs);
    return reply.type() == QDBusMessage::ReplyMessage;
}

}  // namespace durmivela::qt
