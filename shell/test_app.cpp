#include "test_app.h"

#include "temp_home.h"

#include <QApplication>

namespace tamix {

QApplication& testApp() {
    TempHome::forProcess();
    static int argc = 1;
    static char name[] = "tamix_test";
    static char* argv[] = {name, nullptr};
    static QApplication app(argc, argv);
    return app;
}

}  // namespace tamix
