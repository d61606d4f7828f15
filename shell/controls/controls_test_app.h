#pragma once

#include <QApplication>
#include <QString>
#include <ostream>

// Lets GoogleTest print QStrings readably in failure messages.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

namespace tamix::controls {

// The QApplication the widget tests run in; created on first use and never
// destroyed: destroying it among the exit handlers would run after Qt's own
// statics are gone.
inline QApplication& testApp() {
    static int argc = 1;
    static char name[] = "tamix_controls_test";
    static char* argv[] = {name, nullptr};
    static QApplication* app = new QApplication(argc, argv);
    return *app;
}

// Base of widget test fixtures: makes sure the application exists before
// any member widget is constructed.
class WithTestApp {
protected:
    WithTestApp() { testApp(); }
};

}  // namespace tamix::controls
