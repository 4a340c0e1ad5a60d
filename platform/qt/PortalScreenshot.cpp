#include "platform/qt/PortalScreenshot.h"

#include <QCoreApplication>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QImage>
#include <QRandomGenerator>
#include <QThread>
#include <QTimer>
#include <QUrl>
#include <QVariantMap>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace durmivela::qt {
namespace {

// Waits for the request's Response signal.
class ResponseWait final : public QEventLoop {
    Q_OBJECT
public:
    bool answered() const { return answered_; }
    // 0 is success; 1 the user cancelled, 2 any other end.
    uint code() const { return code_; }
    const QVariantMap& results() const { return results_; }

public slots:
    void respond(uint code, const QVariantMap& results) {
        if (answered_) return;
        answered_ = true;
        code_ = code;
        results_ = results;
        quit();
    }

private:
    bool answered_ = false;
    uint code_ = 2;
    QVariantMap results_;
};

int remainingMs(const QDeadlineTimer& deadline) {
    return static_cast<int>(std::clamp<qint64>(deadline.remainingTime(), 1, 3'600'000));
}

// Opens the PNG the portal names and copies its pixels.
bool loadShot(const QString& uri, Image& image) {
    const QUrl url(uri);
    if (!url.isLocalFile()) return false;
    return imageFromQt(QImage(url.toLocalFile()), image);
}

// The Screenshot request and its answer on one connection.
bool exchange(QDBusConnection& bus, const QDeadlineTimer& deadline, Image& image) {
    const QString service = QStringLiteral("org.freedesktop.portal.Desktop");
    const QString token = QStringLiteral("durmivela%1").arg(QRandomGenerator::global()->generate());
    // The portal names the request after the caller (":1.42" gives "1_42") and
    // the token; listening there before calling cannot miss a quick answer.
    QString sender = bus.baseService().mid(1);
    sender.replace(u'.', u'_');
    const QString expected = QStringLiteral("/org/freedesktop/portal/desktop/request/") + sender + u'/' + token;
    ResponseWait wait;
    const auto listen = [&](const QString& path) {
        return bus.connect(service, path, QStringLiteral("org.freedesktop.portal.Request"), QStringLiteral("Response"),
                           &wait, SLOT(respond(uint, QVariantMap)));
    };
    if (!listen(expected)) return false;

    QDBusMessage call = QDBusMessage::createMethodCall(service, QStringLiteral("/org/freedesktop/portal/desktop"),
                                                       QStringLiteral("org.freedesktop.portal.Screenshot"),
                                                       QStringLiteral("Screenshot"));
    call << QString() << QVariantMap{{QStringLiteral("handle_token"), token},
                                     {QStringLiteral("interactive"), false},
                                     {QStringLiteral("modal"), false}};
    const QDBusMessage reply = bus.call(call, QDBus::Block, remainingMs(deadline));
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) return false;
    // Portals older than handle_token answer on a path of their own.
    const QString path = qvariant_cast<QDBusObjectPath>(reply.arguments().constFirst()).path();
    if (path != expected) listen(path);

    if (!wait.answered()) {
        QTimer::singleShot(remainingMs(deadline), &wait, &QEventLoop::quit);
        wait.exec();
    }
    if (!wait.answered() || wait.code() != 0) return false;
    return loadShot(wait.results().value(QStringLiteral("uri")).toString(), image);
}

// Runs on the worker thread, on a connection of its own.
bool askPortal(const QDeadlineTimer& deadline, Image& image) {
    static std::atomic<int> serial{0};
    const QString name = QStringLiteral("durmivela-portal-%1").arg(++serial);
    bool ok = false;
    {
        QDBusConnection bus = QDBusConnection::connectToBus(QDBusConnection::SessionBus, name);
        if (bus.isConnected()) ok = exchange(bus, deadline, image);
    }
    QDBusConnection::disconnectFromBus(name);
    return ok;
}

}  // namespace

bool waylandSession() {
    const char* display = std::getenv("WAYLAND_DISPLAY");
    const char* type = std::getenv("XDG_SESSION_TYPE");
    return (display && *display) || (type && std::strcmp(type, "wayland") == 0);
}

bool imageFromQt(const QImage& picture, Image& image) {
    if (picture.isNull()) return false;
    const QImage shot = picture.convertToFormat(QImage::Format_RGB32);
    image.width = shot.width();
    image.height = shot.height();
    const auto width = static_cast<std::size_t>(shot.width());
    image.pixels.resize(width * static_cast<std::size_t>(shot.height()));
    // RGB32 scan lines are 0xffRRGGBB words already; the BMP writer ignores the top byte.
    for (int y = 0; y < shot.height(); ++y)
        std::memcpy(image.pixels.data() + static_cast<std::size_t>(y) * width, shot.constScanLine(y),
                    width * sizeof(std::uint32_t));
    return true;
}

// The call comes inside the timer tick that runs the shutdown, with that
// timer still enabled and already rearmed: an event loop on this thread would
// deliver its next tick, and with it the shutdown sequence again, inside this
// one. So the exchange runs on a worker thread with its own connection and
// event loop, and this thread only waits for it, bounded by the limit.
bool PortalScreenshot::capture(Image& image) const {
    if (!QCoreApplication::instance()) return false;
    const QDeadlineTimer deadline(limit_);
    // Shared, so a worker that outlives the wait writes into its own copy.
    struct Outcome {
        bool ok = false;
        Image image;
    };
    const auto outcome = std::make_shared<Outcome>();
    QThread* worker = QThread::create([outcome, deadline] { outcome->ok = askPortal(deadline, outcome->image); });
    worker->start();
    // A little grace past the worker's own deadline, for it to hang up.
    constexpr qint64 kGraceMs = 200;
    if (!worker->wait(deadline + kGraceMs)) {
        // Stuck in the bus itself (connecting to a bus that does not answer):
        // left to end on its own.
        QObject::connect(worker, &QThread::finished, worker, &QObject::deleteLater);
        if (worker->isFinished()) worker->deleteLater();
        return false;
    }
    delete worker;
    if (!outcome->ok) return false;
    image = std::move(outcome->image);
    return true;
}

}  // namespace durmivela::qt

#include "PortalScreenshot.moc"
