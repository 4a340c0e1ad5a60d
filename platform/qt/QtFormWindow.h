// A Qt main window that mirrors a form of the model: every control becomes a
// widget (or menu action, or driven timer) at its design place, every change
// in the model is shown at once, and the user's actions are written into the
// model before its events are raised.
#pragma once

#include "platform/Form.h"
#include "platform/Services.h"
#include "platform/qt/QtTicker.h"

#include <QMainWindow>
#include <QTimer>

#include <functional>
#include <memory>
#include <unordered_map>

class QAction;
class QButtonGroup;
class QMenu;

namespace durmivela::qt {

// The top-level menu that is the notification-area icon's pop-up.
inline constexpr const char* kTrayMenuName = "mnuSysTrayIcon";

class QtFormWindow final : public QMainWindow, public FormView {
public:
    // Builds the window from the form and attaches itself to it; the form's
    // timers start running now. Shows the window if the form is visible.
    QtFormWindow(Form& form, const Clock& clock);
    ~QtFormWindow() override;

    void controlChanged(Control& control, Property property) override;
    void formChanged(FormProperty property) override;
    void popupMenu(MenuItem& menu) override;

    // The widget or menu action that mirrors a control; null for others.
    QWidget* widgetOf(const Control& control) const;
    QAction* actionOf(const Control& control) const;
    // The notification-area pop-up; it never appears in the menu bar.
    QMenu* trayMenu() const { return trayMenu_; }

    // Runs once the window has closed for good (the form unloaded).
    std::function<void()> onClosed;

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    // False once the form has unloaded: nothing more is sent to it.
    bool attached() const { return form_.view() == this; }
    int px(int twips) const;
    QRect place(const Twips& geometry) const;
    QWidget* build(Control& control);
    void buildMenus();
    void fillMenu(QMenu* menu, MenuItem& parent);
    QAction* addMenuItem(QMenu* menu, MenuItem& item);
    void tieLabels();
    void applyTabOrder();
    void showForm();

    Form& form_;
    const Clock& clock_;
    double scale_ = 1.0;
    QWidget* client_ = nullptr;
    QMenu* trayMenu_ = nullptr;
    std::unordered_map<const Control*, QWidget*> widgets_;
    std::unordered_map<const Control*, QAction*> actions_;
    // The option buttons of each container, as one group.
    std::unordered_map<const Control*, QButtonGroup*> optionGroups_;
    std::unordered_map<const Control*, std::unique_ptr<QtTicker>> tickers_;
    bool centred_ = false;
    bool closingByUser_ = false;
    // Stops the caret of a focused text box from blinking after a while without typing.
    QTimer caretRest_;
};

}  // namespace durmivela::qt
