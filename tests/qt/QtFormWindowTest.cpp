#include "about/frmAbout.h"
#include "platform/qt/QtFormHost.h"
#include "platform/qt/QtFormWindow.h"
#include "platform/qt/QtServices.h"
#include "settings/frmConfiguracion.h"
#include "tests/qt/QtTestApp.h"
#include "tests/fake/FakePlatform.h"

#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

namespace durmivela::qt {
namespace {

class SmallForm : public Form {
public:
    SmallForm() : Form("frmSmall", Twips{0, 0, 3000, 1500}) { onUnload = [this] { ++unloads; }; }
    TextBox& txt = add<TextBox>("txt", nullptr, Twips{120, 120, 1500, 285});
    Label& lbl = add<Label>("lbl", nullptr, Twips{120, 600, 1500, 255});
    Label& hint = add<Label>("hint", nullptr, Twips{120, 900, 1500, 255});
    Timer& tmr = add<Timer>("tmr", 20, false);
    int unloads = 0;
};

// Typed text reaches the model without being set back (an echo would move the
// cursor to the end); a screen reader names the box by its label and describes
// it by the hint, and follows both when they are re-texted (a new language);
// the window's state reaches the model and back, and its close box unloads it.
TEST(QtFormWindow, TheWindowAndItsFormFollowEachOther) {
    testing::qtApp();
    testing::FakeClock clock;
    SmallForm form;
    form.txt.setText("13");
    form.txt.labelledBy = &form.lbl;
    form.txt.describedBy = &form.hint;
    form.lbl.setCaption("&Hora && minuto:");
    form.hint.setCaption("Escriba la hora.");
    QtFormWindow window(form, clock);
    form.show();
    auto* edit = qobject_cast<QLineEdit*>(window.widgetOf(form.txt));
    ASSERT_NE(edit, nullptr);
    edit->setCursorPosition(1);
    QTest::keyClicks(edit, "2");
    EXPECT_EQ(form.txt.text(), "123");
    EXPECT_EQ(edit->cursorPosition(), 2);
    form.txt.setText("7");
    EXPECT_EQ(edit->text().toStdString(), "7");

    auto* label = qobject_cast<QLabel*>(window.widgetOf(form.lbl));
    EXPECT_EQ(label->text().toStdString(), "Hora & minuto:");
    EXPECT_EQ(label->buddy(), edit);
    EXPECT_EQ(edit->accessibleName().toStdString(), "Hora & minuto");
    EXPECT_EQ(edit->accessibleDescription().toStdString(), "Escriba la hora.");
    form.lbl.setCaption("Hour:");
    form.hint.setCaption("Type the hour.");
    EXPECT_EQ(edit->accessibleName().toStdString(), "Hour");
    EXPECT_EQ(edit->accessibleDescription().toStdString(), "Type the hour.");

    window.showMinimized();
    EXPECT_EQ(form.windowState(), WindowState::Minimized);
    form.setWindowState(WindowState::Normal);
    EXPECT_FALSE(window.isMinimized());
    window.close();
    EXPECT_TRUE(form.closed());
    EXPECT_EQ(form.unloads, 1);
}

// A step run aside: the window ticks meanwhile but takes no input, and a key
// pressed then is dropped, not typed once the step is done.
TEST(QtFormHost, AStepRunAsideLeavesTheTimersTickingAndTheUserOut) {
    testing::qtApp();
    QtClock clock;
    SmallForm form;
    form.txt.setText("1");
    QtFormWindow window(form, clock);
    form.show();
    int ticks = 0;
    form.tmr.onTimer = [&ticks] { ++ticks; };
    form.tmr.setEnabled(true);
    QWidget* edit = window.widgetOf(form.txt);
    QtFormHost(clock, QIcon()).runAside([edit] {
        QCoreApplication::postEvent(edit, new QKeyEvent(QEvent::KeyPress, Qt::Key_2, Qt::NoModifier, "2"));
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
    });
    form.tmr.setEnabled(false);
    EXPECT_GE(ticks, 3);
    QCoreApplication::processEvents();
    EXPECT_EQ(form.txt.text(), "1");
}

void showActive(QWidget& window) {
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
}

// Return, Enter and Space press the focused button: the default button's
// Enter never steals them (About would close), and Escape still closes.
TEST(QtFormWindow, TheKeysPressTheFocusedButton) {
    testing::qtApp();
    testing::FakePlatform fake;
    const TablaLenguaje lenguaje = lenguajeIntegrado();
    frmAbout about(fake.plataforma, lenguaje);
    about.load();
    QtFormWindow window(about, fake.clock);
    showActive(window);
    ASSERT_TRUE(window.widgetOf(about.cmdOK)->hasFocus());
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
TEST(QtFormWindow, OptionButtonsShowTheModelsChoiceAndTheKeysMakeIt) {
    testing::qtApp();
    testing::FakePlatform fake;
    Configuracion configuracion;
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

}  // namespace
}  // namespace durmivela::qt
