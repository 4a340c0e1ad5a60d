#include "platform/qt/QtLogindPower.h"

#include <QDBusConnection>
#include <QDBusError>
#include <QDBusMessage>

namespace durmivela::qt {

bool QtLogindPower::requestForcedShutdown(std::string& reason) {
    QDBusConnection bus = QDBusConnection::systemBus();
    if (!bus.isConnected()) {
        reason = bus.lastError().message().toStdString();
        return false;
    }
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.login1"), QStringLiteral("/org/freedesktop/login1"),
        QStringLiteral("org.freedesktop.login1.Manager"), QStringLiteral("PowerOff"));
    call << false;
    // A bounded wait: a stuck bus must not freeze the window for long.
    constexpr int kTimeoutMs = 10'000;
    const QDBusMessage reply = bus.call(call, QDBus::Block, kTimeoutMs);
    if (reply.type() == QDBusMessage::ReplyMessage) return true;
    reason = reply.errorMessage().isEmpty() ? reply.errorName().toStdString() : reply.errorMessage().toStdString();
    return false;
}

}  // namespace durmivela::qt
