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
}

void QtFormHost::processPendingEvents() { QCoreApplication::processEvents(); }

}  // namespace durmivela::qt
