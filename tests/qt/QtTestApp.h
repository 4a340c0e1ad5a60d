// The one QApplication of the test program, made on first use and never
// destroyed: at exit Qt's own globals may already be gone.
#pragma once

#include <QApplication>

namespace durmivela::testing {

inline QApplication& qtApp() {
    static int argc = 1;
    static char name[] = "durmivela_qt_tests";
    static char* argv[] = {name, nullptr};
    static auto* app = new QApplication(argc, argv);
    return *app;
}

}  // namespace durmivela::testing
