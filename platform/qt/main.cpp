// Durmivela on Linux: the program's main window on Qt Widgets.
#include "lang/Lenguaje.h"
#include "platform/qt/CurlHttp.h"
#include "platform/qt/PosixProcesses.h"
#include "platform/qt/QtFormHost.h"
#include "platform/qt/QtFormWindow.h"
#include "platform/qt/QtLogindPower.h"
#include "platform/qt/QtServices.h"
#include "scheduler/frmPrincipal.h"
#include "settings/Configuracion.h"

#include <QApplication>
#include <QIcon>
#include <QImageReader>
#include <QPixmap>

namespace {

// Decoded by the built-in PNG reader alone: a reader left to detect the
// format, even when told it, first loads every image-format plugin to ask it.
QPixmap pngPixmap(const char* file) {
    QImageReader reader(QString::fromLatin1(file), "png");
    reader.setAutoDetectImageFormat(false);
    return QPixmap::fromImage(reader.read());
}

}  // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    // A main window hidden in the notification area is not a closed one: the
    // program ends only when the form unloads.
    QApplication::setQuitOnLastWindowClosed(false);
    // Wayland names the window by the desktop entry's id.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.example.Durmivela"));

    QIcon icon;
    for (const char* file : {":/icons/durmivela-16.png", ":/icons/durmivela.png"}) icon.addPixmap(pngPixmap(file));
    QApplication::setWindowIcon(icon);

    durmivela::qt::QtClock clock;
    durmivela::qt::QtProgramInfo program;
    durmivela::qt::QtMessageBoxes messages;
    durmivela::qt::QtFileAttributes files;
    durmivela::qt::QtLogindPower power;
    durmivela::qt::QtScreen screen;
    durmivela::qt::QtNotificationArea tray;
    durmivela::qt::QtShell shell;
    durmivela::qt::QtSystemInfo system;
    durmivela::qt::PosixProcesses processes;
    durmivela::qt::CurlHttp http;
    durmivela::qt::QtFormHost forms(clock, icon);
    durmivela::Plataforma plataforma{clock,  program, messages,  files, power, screen,
                                     tray,   shell,   system,    processes, http,  forms};
    durmivela::Configuracion configuracion;
    durmivela::TablaLenguaje lenguaje;

    durmivela::frmPrincipal ventana(plataforma, configuracion, lenguaje);
    tray.setReceiver(&ventana.pctSysTrayIcon);
    ventana.Form_Load();
    if (ventana.closed()) return 0;

    durmivela::qt::QtFormWindow window(ventana, clock);
    window.setWindowIcon(icon);
    tray.setMenu(window.trayMenu());
    window.onClosed = [] { QCoreApplication::quit(); };
    ventana.show();
    return app.exec();
}
