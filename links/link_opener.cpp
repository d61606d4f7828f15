#include "links/link_opener.h"

#include <QDesktopServices>
#include <QFileInfo>

namespace tamix {

namespace {

constexpr int kMaxKeyLength = 255;

// A local file the desktop would run rather than show.
bool isProgram(const QFileInfo& file) {
    if (!file.exists()) return false;
    if (file.suffix().compare(QLatin1String("desktop"), Qt::CaseInsensitive) == 0) return true;
    return file.isFile() && file.isExecutable();
}

LinkOpener::Target refused(const QString& message) {
    LinkOpener::Target t;
    t.refusal = message;
    return t;
}

LinkOpener::Target program(const QString& path) {
    return refused(QStringLiteral("The link's target ") + path +
                   QStringLiteral(" is a program. Tamix does not start programs from a note."));
}

}  // namespace

LinkOpener::LinkOpener(Opener open)
    : open_(open ? std::move(open) : Opener([](const QUrl& url) { return QDesktopServices::openUrl(url); })) {}

LinkOpener::Target LinkOpener::Classify(const QString& link) {
    Target t;
    if (link.startsWith(QLatin1String("Note:"))) {
        t.kind = Kind::Note;
        t.noteKey = link.mid(5, kMaxKeyLength);
        return t;
    }
    const QString trimmed = link.trimmed();
    const QUrl url(trimmed, QUrl::StrictMode);
    // A one-letter scheme is a drive letter of a path written on Windows.
    const bool hasScheme = url.isValid() && url.scheme().size() > 1;
    if (hasScheme && !url.isLocalFile()) {
        t.kind = Kind::Address;
        t.url = url;
        return t;
    }
    const QString path = hasScheme ? url.toLocalFile() : trimmed;
    const QFileInfo file(path);
    if (!path.isEmpty() && (hasScheme || file.exists())) {
        if (isProgram(file)) return program(path);
        t.kind = Kind::Address;
        t.url = QUrl::fromLocalFile(file.absoluteFilePath());
        return t;
    }
    t.kind = Kind::Address;
    t.url = QUrl::fromUserInput(trimmed);
    if (!t.url.isValid() || trimmed.isEmpty())
        return refused(QStringLiteral("The link's target ") + link + QStringLiteral(" cannot be opened."));
    return t;
}

}  // namespace tamix
