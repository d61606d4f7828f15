#pragma once

#include <QString>
#include <ostream>

class QApplication;

// Lets GoogleTest print QStrings readably in failure messages.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

namespace tamix {

// For tests: the process's QApplication, created on first use after the
// temporary home (TempHome::forProcess) is in place.
QApplication& testApp();

// Base of widget test fixtures: the application exists before any member
// widget is constructed.
class WithTestApp {
protected:
    WithTestApp() { testApp(); }
};

}  // namespace tamix
