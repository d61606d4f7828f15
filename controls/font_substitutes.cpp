#include "controls/font_substitutes.h"

#include <QFont>
#include <QFontDatabase>
#include <algorithm>
#include <array>

namespace tamix::controls {

namespace {

struct Substitution {
    const char* windowsName;
    std::array<const char*, 4> families;  // best first; unused places are null
};

// Metric-compatible clones come first (Liberation, then ChromeOS's Arimo,
// Tinos and Cousine, then URW's), a DejaVu face last. DejaVu Sans is as
// wide and open as Verdana and Tahoma. No free family draws Windows symbol
// fonts glyph for glyph; the symbol families come first for what they do
// cover.
constexpr std::array kTable{
    Substitution{"MS Sans Serif", {"Liberation Sans", "Arimo", "Nimbus Sans", "DejaVu Sans"}},
    Substitution{"Arial", {"Liberation Sans", "Arimo", "Nimbus Sans", "DejaVu Sans"}},
    Substitution{"Helvetica", {"Liberation Sans", "Nimbus Sans", "Arimo", "DejaVu Sans"}},
    Substitution{"Tahoma", {"DejaVu Sans", "Liberation Sans"}},
    Substitution{"Verdana", {"DejaVu Sans", "Liberation Sans"}},
    Substitution{"Segoe UI", {"Liberation Sans", "DejaVu Sans"}},
    Substitution{"Times New Roman", {"Liberation Serif", "Tinos", "Nimbus Roman", "DejaVu Serif"}},
    Substitution{"Courier New", {"Liberation Mono", "Cousine", "Nimbus Mono PS", "DejaVu Sans Mono"}},
    Substitution{"Symbol", {"Standard Symbols PS", "OpenSymbol", "DejaVu Sans"}},
    Substitution{"Wingdings", {"OpenSymbol", "DejaVu Sans"}},
};

bool lessIgnoringCase(const QString& a, const QString& b) {
    const int c = QString::compare(a, b, Qt::CaseInsensitive);
    return c != 0 ? c < 0 : a < b;
}

// Appends `name` to `list` unless the list holds it in any letter case.
void addOnce(QStringList& list, const QString& name) {
    if (!name.isEmpty() && !list.contains(name, Qt::CaseInsensitive)) list << name;
}

}  // namespace

FontSubstitutes::FontSubstitutes() : FontSubstitutes(QFontDatabase::families()) {}

FontSubstitutes::FontSubstitutes(const QStringList& installedFamilies) {
    for (const QString& family : installedFamilies) addOnce(installed_, boxText(family));
}

QStringList FontSubstitutes::windowsNames() {
    QStringList names;
    for (const Substitution& s : kTable) names << QLatin1String(s.windowsName);
    return names;
}

QStringList FontSubstitutes::candidates(const QString& windowsName) {
    QStringList families;
    for (const Substitution& s : kTable) {
        if (windowsName.compare(QLatin1String(s.windowsName), Qt::CaseInsensitive) != 0) continue;
        for (const char* family : s.families) {
            if (family) families << QLatin1String(family);
        }
    }
    return families;
}

QStringList FontSubstitutes::substitutes(const QString& windowsName) const {
    QStringList found;
    for (const QString& family : candidates(windowsName)) {
        if (installed_.contains(family, Qt::CaseInsensitive)) found << family;
    }
    return found;
}

void FontSubstitutes::install() const {
    for (const QString& name : windowsNames()) {
        const QStringList families = substitutes(name);
        if (!families.isEmpty()) QFont::insertSubstitutions(name, families);
    }
}

QStringList FontSubstitutes::boxFamilies() const {
    QStringList list = installed_;
    for (const QString& name : windowsNames()) addOnce(list, name);
    std::sort(list.begin(), list.end(), lessIgnoringCase);
    return list;
}

QString FontSubstitutes::boxText(const QString& family) {
    QString text = family.trimmed();
    if (text.endsWith(QLatin1Char(']'))) {
        const qsizetype open = text.lastIndexOf(QLatin1Char('['));
        if (open > 0) text = text.left(open).trimmed();
    }
    return text;
}

}  // namespace tamix::controls
