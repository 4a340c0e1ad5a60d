#include "platform/qt/QtFormHost.h"

#include "platform/AsideThread.h"
#include "platform/Form.h"
#include "platform/qt/QtFormWindow.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QEvent>
#include <QEventLoop>
#include <QGuiApplication>
#include <QPointer>
#include <QThread>
#include <QWidget>
#include <QWindow>

#include <atomic>
#include <exception>
#include <vector>

namespace durmivela::qt {
namespace {

// Drops the user's input to the windows open when it was made, as a modal
// dialog does to its owner: dropped, not held back, so that no click comes
// out after the wait. Windows opened later (a message box) take input.
class InputBlocker final : public QObject {
public:
    InputBlocker() {
        for (QWindow* window : QGuiApplication::topLevelWindows()) blocked_.emplace_back(window);
        QCoreApplication::instance()->installEventFilter(this);
    }
    ~InputBlocker() override { QCoreApplication::instance()->removeEventFilter(this); }

protected:
    bool eventFilter(QObject* receiver, QEvent* event) override {
        // Menu mnemonics and shortcuts reach their actions, not a window.
        if (event->type() == QEvent::Shortcut) return true;
        const bool input = event->isInputEvent() || (event->type() == QEvent::Close && event->spontaneous());
        return input && isBlocked(windowOf(receiver));
    }

private:
    static QWindow* windowOf(QObject* receiver) {
        if (auto* window = qobject_cast<QWindow*>(receiver)) return window;
        if (auto* widget = qobject_cast<QWidget*>(receiver)) return widget->window()->windowHandle();
        return nullptr;
    }
    bool isBlocked(const QWindow* window) const {
        for (const QPointer<QWindow>& blocked : blocked_)
            if (window && blocked == window) return true;
        return false;
    }

    std::vector<QPointer<QWindow>> blocked_;
};

}  // namespace

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

// Events are handled one pass at a time rather than by a nested event loop,
// which a quit would end before the step is done; the quit still ends the
// program's own loop afterwards.
void QtFormHost::runAside(const std::function<void()>& step) {
    QAbstractEventDispatcher* dispatcher = QThread::currentThread()->eventDispatcher();
    const InputBlocker blocker;
    std::atomic<bool> done{false};
    const auto finished = [&] {
        done = true;
        if (dispatcher) dispatcher->wakeUp();
    };
    const auto wait = [&] {
        while (!done) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    };
    if (const std::exception_ptr failure = runOnOwnThread(step, finished, wait)) std::rethrow_exception(failure);
}

}  // namespace durmivela::qt
