// The tray icon's activations as the mouse-move codes of Windows' tray
// callbacks, the codes the main window's tray picture box understands.
#pragma once

#include <QSystemTrayIcon>

namespace durmivela::qt {

// WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_RBUTTONUP, WM_MBUTTONUP; 0 for none.
int trayMessage(QSystemTrayIcon::ActivationReason reason);

}  // namespace durmivela::qt
