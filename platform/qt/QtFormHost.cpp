#include "platform/qt/QtFormHost.h"

#include "platform/Form.h"
#include "platform/qt/QtFormWindow.h"

#include <QCoreApplication>
#include <QEventLoop>

namespace durmivela::qt {

void QtFormHost::showModal(Form& form) {
    QtFormWindow window(form, clock_);
    window.setWindowIcon(icon_);
    window.setWindowModality(Qt::ApplicationModal);
    QEventLoop loop;
    window.onClosed = [&loop] { loop.quit(); };
    form.show();
    if (!form.closed()) loop.exec();
    // The program quitting ends every loop; the dialog still unloads.
    if (!form.closed()) form.close();
}

// Repaints and ticks, not the user's clicks: a second click on the same
// command must not start it again inside the first.
void QtFormHost::processPendingEvents() { QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents); }

}  // namespace durmivela::qt
