#pragma once

class QApplication;

namespace tamix {

// For tests: the process's QApplication, created on first use after the
// temporary home (TempHome::forProcess) is in place.
QApplication& testApp();

}  // namespace tamix
