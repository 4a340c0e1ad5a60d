// The tray icon's activations as the mouse-move codes of Windows' tray
// callbacks, the codes the main window's tray picture box understands.
#pragma once

#include <QSystemTrayIcon>

namespace durmivela::qt {

// WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_RBUTTONUP, WM_MBUTTONUP; 0 for none.
// A host over D-Bus (StatusNotifierItem) reports its primary activation as a
// Trigger and never a double click, so there Trigger is the double click.
int trayMessage(QSystemTrayIcon::ActivationReason reason, bool hostedOverDBus);

}  // namespace durmivela::qt
