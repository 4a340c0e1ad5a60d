#include "about/frmAbout.h"
#include "platform/qt/QtFormHost.h"
#include "platform/qt/QtFormWindow.h"
#include "platform/qt/QtServices.h"
#include "scheduler/frmPrincipal.h"
#include "settings/frmConfiguracion.h"
#include "tests/scheduler/ScheduleFixture.h"
#include "tests/qt/QtTestApp.h"
#include "tests/util/TempDir.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QRadioButton>
#include <QTest>

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

namespace durmivela::qt {
namespace {

using testing::FakePlatform;
using testing::TempDir;

std::vector<std::string> barCaptions(QMainWindow& window) {
    std::vector<std::string> captions;
    for (QAction* action : window.menuBar()->actions())
        if (action->isVisible()) captions.push_back(action->text().toStdString());
    return captions;
}

// The real main window after start-up, in the delay layout, on fake services.
TEST(QtFormWindow, MirrorsTheMainWindowAndHandsTheUsersChoiceBack) {
    testing::qtApp();
    TempDir dir;
    FakePlatform fake;
    fake.program.carpeta = dir.path();
    dir.write(pathFromUtf8("Leng/Español.lng"), testing::shippedLanguage("Español"));
    dir.write(kArchivoConfiguracion, "[TIPO]\r\nTipo=2\r\n[LOG]\r\nLog=4\r\n[LENGUAJE]\r\nLenguaje=Espa\xF1ol\r\n");
    Configuracion configuracion;
    TablaLenguaje lenguaje;
    frmPrincipal ventana(fake.plataforma, configuracion, lenguaje);
    ventana.Form_Load();
    QtFormWindow window(ventana, fake.clock);
    ventana.show();

    // 4680 x 3945 twips at 96 dpi; the tray's pop-up stays out of the bar.
    EXPECT_EQ(window.centralWidget()->size(), QSize(312, 263));
    EXPECT_EQ(barCaptions(window), (std::vector<std::string>{"&Archivo", "A&yuda", "&Donativos"}));
    ASSERT_NE(window.trayMenu(), nullptr);
    EXPECT_TRUE(window.trayMenu()->actions().front()->font().bold());
    EXPECT_EQ(window.windowTitle().toStdString(), "Durmivela 3.0.16");

    auto* clock = qobject_cast<QLabel*>(window.widgetOf(ventana.lblHoraActual));
    ASSERT_NE(clock, nullptr);
    EXPECT_EQ(clock->text().toStdString(), "21:15:03");
    fake.clock.now = {9, 5, 3};

    EXPECT_TRUE(window.widgetOf(ventana.txtHora)->isHidden());
    EXPECT_FALSE(window.widgetOf(ventana.cmbApagar)->isHidden());

    auto* combo = qobject_cast<QComboBox*>(window.widgetOf(ventana.cmbApagar));
    ASSERT_NE(combo, nullptr);
    EXPECT_EQ(combo->count(), 11);
    EXPECT_TRUE(combo->currentText().isEmpty());
    QTest::keyClick(combo, Qt::Key_Down);
    EXPECT_EQ(ventana.cmbApagar.listIndex(), 0);
    EXPECT_EQ(qobject_cast<QLabel*>(window.widgetOf(ventana.lblHoraApa))->text().toStdString(), "09:10:03");
}

// A form with one text box and an unload counter.
class SmallForm : public Form {
public:
    SmallForm() : Form("frmSmall", Twips{0, 0, 3000, 1500}) {
        onUnload = [this] { ++unloads; };
        onResize = [this] { ++resizes; };
    }
    TextBox& txt = add<TextBox>("txt", nullptr, Twips{120, 120, 1500, 285});
    Label& lbl = add<Label>("lbl", nullptr, Twips{120, 600, 1500, 255});
    Label& hint = add<Label>("hint", nullptr, Twips{120, 900, 1500, 255});
    Timer& tmr = add<Timer>("tmr", 20, false);
    int unloads = 0;
    int resizes = 0;
};

TEST(QtFormWindow, TypedTextReachesTheModelWithoutBeingSetBack) {
    testing::qtApp();
    FakePlatform fake;
    SmallForm form;
    form.txt.setText("13");
    form.lbl.setCaption("&Hora && minuto");
    QtFormWindow window(form, fake.clock);
    auto* edit = qobject_cast<QLineEdit*>(window.widgetOf(form.txt));
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(qobject_cast<QLabel*>(window.widgetOf(form.lbl))->text().toStdString(), "Hora & minuto");

    // Typing in the middle: an echo of the model's change would move the cursor to the end.
    edit->setCursorPosition(1);
    QTest::keyClicks(edit, "2");
    EXPECT_EQ(form.txt.text(), "123");
    EXPECT_EQ(edit->cursorPosition(), 2);

    form.txt.setText("7");
    EXPECT_EQ(edit->text().toStdString(), "7");
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

TEST(QtFormWindow, WindowStateAndClosingGoBothWays) {
    testing::qtApp();
    FakePlatform fake;
    {
        SmallForm form;
        QtFormWindow window(form, fake.clock);
        form.show();
        window.showMinimized();
        EXPECT_EQ(form.windowState(), WindowState::Minimized);
        EXPECT_EQ(form.resizes, 1);
        form.setWindowState(WindowState::Normal);
        EXPECT_FALSE(window.isMinimized());

        // The close box unloads the form.
        int closed = 0;
        window.onClosed = [&closed] { ++closed; };
        window.close();
        EXPECT_TRUE(form.closed());
        EXPECT_EQ(form.unloads, 1);
        EXPECT_EQ(closed, 1);
    }
    {
        // The form unloading closes the window.
        SmallForm form;
        QtFormWindow window(form, fake.clock);
        int closed = 0;
        window.onClosed = [&closed] { ++closed; };
        form.show();
        form.close();
        EXPECT_FALSE(window.isVisible());
        EXPECT_EQ(form.unloads, 1);
        EXPECT_EQ(closed, 1);
    }
}

// A screen reader names the box by its label and describes it by the hint,
// and follows both when they are re-texted (a new language).
TEST(QtFormWindow, AccessibleNamesAndDescriptionsFollowTheLabels) {
    testing::qtApp();
    FakePlatform fake;
    SmallForm form;
    form.txt.labelledBy = &form.lbl;
    form.txt.describedBy = &form.hint;
    form.lbl.setCaption("&Hora:");
    form.hint.setCaption("Escriba la hora.");
    QtFormWindow window(form, fake.clock);
    QWidget* edit = window.widgetOf(form.txt);
    auto* label = qobject_cast<QLabel*>(window.widgetOf(form.lbl));
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->buddy(), edit);
    EXPECT_EQ(edit->accessibleName().toStdString(), "Hora");
    EXPECT_EQ(edit->accessibleDescription().toStdString(), "Escriba la hora.");
    form.lbl.setCaption("Hour:");
    form.hint.setCaption("Type the hour.");
    EXPECT_EQ(edit->accessibleName().toStdString(), "Hour");
    EXPECT_EQ(label->accessibleName().toStdString(), "Hour");
    EXPECT_EQ(edit->accessibleDescription().toStdString(), "Type the hour.");
}

void showActive(QWidget& window) {
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
}

// Return, Enter and Space press the focused button; the default button's
// Enter never steals them, and it keeps Enter and Escape of its own.
TEST(QtFormWindow, TheKeysPressTheFocusedButton) {
    testing::qtApp();
    FakePlatform fake;
    const TablaLenguaje lenguaje = lenguajeIntegrado();
    {
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
    frmAbout about(fake.plataforma, lenguaje);
    about.load();
    QtFormWindow window(about, fake.clock);
    showActive(window);
    ASSERT_TRUE(window.widgetOf(about.cmdOK)->hasFocus());
    QTest::keyClick(window.widgetOf(about.cmdOK), Qt::Key_Return);
    EXPECT_TRUE(about.closed());
}

// The model can show no option chosen; the keys choose within the group
// through the model, and the model clearing the choice shows none again.
TEST(QtFormWindow, OptionButtonsShowTheModelsChoiceAndTheKeysMakeIt) {
    testing::qtApp();
    FakePlatform fake;
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
