#include "platform/qt/QtServices.h"

#include "about/ComandosMenu.h"
#include "platform/qt/PortalScreenshot.h"
#include "platform/qt/TrayActivation.h"
#include "platform/qt/XcbScreenGrab.h"

#include <QApplication>
#include <QDesktopServices>
#include <QUrl>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QPixmap>
#include <QProcess>
#include <QRegularExpression>
#include <QScreen>
#include <QSystemTrayIcon>
#include <QTime>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <unistd.h>

namespace durmivela::qt {

TimeOfDay QtClock::timeOfDay() const {
    const QTime now = QTime::currentTime();
    return {now.hour(), now.minute(), now.second()};
}

std::string QtClock::longTimeFormat(const TimeOfDay& time) const {
    char text[16];
    std::snprintf(text, sizeof text, "%d:%02d:%02d", time.hour, time.minute, time.second);
    return text;
}

std::int64_t QtClock::monotonicMs() const {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

QtProgramInfo::Folders QtProgramInfo::decideFolders(const std::filesystem::path& exeFolder, bool writable,
                                                   const char* xdgDataHome, const char* home) {
    std::error_code bundledError;
    const bool bundled = std::filesystem::is_directory(exeFolder / "Leng", bundledError) ||
                         std::filesystem::is_regular_file(exeFolder / kArchivoAyuda, bundledError);
    const std::filesystem::path data =
        bundled ? exeFolder : (exeFolder / ".." / "share" / "durmivela").lexically_normal();
    if (writable) return {exeFolder, data};
    // A relative XDG_DATA_HOME is invalid and ignored, as the XDG rules say.
    std::filesystem::path base;
    if (xdgDataHome && std::filesystem::path(xdgDataHome).is_absolute()) base = xdgDataHome;
    else if (home && std::filesystem::path(home).is_absolute()) base = std::filesystem::path(home) / ".local" / "share";
    else return {exeFolder, data};
    const std::filesystem::path user = base / "durmivela";
    std::error_code error;
    std::filesystem::create_directories(user, error);
    if (error || !std::filesystem::is_directory(user, error)) return {exeFolder, data};
    return {user, data};
}

QtProgramInfo::QtProgramInfo() {
    const std::filesystem::path exe = folder();
    folders_ = decideFolders(exe, ::access(exe.c_str(), W_OK) == 0, std::getenv("XDG_DATA_HOME"), std::getenv("HOME"));
}

std::filesystem::path QtProgramInfo::folder() const {
    // The file system's own bytes, not UTF-8, so any folder name round-trips.
    return std::filesystem::path(QFile::encodeName(QCoreApplication::applicationDirPath()).toStdString());
}

std::string QtProgramInfo::executableName() const {
    return QFileInfo(QCoreApplication::applicationFilePath()).fileName().toStdString();
}

std::uint32_t QtProgramInfo::processId() const {
    return static_cast<std::uint32_t>(QCoreApplication::applicationPid());
}

void QtMessageBoxes::show(const std::string& text, const std::string& title, MessageIcon icon) {
    const QMessageBox::Icon qtIcon = icon == MessageIcon::Information ? QMessageBox::Information
                                     : icon == MessageIcon::Warning   ? QMessageBox::Warning
                                                                      : QMessageBox::NoIcon;
    QMessageBox box(qtIcon, QString::fromStdString(title), QString::fromStdString(text), QMessageBox::Ok,
                    QApplication::activeWindow());
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

void QtShell::open(const std::string& target) {
    const QString text = QString::fromStdString(target);
    const bool address = text.startsWith(QLatin1String("http://")) || text.startsWith(QLatin1String("https://"));
    QDesktopServices::openUrl(address ? QUrl(text) : QUrl::fromLocalFile(text));
}

namespace {

// The first line that xdg-mime prints; empty when it is not installed, fails
// or takes longer than a lookup in a few files ever should.
QString askXdgMime(const QStringList& arguments) {
    QProcess process;
    process.setStandardErrorFile(QProcess::nullDevice());
    process.start(QStringLiteral("xdg-mime"), arguments);
    constexpr int kLimitMs = 3000;
    if (!process.waitForFinished(kLimitMs)) {
        process.kill();
        process.waitForFinished();
        return {};
    }
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) return {};
    return QString::fromUtf8(process.readAllStandardOutput()).section(u'\n', 0, 0).trimmed();
}

}  // namespace

// xdg-mime rather than a reading of mimeapps.list here: it is the resolver
// xdg-open itself consults (and on KDE it asks KDE), so the answer is the
// one the opening will meet. Any doubt answers no, and the caller then
// falls back to what every desktop opens.
bool QtShell::hasApplicationFor(const std::filesystem::path& file) const {
    const QString path = QFile::decodeName(QByteArray::fromStdString(file.native()));
    const QString type = askXdgMime({QStringLiteral("query"), QStringLiteral("filetype"), path}).section(u';', 0, 0);
    const QRegularExpression mimeType(QStringLiteral("^[\\w.+-]+/[\\w.+-]+$"));
    if (!mimeType.match(type).hasMatch()) return false;
    return askXdgMime({QStringLiteral("query"), QStringLiteral("default"), type}).endsWith(QLatin1String(".desktop"));
}

// Linux has no Windows version numbers to give.
bool QtSystemInfo::versionNumbers(OsVersionNumbers&) const { return false; }

std::string QtSystemInfo::ownName() const {
    for (const char* path : {"/etc/os-release", "/usr/lib/os-release"}) {
        QFile file(QString::fromLatin1(path));
        if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) continue;
        while (!file.atEnd()) {
            QString line = QString::fromUtf8(file.readLine()).trimmed();
            if (!line.startsWith(QLatin1String("PRETTY_NAME="))) continue;
            line = line.mid(12);
            if (line.size() >= 2 && (line.front() == u'"' || line.front() == u'\'') && line.back() == line.front())
                line = line.mid(1, line.size() - 2);
            if (!line.isEmpty()) return line.toStdString();
        }
    }
    return "Linux";
}

bool QtFileAttributes::hiddenOrSystem(const std::filesystem::path& path) const {
    const std::string name = path.filename().string();
    return !name.empty() && name.front() == '.';
}

// On Wayland only the portal may show the screen; X11 and Qt's grab stay as
// the fallbacks, and are the only ways elsewhere.
bool QtScreen::capturePrimary(Image& image) {
    if (waylandSession() && portal_.capture(image)) return true;
    if (grabPrimaryScreenXcb(image)) return true;
    QScreen* screen = QGuiApplication::primaryScreen();
    return screen && imageFromQt(screen->grabWindow(0).toImage(), image);
}

QtNotificationArea::QtNotificationArea() = default;
QtNotificationArea::~QtNotificationArea() = default;

void QtNotificationArea::prepare() const {
    if (icon_) return;
    hostedOverDBus_ = trayHostedOverDBus();
    icon_ = std::make_unique<QSystemTrayIcon>(QApplication::windowIcon());
    // Queued, as Windows posts its tray callbacks: the handler may open a
    // pop-up whose choice hides the icon, and the X11 icon would then be
    // destroyed inside its own mouse handler.
    QObject::connect(
        icon_.get(), &QSystemTrayIcon::activated, icon_.get(),
        [this](QSystemTrayIcon::ActivationReason reason) {
            if (const int message = trayMessage(reason, hostedOverDBus_); message && receiver_)
                receiver_->mouseMove(0, 0, message, 0);
        },
        Qt::QueuedConnection);
    // Only the D-Bus icon may carry the menu: Qt's X11 icon would pop it up
    // itself on the button's press, beside the program's own.
    if (hostedOverDBus_ && menu_) icon_->setContextMenu(menu_);
    host_ = std::make_unique<TrayHost>(hostedOverDBus_);
    host_->changed = [this](bool present) {
        if (availabilityChanged) availabilityChanged(present);
    };
}

void QtNotificationArea::setMenu(QMenu* menu) {
    menu_ = menu;
    if (icon_ && hostedOverDBus_) icon_->setContextMenu(menu);
}

bool QtNotificationArea::available() const {
    prepare();
    return host_->present();
}

bool QtNotificationArea::add(const std::string& tooltip) {
    prepare();
    icon_->setToolTip(QString::fromStdString(tooltip));
    icon_->show();
    return true;  // Qt does not tell whether the host took it
}

// Hidden, not destroyed: this may run inside the icon's own click.
void QtNotificationArea::remove() {
    if (icon_) icon_->hide();
}

}  // namespace durmivela::qt
