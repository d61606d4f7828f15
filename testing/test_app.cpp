#include "testing/test_app.h"

#include "testing/temp_home.h"

#include <QApplication>

namespace tamix {

QApplication& testApp() {
    TempHome::forProcess();
    static int argc = 1;
    static char name[] = "tamix_test";
    static char* argv[] = {name, nullptr};
    // Never destroyed: tearing Qt down among the exit handlers of a test
    // program races Qt's own global objects.
    static QApplication* app = new QApplication(argc, argv);
    return *app;
}

}  // namespace tamix
