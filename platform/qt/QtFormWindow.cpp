#include "platform/qt/QtFormWindow.h"

#include "platform/AccessibleText.h"

#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QCursor>
#include <QFontDatabase>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QShortcut>
#include <QStyle>
#include <QSignalBlocker>
#include <QStyleHints>

#include <algorithm>
#include <utility>
#include <vector>

namespace durmivela::qt {

namespace {

QString qs(const std::string& text) { return QString::fromStdString(text); }

// Labels show "&x" as an underlined x on Windows; here the marker just goes,
// and "&&" stays a literal ampersand.
QString withoutMnemonic(const std::string& caption) {
    const QString text = qs(caption);
    QString shown;
    shown.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'&' && i + 1 < text.size()) ++i;
        else if (text[i] == u'&') continue;
        shown += text[i];
    }
    return shown;
}

// The design's face when installed, else the desktop's own face: asking for
// a missing family sends Qt through fontconfig's fallback search for every
// font made, a quarter of the start-up time.
QFont toQFont(const Font& font) {
    QString family = qs(font.face);
    if (!QFontDatabase::hasFamily(family)) family = QApplication::font().family();
    QFont qfont(family);
    qfont.setPointSizeF(font.points);
    qfont.setBold(font.bold);
    return qfont;
}

QColor toQColor(const Rgb& rgb) { return QColor(rgb.red, rgb.green, rgb.blue); }

void setActiveColour(QPalette& palette, QPalette::ColorRole role, const QColor& colour) {
    // Disabled controls keep the style's grey.
    palette.setColor(QPalette::Active, role, colour);
    palette.setColor(QPalette::Inactive, role, colour);
}

void applyColours(QWidget* widget, const Control& control) {
    QPalette palette = widget->palette();
    if (control.foreColour.source == Colour::Source::Fixed) {
        const QColor fore = toQColor(control.foreColour.rgb);
        setActiveColour(palette, QPalette::WindowText, fore);
        setActiveColour(palette, QPalette::Text, fore);
        setActiveColour(palette, QPalette::ButtonText, fore);
    }
    if (control.backColour.source != Colour::Source::Default) {
        const QColor back = control.backColour.source == Colour::Source::Window
                                ? palette.color(QPalette::Base)
                                : toQColor(control.backColour.rgb);
        palette.setColor(QPalette::Window, back);
        palette.setColor(QPalette::Base, back);
        widget->setAutoFillBackground(true);
    }
    widget->setPalette(palette);
}

// The items of a menu item, in collection order.
std::vector<MenuItem*> childrenOf(const Form& form, const MenuItem& parent) {
    std::vector<MenuItem*> children;
    for (const auto& control : form.controls())
        if (control->kind() == ControlKind::Menu && control->container() == &parent)
            children.push_back(static_cast<MenuItem*>(control.get()));
    return children;
}

// A frame as the forms were laid out for: the border runs through the middle
// of the caption's line, so children placed just below the caption sit
// inside it (styles that put the caption above the border would cover them).
class FrameBox final : public QGroupBox {
public:
    using QGroupBox::QGroupBox;

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        const QFontMetrics metrics(font());
        // Drawn here, as the styles' group-box frame adds a caption margin of its own.
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(palette().color(QPalette::Window).darker(140));
        painter.drawRoundedRect(QRectF(rect()).adjusted(0.5, metrics.height() / 2 + 0.5, -0.5, -0.5), 2, 2);
        painter.setRenderHint(QPainter::Antialiasing, false);
        if (title().isEmpty()) return;
        const QSize size = metrics.size(Qt::TextShowMnemonic, title());
        const QRect caption(6, 0, size.width() + 4, metrics.height());
        painter.fillRect(caption, palette().window());
        style()->drawItemText(&painter, caption, Qt::AlignCenter | Qt::TextShowMnemonic, palette(), isEnabled(),
                              title(), QPalette::WindowText);
    }
};

// A label that answers a click, for links.
class ClickableLabel final : public QLabel {
public:
    ClickableLabel(Control& control, QWidget* parent) : QLabel(parent), control_(control) {}

protected:
    void mouseReleaseEvent(QMouseEvent* event) override {
        QLabel::mouseReleaseEvent(event);
        if (rect().contains(event->position().toPoint())) control_.click();
    }

private:
    Control& control_;
};

// Return and Enter press the focused button, as Space does, and as on
// Windows. The focused button takes them before any window shortcut, so the
// Enter of a default button elsewhere in the window cannot steal them.
class PushButton final : public QPushButton {
public:
    using QPushButton::QPushButton;

protected:
    bool event(QEvent* event) override {
        if (event->type() == QEvent::ShortcutOverride && pressesButton(*static_cast<QKeyEvent*>(event))) {
            event->accept();
            return true;
        }
        return QPushButton::event(event);
    }
    void keyPressEvent(QKeyEvent* event) override {
        if (!pressesButton(*event)) return QPushButton::keyPressEvent(event);
        // Held down, it presses once.
        if (!event->isAutoRepeat()) click();
    }

private:
    static bool pressesButton(const QKeyEvent& key) {
        return (key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter) &&
               (key.modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
    }
};

// Option buttons and check boxes of the designs wrap a long caption onto the
// lines their height leaves room for, as Windows draws them; Qt's buttons
// only break lines where the text has them.
QString wrappedForButton(const QAbstractButton* button, const QString& caption) {
    const bool radio = qobject_cast<const QRadioButton*>(button) != nullptr;
    const QStyle* style = button->style();
    const int indicator =
        style->pixelMetric(radio ? QStyle::PM_ExclusiveIndicatorWidth : QStyle::PM_IndicatorWidth, nullptr, button) +
        style->pixelMetric(radio ? QStyle::PM_RadioButtonLabelSpacing : QStyle::PM_CheckBoxLabelSpacing, nullptr,
                           button);
    const int room = button->width() - indicator - 2;
    const QFontMetrics metrics(button->font());
    const int lines = std::max(1, button->height() / metrics.lineSpacing());
    if (lines < 2 || metrics.horizontalAdvance(withoutMnemonic(caption.toStdString())) <= room) return caption;
    QString wrapped, line;
    for (const QString& word : caption.split(u' ')) {
        const QString candidate = line.isEmpty() ? word : line + u' ' + word;
        if (!line.isEmpty() && metrics.horizontalAdvance(withoutMnemonic(candidate.toStdString())) > room) {
            wrapped += line + u'\n';
            line = word;
        } else {
            line = candidate;
        }
    }
    return wrapped + line;
}

// A blinking caret repaints its text box and the frame behind it twice a
// second, for as long as the window is left open. As GTK does, it blinks
// while the user types and then rests, shown and steady.
constexpr int kCaretRestMs = 10'000;

void setCaretBlinking(bool blinking) {
    // -1 is the desktop's own blink period; 0 a steady caret.
    QGuiApplication::styleHints()->setCursorFlashTime(blinking ? -1 : 0);
}

bool takesFocus(ControlKind kind) {
    switch (kind) {
        case ControlKind::TextBox:
        case ControlKind::ComboBox:
        case ControlKind::OptionButton:
        case ControlKind::CheckBox:
        case ControlKind::CommandButton: return true;
        default: return false;
    }
}

void showComboItems(QComboBox* box, const ComboBox& combo) {
    const QSignalBlocker blocker(box);
    box->clear();
    for (const auto& item : combo.items()) box->addItem(qs(item));
    box->setCurrentIndex(combo.listIndex());
}

void showComboChoice(QComboBox* box, const ComboBox& combo) {
    if (box->currentIndex() != combo.listIndex()) box->setCurrentIndex(combo.listIndex());
}

void showValue(QAbstractButton* button, const ValueControl& control) {
    if (auto* box = qobject_cast<QCheckBox*>(button)) {
        const int value = control.value();
        box->setCheckState(value == 1 ? Qt::Checked : value == 2 ? Qt::PartiallyChecked : Qt::Unchecked);
        return;
    }
    // The model decides which option is on. Its group is exclusive (arrow
    // keys choose within it) only while one is on: an exclusive group could
    // not show "none chosen".
    QButtonGroup* group = button->group();
    if (group) group->setExclusive(false);
    button->setChecked(control.value() != 0);
    if (group) {
        const QList<QAbstractButton*> options = group->buttons();
        group->setExclusive(std::any_of(options.begin(), options.end(), [](auto* o) { return o->isChecked(); }));
    }
}

// What a screen reader says of the control, from the model; set only when it
// changed, as each setting is announced anew.
void showAccessibility(QWidget* widget, const Control& control) {
    const QString name = qs(accessibleName(control));
    const QString description = qs(accessibleDescription(control));
    if (widget->accessibleName() != name) widget->setAccessibleName(name);
    if (widget->accessibleDescription() != description) widget->setAccessibleDescription(description);
}

}  // namespace

QtFormWindow::QtFormWindow(Form& form, const Clock& clock) : form_(form), clock_(clock) {
    Qt::WindowFlags flags = Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                            Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    if (form.minimizeBox) flags |= Qt::WindowMinimizeButtonHint;
    if (form.maximizeBox) flags |= Qt::WindowMaximizeButtonHint;
    setWindowFlags(flags);

    scale_ = logicalDpiY() / 96.0;
    client_ = new QWidget(this);
    client_->setFont(toQFont(form.font));
    client_->setFixedSize(px(form.clientSize().width), px(form.clientSize().height));
    setCentralWidget(client_);
    // The window is as big as the client area and the menu bar, never resized.
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    caretRest_.setSingleShot(true);
    caretRest_.setInterval(kCaretRestMs);
    QObject::connect(&caretRest_, &QTimer::timeout, this, [] { setCaretBlinking(false); });

    buildMenus();
    for (const auto& control : form.controls()) {
        if (control->kind() == ControlKind::Timer)
            tickers_[control.get()] = std::make_unique<QtTicker>(static_cast<Timer&>(*control), clock_);
        else if (control->kind() != ControlKind::Menu)
            build(*control);
    }
    tieLabels();
    applyTabOrder();
    setWindowTitle(qs(form.caption()));

    form_.attach(this);
    if (form_.visible()) showForm();
}

QtFormWindow::~QtFormWindow() {
    if (form_.view() == this) form_.attach(nullptr);
}

int QtFormWindow::px(int twips) const { return qRound(twips * scale_ / 15.0); }

QRect QtFormWindow::place(const Twips& g) const {
    // Both edges from twips, so neighbouring controls stay flush after rounding.
    const int left = px(g.left);
    const int top = px(g.top);
    return QRect(left, top, px(g.left + g.width) - left, px(g.top + g.height) - top);
}

QWidget* QtFormWindow::widgetOf(const Control& control) const {
    const auto found = widgets_.find(&control);
    return found == widgets_.end() ? nullptr : found->second;
}

QAction* QtFormWindow::actionOf(const Control& control) const {
    const auto found = actions_.find(&control);
    return found == actions_.end() ? nullptr : found->second;
}

QWidget* QtFormWindow::build(Control& control) {
    if (QWidget* built = widgetOf(control)) return built;
    QWidget* parent = control.container() ? build(*control.container()) : nullptr;
    if (!parent) parent = client_;

    QWidget* widget = nullptr;
    QRect rect = place(control.geometry());
    switch (control.kind()) {
        case ControlKind::Label: {
            auto* label = control.onClick ? new ClickableLabel(control, parent) : new QLabel(parent);
            if (static_cast<Label&>(control).pointingHand) label->setCursor(Qt::PointingHandCursor);
            label->setTextFormat(Qt::PlainText);
            label->setAlignment(Qt::AlignTop |
                                (control.alignment == Alignment::Centre ? Qt::AlignHCenter : Qt::AlignLeft));
            label->setWordWrap(control.multiLine);
            if (control.border) {
                label->setFrameStyle(QFrame::WinPanel | QFrame::Sunken);
                label->setIndent(1);
            }
            widget = label;
            break;
        }
        case ControlKind::TextBox: {
            auto* edit = new QLineEdit(parent);
            edit->installEventFilter(this);
            edit->setAlignment(control.alignment == Alignment::Centre ? Qt::AlignHCenter : Qt::AlignLeft);
            auto& textBox = static_cast<TextBox&>(control);
            QObject::connect(edit, &QLineEdit::textEdited, edit,
                             [&textBox](const QString& text) { textBox.setText(text.toStdString()); });
            widget = edit;
            break;
        }
        case ControlKind::ComboBox: {
            auto* box = new QComboBox(parent);
            box->setEditable(false);
            auto& combo = static_cast<ComboBox&>(control);
            QObject::connect(box, &QComboBox::activated, box, [&combo](int index) { combo.userSelect(index); });
            widget = box;
            break;
        }
        case ControlKind::Frame:
            widget = new FrameBox(parent);
            break;
        case ControlKind::OptionButton: {
            auto* button = new QRadioButton(parent);
            // Grouped by container, as the model groups them; in a group, a
            // screen reader knows it for a radio button.
            QButtonGroup*& group = optionGroups_[control.container()];
            if (!group) group = new QButtonGroup(this);
            group->addButton(button);
            auto& option = static_cast<OptionButton&>(control);
            QObject::connect(button, &QRadioButton::clicked, button, [button, &option] {
                option.userChoose();
                button->setChecked(option.value() != 0);  // clicking the chosen option changes nothing
            });
            widget = button;
            break;
        }
        case ControlKind::CheckBox: {
            auto* box = new QCheckBox(parent);
            auto& check = static_cast<CheckBox&>(control);
            QObject::connect(box, &QCheckBox::clicked, box, [box, &check](bool checked) {
                check.setValue(checked ? 1 : 0);
                showValue(box, check);  // a grey box becomes plain ticked or not
                check.click();
            });
            widget = box;
            break;
        }
        case ControlKind::CommandButton: {
            auto* button = new PushButton(parent);
            button->setAutoDefault(false);
            QObject::connect(button, &QPushButton::clicked, button, [&control] { control.click(); });
            // Enter and Escape press the designated buttons, as in a dialog.
            const auto& designated = static_cast<CommandButton&>(control);
            button->setDefault(designated.isDefault);
            std::vector<QKeySequence> keys;
            if (designated.isDefault) keys.insert(keys.end(), {QKeySequence(Qt::Key_Return), QKeySequence(Qt::Key_Enter)});
            if (designated.isCancel) keys.emplace_back(Qt::Key_Escape);
            for (const QKeySequence& key : keys)
                QObject::connect(new QShortcut(key, this), &QShortcut::activated, button, [button] {
                    if (button->isEnabled() && button->isVisible()) button->click();
                });
            widget = button;
            break;
        }
        case ControlKind::Line: {
            auto* line = new QFrame(parent);
            const bool vertical = control.geometry().width == 0;
            const int width = static_cast<Line&>(control).widthPixels;
            line->setFrameStyle((vertical ? QFrame::VLine : QFrame::HLine) | QFrame::Plain);
            line->setLineWidth(width);
            if (vertical) rect.setWidth(width);
            else rect.setHeight(width);
            widget = line;
            break;
        }
        case ControlKind::PictureBox: {
            // A picture box shows the program's icon when it holds it; the
            // notification-area callbacks come from Qt's tray icon instead.
            if (!static_cast<PictureBox&>(control).hasIcon()) return nullptr;
            auto* picture = new QLabel(parent);
            picture->setPixmap(QApplication::windowIcon().pixmap(32, 32));
            picture->setAlignment(Qt::AlignLeft | Qt::AlignTop);
            widget = picture;
            break;
        }
        case ControlKind::Menu:
        case ControlKind::Timer:
            return nullptr;
    }

    widget->setGeometry(rect);
    // Fixed, so that a new caption does not ask the container for a relayout.
    widget->setFixedSize(rect.size());
    widget->setFont(toQFont(control.font));
    applyColours(widget, control);
    widgets_[&control] = widget;
    for (Property property : {Property::Caption, Property::Text, Property::Visible, Property::Enabled,
                              Property::ToolTipText, Property::ListItems, Property::ListIndex, Property::Value,
                              Property::Accessibility})
        controlChanged(control, property);
    return widget;
}

void QtFormWindow::buildMenus() {
    for (const auto& control : form_.controls()) {
        if (control->kind() != ControlKind::Menu || control->container()) continue;
        auto& item = static_cast<MenuItem&>(*control);
        if (item.name() == kTrayMenuName) {
            trayMenu_ = new QMenu(this);
            trayMenu_->setTitle(qs(item.caption()));
            actions_[&item] = trayMenu_->menuAction();
            fillMenu(trayMenu_, item);
        } else {
            menuBar()->addAction(addMenuItem(nullptr, item));
        }
    }
    // F10 opens the first menu at its first command, as Alt and a menu's
    // letter do, and as on Windows and GTK desktops.
    if (!menuWidget()) return;
    QObject::connect(new QShortcut(QKeySequence(Qt::Key_F10), this), &QShortcut::activated, this, [this] {
        const auto usable = [](QAction* a) { return a->isVisible() && a->isEnabled() && !a->isSeparator(); };
        const QList<QAction*> menus = menuBar()->actions();
        const auto menu = std::find_if(menus.begin(), menus.end(), usable);
        if (menu == menus.end()) return;
        menuBar()->setActiveAction(*menu);
        if (QMenu* popup = (*menu)->menu()) {
            const QList<QAction*> items = popup->actions();
            if (const auto item = std::find_if(items.begin(), items.end(), usable); item != items.end())
                popup->setActiveAction(*item);
        }
    });
}

void QtFormWindow::fillMenu(QMenu* menu, MenuItem& parent) {
    for (MenuItem* child : childrenOf(form_, parent)) menu->addAction(addMenuItem(menu, *child));
}

QAction* QtFormWindow::addMenuItem(QMenu* menu, MenuItem& item) {
    QAction* action = nullptr;
    if (item.isSeparator()) {
        action = new QAction(menu ? static_cast<QObject*>(menu) : this);
        action->setSeparator(true);
    } else if (!childrenOf(form_, item).empty()) {
        auto* submenu = new QMenu(this);
        action = submenu->menuAction();
        fillMenu(submenu, item);
        // Opening a menu is its Click, as on Windows.
        QObject::connect(submenu, &QMenu::aboutToShow, submenu, [&item] { item.click(); });
    } else {
        action = new QAction(menu ? static_cast<QObject*>(menu) : this);
        QObject::connect(action, &QAction::triggered, action, [&item] { item.click(); });
    }
    if (item.isDefault) {
        QFont bold = action->font();
        bold.setBold(true);
        action->setFont(bold);
    }
    actions_[&item] = action;
    for (Property property : {Property::Caption, Property::Visible, Property::Enabled, Property::ToolTipText})
        controlChanged(item, property);
    return action;
}

// A label stands for the control it names: assistive technology reads it as
// that control's label, and Qt lets the user reach the control through it.
// A label that names several controls stands for the first.
void QtFormWindow::tieLabels() {
    for (const auto& control : form_.controls()) {
        if (!control->labelledBy) continue;
        auto* label = qobject_cast<QLabel*>(widgetOf(*control->labelledBy));
        if (QWidget* named = widgetOf(*control); label && named && !label->buddy()) label->setBuddy(named);
    }
}

void QtFormWindow::applyTabOrder() {
    std::vector<std::pair<int, QWidget*>> order;
    for (const auto& control : form_.controls())
        if (control->tabIndex >= 0 && takesFocus(control->kind()))
            if (QWidget* widget = widgetOf(*control)) order.emplace_back(control->tabIndex, widget);
    std::stable_sort(order.begin(), order.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    for (std::size_t i = 1; i < order.size(); ++i) setTabOrder(order[i - 1].second, order[i].second);
    // The first control in tab order that can take the focus has it when the window opens.
    for (const auto& [index, widget] : order)
        if (widget->isEnabledTo(this) && !widget->isHidden()) {
            widget->setFocus();
            break;
        }
}

void QtFormWindow::controlChanged(Control& control, Property property) {
    if (control.kind() == ControlKind::Timer) {
        const auto found = tickers_.find(&control);
        if (found == tickers_.end()) return;
        if (property == Property::Enabled) found->second->enabledChanged();
        if (property == Property::Interval) found->second->intervalChanged();
        return;
    }
    if (QAction* action = actionOf(control)) {
        switch (property) {
            case Property::Caption:
                if (!action->isSeparator()) action->setText(qs(control.caption()));
                break;
            case Property::Visible: action->setVisible(control.visible()); break;
            case Property::Enabled: action->setEnabled(control.enabled()); break;
            case Property::ToolTipText: action->setToolTip(qs(control.toolTipText())); break;
            default: break;
        }
        return;
    }
    QWidget* widget = widgetOf(control);
    if (!widget) return;
    switch (property) {
        case Property::Caption:
            if (auto* label = qobject_cast<QLabel*>(widget)) label->setText(withoutMnemonic(control.caption()));
            else if (auto* frame = qobject_cast<QGroupBox*>(widget)) frame->setTitle(qs(control.caption()));
            else if (auto* button = qobject_cast<QAbstractButton*>(widget))
                button->setText(wrappedForButton(button, qs(control.caption())));
            showAccessibility(widget, control);  // a control named by its own caption
            break;
        case Property::Text:
            if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
                const QString text = qs(static_cast<TextBox&>(control).text());
                if (edit->text() != text) edit->setText(text);  // a typed change is already shown
            } else if (auto* box = qobject_cast<QComboBox*>(widget)) {
                showComboChoice(box, static_cast<ComboBox&>(control));
            }
            break;
        case Property::ListItems:
            if (auto* box = qobject_cast<QComboBox*>(widget)) showComboItems(box, static_cast<ComboBox&>(control));
            break;
        case Property::ListIndex:
            if (auto* box = qobject_cast<QComboBox*>(widget)) showComboChoice(box, static_cast<ComboBox&>(control));
            break;
        case Property::Value:
            if (auto* button = qobject_cast<QAbstractButton*>(widget);
                button && (control.kind() == ControlKind::OptionButton || control.kind() == ControlKind::CheckBox))
                showValue(button, static_cast<ValueControl&>(control));
            break;
        case Property::Visible: widget->setVisible(control.visible()); break;
        case Property::Enabled: widget->setEnabled(control.enabled()); break;
        case Property::ToolTipText: widget->setToolTip(qs(control.toolTipText())); break;
        case Property::Accessibility: showAccessibility(widget, control); break;
        case Property::Tag:
        case Property::Interval: break;
    }
}

void QtFormWindow::formChanged(FormProperty property) {
    switch (property) {
        case FormProperty::Caption: setWindowTitle(qs(form_.caption())); break;
        case FormProperty::Visible:
            if (form_.visible()) {
                showForm();
            } else {
                hide();
            }
            break;
        case FormProperty::WindowState: {
            const bool minimized = form_.windowState() == WindowState::Minimized;
            // Wayland tells no program whether its window is minimised, nor
            // lets it un-minimise one: the model's state is the truth, and a
            // new surface, shown afresh, is the way back.
            const bool wayland = QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
            if (minimized == isMinimized() && !(wayland && !minimized)) break;
            if (!minimized && isVisible()) {
                if (wayland) hide();
                showNormal();
                raise();
                activateWindow();
            } else {
                // A hidden window only records the state for its next show.
                setWindowState(windowState().setFlag(Qt::WindowMinimized, minimized));
            }
            break;
        }
        case FormProperty::Closed:
            if (!closingByUser_) close();
            break;
    }
}

void QtFormWindow::popupMenu(MenuItem& menu) {
    if (QAction* action = actionOf(menu); action && action->menu()) action->menu()->exec(QCursor::pos());
}

void QtFormWindow::showForm() {
    if (!centred_) {
        centred_ = true;
        adjustSize();
        // Wayland compositors place windows themselves; a client cannot move a toplevel.
        const bool placedByCompositor = QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
        if (const QScreen* screen = QGuiApplication::primaryScreen(); screen && !placedByCompositor) {
            const QRect area = screen->availableGeometry();
            move(area.center() - QPoint(width() / 2, height() / 2));
        }
    }
    if (form_.windowState() == WindowState::Minimized) showMinimized();
    else show();
}

bool QtFormWindow::event(QEvent* event) {
    const bool handled = QMainWindow::event(event);
    if (event->type() == QEvent::WindowActivate && attached()) form_.activate();
    return handled;
}

bool QtFormWindow::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
        case QEvent::FocusIn:
        case QEvent::KeyPress:
        case QEvent::MouseButtonPress:
            setCaretBlinking(true);
            caretRest_.start();
            break;
        default: break;
    }
    return QMainWindow::eventFilter(watched, event);
}

void QtFormWindow::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange || !attached()) return;
    // The user minimised or restored the window: tell the form, which raises Resize.
    const bool minimized = isMinimized();
    if (minimized != (form_.windowState() == WindowState::Minimized))
        form_.setWindowState(minimized ? WindowState::Minimized : WindowState::Normal);
}

void QtFormWindow::closeEvent(QCloseEvent* event) {
    if (!form_.closed()) {
        // The close box: the form unloads, then the window goes.
        closingByUser_ = true;
        form_.close();
        closingByUser_ = false;
    }
    event->accept();
    // An unloaded form is finished: no more ticks or mirrored changes. Stopped,
    // not destroyed, as this may run inside a tick's own handler.
    for (auto& [timer, ticker] : tickers_) ticker->stop();
    form_.attach(nullptr);
    if (onClosed) onClosed();
}

}  // namespace durmivela::qt
