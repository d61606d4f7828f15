#include "transfer/document_import.h"

#include "rtf/code_page.h"
#include "rtf/rtf_reader.h"
#include "rtf/rtf_writer.h"
#include "storage/c_node.h"
#include "storage/code_page_1252.h"
#include "storage/node_key.h"
#include "storage/tamix_error.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <QStringList>

#include <cmath>

namespace tamix {

namespace {

QByteArray readDocument(const std::string& path) {
    QFile file(QString::fromStdString(path));
    if (!file.exists()) throw TamixError(kErrFileNotFound, "The document " + path + " was not found");
    if (!file.open(QIODevice::ReadOnly)) throw TamixError(kErrPathAccess, "The document " + path + " cannot be read");
    if (file.size() > DocumentImport::kMaxBytes)
        throw TamixError(kErrOutOfRange, "The document " + path + " is too large to import");
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw TamixError(kErrDeviceIo, "Device I/O error reading " + path);
    return bytes;
}

QString decodeText(QByteArray bytes) {
    if (bytes.startsWith("\xEF\xBB\xBF")) bytes.remove(0, 3);
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8.decode(bytes);
    if (!utf8.hasError()) return text;
    text.clear();
    for (char byte : bytes) text += QChar(static_cast<char16_t>(rtf::CodePage::decode1252(static_cast<unsigned char>(byte))));
    return text;
}

// RTF text for `text`: braces and backslashes escaped, Windows-1252
// characters as \'hh, the rest as \uN?.
void appendEscaped(const QString& text, std::string& out) {
    for (QChar c : text) {
        const char16_t u = c.unicode();
        if (u == '\\' || u == '{' || u == '}') {
            out += '\\';
            out += static_cast<char>(u);
        } else if (u == '\t') {
            out += "\\tab ";
        } else if (u >= 0x20 && u < 0x80) {
            out += static_cast<char>(u);
        } else if (const int b = c.isSurrogate() ? -1 : rtf::CodePage::encode1252(u); b >= 0x80) {
            static const char* hex = "0123456789abcdef";
            out += "\\'";
            out += hex[b >> 4];
            out += hex[b & 15];
        } else if (u >= 0x20) {
            out += "\\u" + std::to_string(static_cast<std::int16_t>(u)) + "?";
        }
    }
}

std::string plainTextRtf(const QString& text, const QString& fontName, double fontSize) {
    std::string rtf = "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fnil ";
    appendEscaped(fontName, rtf);
    rtf += ";}}\\pard\\plain\\f0\\fs" + std::to_string(std::lround(fontSize * 2)) + " ";
    QString normal = text;
    normal.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    normal.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    if (normal.endsWith(QLatin1Char('\n'))) normal.chop(1);
    const QStringList lines = normal.split(QLatin1Char('\n'));
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (i > 0) rtf += "\\par\n";
        appendEscaped(lines[i], rtf);
    }
    return rtf + "}";
}

}  // namespace

std::string DocumentImport::Title(const std::string& path) {
    const QString name = QFileInfo(QString::fromStdString(path)).fileName();
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    QString title = dot > 0 ? name.left(dot) : name;
    title.truncate(kMaxTitle);
    const std::string utf8 = title.toStdString();
    try {
        CodePage1252::fromUtf8(utf8);
    } catch (const TamixError& e) {
        throw TamixError(kErrCodePage, "The name \"" + utf8 + "\" cannot be a note's title: " + e.what());
    }
    return utf8;
}

std::string DocumentImport::Body(const std::string& path, const QString& fontName, double fontSize) {
    const QByteArray bytes = readDocument(path);
    const std::string_view view(bytes.constData(), static_cast<std::size_t>(bytes.size()));
    std::string rtf;
    if (bytes.startsWith("{\\rtf")) {
        rtf.assign(view);
    } else if (QString::fromStdString(path).endsWith(QLatin1String(".rtf"), Qt::CaseInsensitive)) {
        throw TamixError(kErrInvalidCall, "The document " + path + " is not an RTF document");
    } else if (bytes.contains('\0')) {
        throw TamixError(kErrInvalidCall, "The document " + path + " is neither RTF nor plain text");
    } else {
        rtf = plainTextRtf(decodeText(bytes), fontName, fontSize);
    }
    return rtf::RtfWriter::write(rtf::RtfReader().read(rtf));
}

std::string DocumentImport::Run(cNode& main, const std::string& path, const std::string& parentKey,
                                std::int32_t& maxKeyNumber, const QString& fontName, double fontSize) {
    const std::string title = Title(path);
    const std::string body = Body(path, fontName, fontSize);
    if (maxKeyNumber == INT32_MAX) throw TamixError(kErrOverflow, "Overflow: the database has no keys left");
    const std::string key = NodeKey::Format(maxKeyNumber + 1);
    main.BeginBatch();
    try {
        main.ClearNode();
        main.Key(key);
        main.Parent(parentKey);
        main.NodeText(title);
        main.SaveNewNode();
        main.RTFData(body);
        main.SaveNode();
        main.EndBatch();
    } catch (...) {
        if (main.InBatch()) {
            const std::string file = main.chunks().cFileName();
            main.CloseFile();
            main.OpenFile(file);
        }
        throw;
    }
    ++maxKeyNumber;
    return key;
}

}  // namespace tamix
