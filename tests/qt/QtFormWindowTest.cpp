#include "platform/Cp1252.h"
#include "platform/qt/QtFormHost.h"
#include "platform/qt/QtFormWindow.h"
#include "platform/qt/QtServices.h"
#include "tests/qt/QtTestApp.h"
#include "tests/scheduler/ScheduleFixture.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyleOptionButton>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <stdexcept>
#include <thread>

namespace durmivela::qt {
namespace {

using QtForms = durmivela::testing::MainWindowTest;

class SmallForm : public Form {
public:
    SmallForm() : Form("frmSmall", Twips{0, 0, 3000, 1500}) { onUnload = [this] { ++unloads; }; }
    TextBox& txt = add<TextBox>("txt", nullptr, Twips{120, 120, 1500, 285});
    Label& lbl = add<Label>("lbl", nullptr, Twips{120, 600, 1500, 255});
    Timer& tmr = add<Timer>("tmr", 20, false);
    int unloads = 0;
};

// A screen reader names the box by its label, and follows it re-texted (a new
// language). A step run aside leaves the timers ticking but keeps the user out:
// a key pressed meanwhile is dropped, not typed once the step is done, and what
// it threw reaches the caller. The window's state reaches the model and back,
// and its close box unloads it.
TEST(QtFormWindow, TheWindowFollowsItsFormAndAStepRunAsideKeepsTheUserOut) {
    testing::qtApp();
    QtClock clock;
    SmallForm form;
    form.txt.setText("1");
    form.txt.labelledBy = &form.lbl;
    form.lbl.setCaption("&Hora && minuto:");
    QtFormWindow window(form, clock);
    form.show();
    auto* edit = qobject_cast<QLineEdit*>(window.widgetOf(form.txt));
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(qobject_cast<QLabel*>(window.widgetOf(form.lbl))->buddy(), edit);
    EXPECT_EQ(edit->accessibleName().toStdString(), "Hora & minuto");
    form.lbl.setCaption("Hour:");
    EXPECT_EQ(edit->accessibleName().toStdString(), "Hour");

    QTest::keyClicks(edit, "3");
    EXPECT_EQ(form.txt.text(), "13");
    int ticks = 0;
    form.tmr.onTimer = [&ticks] { ++ticks; };
    form.tmr.setEnabled(true);
    QtFormHost(clock, QIcon()).runAside([edit] {
        QCoreApplication::postEvent(edit, new QKeyEvent(QEvent::KeyPress, Qt::Key_2, Qt::NoModifier, "2"));
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
    });
    form.tmr.setEnabled(false);
    EXPECT_GE(ticks, 3);
    EXPECT_THROW(QtFormHost(clock, QIcon()).runAside([] { throw std::runtime_error("no network"); }), std::runtime_error);
    QCoreApplication::processEvents();
    EXPECT_EQ(form.txt.text(), "13");

    window.showMinimized();
    EXPECT_EQ(form.windowState(), WindowState::Minimized);
    form.setWindowState(WindowState::Normal);
    EXPECT_FALSE(window.isMinimized());
    window.close();
    EXPECT_TRUE(form.closed());
    EXPECT_EQ(form.unloads, 1);
}

void showActive(QWidget& window) {
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
}

// Return, Enter and Space press the focused button: the default button's
// Enter never steals them (About would close), and Escape still closes.
TEST_F(QtForms, TheKeysPressTheFocusedButton) {
    testing::qtApp();
    const TablaLenguaje lenguaje = lenguajeIntegrado();
    frmAbout about(fake.plataforma, lenguaje);
    about.load();
    QtFormWindow window(about, fake.clock);
    showActive(window);
    QWidget* sysInfo = window.widgetOf(about.cmdSysInfo);
    sysInfo->setFocus();
    // No information tool here: each press tells so, and About stays.
    for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Space}) QTest::keyClick(sysInfo, key);
    EXPECT_EQ(fake.messages.shown.size(), 3u);
    EXPECT_FALSE(about.closed());
    QTest::keyClick(sysInfo, Qt::Key_Escape);
    EXPECT_TRUE(about.closed());
}

// The model can show no option chosen; the keys choose within the group
// through the model, and the model clearing the choice shows none again.
TEST_F(QtForms, OptionButtonsShowTheModelsChoiceAndTheKeysMakeIt) {
    testing::qtApp();
    configuracion.Tipo = 0;
    TablaLenguaje lenguaje = lenguajeIntegrado();
    frmConfiguracion dialog(fake.plataforma, configuracion, lenguaje);
    dialog.load();
    QtFormWindow window(dialog, fake.clock);
    showActive(window);
    auto* left = qobject_cast<QRadioButton*>(window.widgetOf(dialog.opbEstablecerDirecto));
    auto* right = qobject_cast<QRadioButton*>(window.widgetOf(dialog.opbEstablecerCalculos));
    ASSERT_TRUE(left && right);
    EXPECT_FALSE(left->isChecked() || right->isChecked());
    left->setFocus();
    QTest::keyClick(left, Qt::Key_Space);
    EXPECT_EQ(dialog.opbEstablecerDirecto.value(), 1);
    QTest::keyClick(left, Qt::Key_Right);
    EXPECT_EQ(dialog.opbEstablecerDirecto.value(), 0);
    EXPECT_EQ(dialog.opbEstablecerCalculos.value(), 1);
    EXPECT_TRUE(right->isChecked() && right->hasFocus() && !left->isChecked());
    dialog.opbEstablecerCalculos.setValue(0);
    EXPECT_FALSE(left->isChecked() || right->isChecked());
}

// What a caption needs beside what its control offers, in pixels and lines.
struct Measure {
    int width = 0, room = 0, lines = 1, roomLines = 1;
    bool fits() const { return width <= room && lines <= roomLines; }
};

// The lines a control's height leaves room for, as the front end wraps them.
int linesOfRoom(const QWidget* widget, int height) {
    return std::max(1, height / widget->fontMetrics().lineSpacing());
}

// Each line of the text (as the control shows it), the widest against the room.
Measure ofLines(const QWidget* widget, const QString& text, const QRect& room) {
    Measure m{0, room.width(), 0, linesOfRoom(widget, room.height())};
    // A blank at the end shows nothing, so cuts nothing.
    for (const QString& line : text.split(u'\n')) {
        QString shown = line;
        while (shown.endsWith(u' ')) shown.chop(1);
        m.width = std::max(m.width, widget->fontMetrics().size(Qt::TextShowMnemonic, shown).width());
        ++m.lines;
    }
    return m;
}

// The caption a widget (if any) shows.
std::vector<std::pair<QString, Measure>> measure(const QWidget* widget) {
    if (const auto* label = qobject_cast<const QLabel*>(widget)) {
        if (label->text().isEmpty() || !label->pixmap().isNull()) return {};
        const QRect room = label->contentsRect().adjusted(label->indent() > 0 ? label->indent() : 0, 0, 0, 0);
        if (!label->wordWrap()) return {{label->text(), ofLines(label, label->text(), room)}};
        // Wrapped at word ends: a word wider than the label is cut all the same.
        const QRect wrapped =
            label->fontMetrics().boundingRect(room, Qt::TextWordWrap | label->alignment(), label->text());
        const int spacing = label->fontMetrics().lineSpacing();
        return {{label->text(), {wrapped.width(), room.width(), (wrapped.height() + spacing - 1) / spacing,
                                 linesOfRoom(label, room.height())}}};
    }
    if (const auto* button = qobject_cast<const QAbstractButton*>(widget)) {
        QStyleOptionButton option;
        option.initFrom(button);
        option.text = button->text();
        const QStyle::SubElement contents = qobject_cast<const QPushButton*>(button) ? QStyle::SE_PushButtonContents
                                            : qobject_cast<const QRadioButton*>(button) ? QStyle::SE_RadioButtonContents
                                                                                        : QStyle::SE_CheckBoxContents;
        const QRect room = button->style()->subElementRect(contents, &option, button);
        return {{button->text(), ofLines(button, button->text(), room)}};
    }
    return {};
}

// Measured with the font the front end gives each control, against its design
// size at 96 dpi, in each state that puts other texts on the main window: each
// layout's hint, a delay chosen, a schedule armed (its hint and stop caption).
TEST_F(QtForms, EveryCaptionFitsItsControlInEveryShippedLanguage) {
    durmivela::testing::qtApp();
    for (const std::string& language : durmivela::testing::shippedLanguages()) {
        auto measureAll = [&](const Form& form, const QtFormWindow& window) {
            for (const auto& control : form.controls())
                for (const auto& [text, m] : measure(window.widgetOf(*control)))
                    EXPECT_TRUE(m.fits()) << language << ": " << form.name() << "." << control->name() << " \""
                                          << text.toStdString() << "\" needs " << m.width << " px on " << m.lines
                                          << " lines, has " << m.room << " px on " << m.roomLines;
        };
        for (int tipo : {1, 2}) {
            frmPrincipal& main = start(tipo, 1, utf8ToCp1252(language));
            QtFormWindow window(main, fake.clock);
            measureAll(main, window);
            if (tipo == 1) continue;
            choose(1);
            measureAll(main, window);
            main.cmdAceptar.click();
            ASSERT_TRUE(main.armado());
            measureAll(main, window);
        }
        forEachDialog([&](Form& form) { measureAll(form, QtFormWindow(form, fake.clock)); });
    }
}

}  // namespace
}  // namespace durmivela::qt
