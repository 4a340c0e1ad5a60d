// Every caption of the three windows fits its control in every shipped
// language: measured with the font the front end gives the control, against
// the control's design size at 96 dpi, on the lines its height leaves room for.
#include "about/frmAbout.h"
#include "platform/Cp1252.h"
#include "platform/qt/QtFormWindow.h"
#include "settings/frmConfiguracion.h"
#include "tests/qt/QtTestApp.h"
#include "tests/scheduler/ScheduleFixture.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStyleOptionButton>

#include <algorithm>
#include <map>

namespace durmivela::qt {
namespace {

using CaptionFit = durmivela::testing::MainWindowTest;

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

// The captions one widget shows: its text, or for a list each of its entries.
std::vector<std::pair<QString, Measure>> measure(const QWidget* widget) {
    const QStyle* style = widget->style();
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
        return {{button->text(), ofLines(button, button->text(), style->subElementRect(contents, &option, button))}};
    }
    if (const auto* frame = qobject_cast<const QGroupBox*>(widget)) {
        // The caption sits on the border, 6 pixels in, with 2 pixels of gap each side.
        const int width = frame->fontMetrics().size(Qt::TextShowMnemonic, frame->title()).width() + 4;
        return {{frame->title(), {width, frame->width() - 2 * 6, 1, 1}}};
    }
    return {};
}

// The states that put different texts on the main window: each layout's hint,
// a delay chosen, a schedule armed (its hint and the stop caption).
TEST_F(CaptionFit, EveryCaptionFitsItsControlInEveryShippedLanguage) {
    durmivela::testing::qtApp();
    for (const std::string& language : durmivela::testing::shippedLanguages()) {
        std::map<std::string, Measure> measures;  // by control and caption
        auto measureAll = [&](const Form& form, const QtFormWindow& window) {
            for (const auto& control : form.controls())
                if (const QWidget* widget = window.widgetOf(*control))
                    for (const auto& [text, m] : measure(widget))
                        measures[form.name() + "." + control->name() + " \"" + text.toStdString() + "\""] = m;
        };
        for (int tipo : {1, 2}) {
            frmPrincipal& main = start(tipo, 1, utf8ToCp1252(language));
            QtFormWindow window(main, fake.clock);
            measureAll(main, window);
            if (tipo == 1) continue;
            // The design's 4680 x 3945 twips at 96 dpi, and a bar of its three
            // menus: the tray's pop-up stays out.
            EXPECT_EQ(window.centralWidget()->size(), QSize(312, 263));
            const QList<QAction*> bar = window.menuBar()->actions();
            EXPECT_EQ(std::count_if(bar.begin(), bar.end(), [](QAction* menu) { return menu->isVisible(); }), 3);
            choose(1);
            measureAll(main, window);
            main.cmdAceptar.click();
            ASSERT_TRUE(main.armado());
            measureAll(main, window);
        }
        frmConfiguracion settings(fake.plataforma, configuracion, lenguaje_);
        settings.load();
        measureAll(settings, QtFormWindow(settings, fake.clock));
        frmAbout about(fake.plataforma, lenguaje_);
        about.load();
        measureAll(about, QtFormWindow(about, fake.clock));
        for (const auto& [caption, m] : measures)
            EXPECT_TRUE(m.fits()) << language << ": " << caption << " needs " << m.width << " px on " << m.lines
                                  << " lines, has " << m.room << " px on " << m.roomLines;
    }
}

}  // namespace
}  // namespace durmivela::qt
