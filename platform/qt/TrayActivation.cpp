#include "platform/qt/TrayActivation.h"

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

}  // namespace durmivela::qt
