#include "transfer/note_export.h"

#include "rtf/editor_text.h"
#include "storage/tamix_error.h"

#include <QSaveFile>

#include <algorithm>
#include <cctype>

namespace tamix {

namespace {

bool endsWith(const std::string& name, const char* suffix) {
    const std::string s(suffix);
    if (name.size() < s.size()) return false;
    return std::equal(s.begin(), s.end(), name.end() - static_cast<std::ptrdiff_t>(s.size()),
                      [](char a, char b) { return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b)); });
}

}  // namespace

NoteExport::Kind NoteExport::KindOf(const std::string& name) {
    return endsWith(name, ".txt") ? Kind::Text : Kind::Rtf;
}

std::string NoteExport::TargetName(const std::string& name, Kind kind) {
    const char* suffix = kind == Kind::Rtf ? ".rtf" : ".txt";
    return endsWith(name, suffix) ? name : name + suffix;
}

std::string NoteExport::TextBytes(QString text) {
    text.replace(QLatin1Char('\v'), QLatin1String("\r\n"));
    text.remove(QChar::ObjectReplacementCharacter);
    return text.toStdString();
}

std::string NoteExport::TextOfRtf(std::string_view rtf) { return TextBytes(rtf::EditorText::fromRtf(rtf)); }

void NoteExport::Write(const std::string& path, const std::string& bytes) {
    QSaveFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::WriteOnly))
        throw TamixError(kErrPathAccess, "Path/File access error: " + path);
    if (file.write(bytes.data(), static_cast<qint64>(bytes.size())) != static_cast<qint64>(bytes.size()) ||
        !file.commit())
        throw TamixError(kErrDeviceIo, "Device I/O error writing " + path);
}

}  // namespace tamix
