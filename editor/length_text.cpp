#include "editor/length_text.h"

#include <QLocale>
#include <cmath>

namespace tamix {

QString LengthText::Show(std::optional<double> length) {
    if (!length) return QString();
    // Rounded half away from zero, as a written length is read.
    const double hundredths = std::round(*length * 100.0) / 100.0;
    return QString::number(hundredths == 0 ? 0.0 : hundredths, 'f', 2);
}

std::optional<double> LengthText::Parse(const QString& text) {
    const QString t = text.trimmed();
    if (t.isEmpty()) return std::nullopt;
    bool ok = false;
    double value = QLocale::c().toDouble(t, &ok);
    if (!ok) value = QLocale::system().toDouble(t, &ok);
    if (!ok || !std::isfinite(value)) return std::nullopt;
    return value;
}

}  // namespace tamix
