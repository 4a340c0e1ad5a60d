// The toolkit's floor for the benchmarks: a Qt Widgets window holding one
// label, built from the same Qt as the program and measured beside it. The
// window and the label have the sizes of Durmivela's window and clock label.
// With --clock the label shows the time of day, read twice a second as
// Durmivela's clock timer does: the floor of a window that shows a clock.
#include <QApplication>
#include <QLabel>
#include <QTime>
#include <QTimer>
#include <QWidget>

#include <cstring>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Bare Qt window"));
    window.resize(312, 283);
    QLabel label(QStringLiteral("Durmivela"), &window);
    label.setGeometry(128, 36, 161, 17);
    QTimer clock;
    if (argc > 1 && std::strcmp(argv[1], "--clock") == 0) {
        QObject::connect(&clock, &QTimer::timeout, &label,
                         [&label] { label.setText(QTime::currentTime().toString(QStringLiteral("H:mm:ss"))); });
        clock.start(500);
    }
    window.show();
    return app.exec();
}
