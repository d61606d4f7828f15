#include "find/body_text.h"

#include "rtf/code_page.h"
#include "rtf/rtf_document.h"
#include "rtf/rtf_reader.h"
#include "rtf/rtf_vocabulary.h"
#include "tree/scale_words.h"

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

namespace tamix {

namespace {

constexpr char16_t kObject = 0xFFFC;

// Appends a run's text as the editor holds it after inserting it.
void appendRunText(const std::string& utf8, QString& out) {
    const QString text = QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = text.at(i).unicode();
        switch (c) {
        case u'\r':
            if (i + 1 < n && text.at(i + 1) == QLatin1Char('\n')) ++i;
            out += QLatin1String("\r\n");
            break;
        case u'\n':
        case 0x2029:  // paragraph separator
        case 0xFDD0:  // the editor's frame markers
        case 0xFDD1:
            out += QLatin1String("\r\n");
            break;
        case 0x2028:
            out += QLatin1Char('\v');
            break;
        case kObject:
            break;
        default:
            out += QChar(c);
        }
    }
}

// Control words that change nothing but formatting: the text of a body using
// only these (and \par, \tab, \line, \u, \' escapes in Windows-1252) is
// read by the quick path.
bool formattingOnly(std::string_view w) {
    static constexpr std::string_view kWords[] = {
        "rtf", "ansi", "deff", "deflang", "deflangfe", "deftab", "adeflang", "viewkind", "pard", "plain", "f",
        "fs", "b", "i", "ul", "ulnone", "strike", "protect", "cf", "cb", "highlight", "lang", "langfe",
        "langnp", "langfenp", "ql", "qr", "qc", "qj", "fi", "li", "ri", "sb", "sa", "sl", "slmult", "tx",
        "nowidctlpar", "widctlpar", "ltrpar", "ltrch", "loch", "hich", "dbch", "kerning", "noproof"};
    static const std::vector<std::string_view> sorted = [] {
        std::vector<std::string_view> words(std::begin(kWords), std::end(kWords));
        std::sort(words.begin(), words.end());
        return words;
    }();
    return std::binary_search(sorted.begin(), sorted.end(), w);
}

bool isLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

std::optional<QString> BodyText::quick(std::string_view rtf) {
    if (!rtf.starts_with("{\\rtf")) return std::nullopt;
    const std::size_t n = rtf.size();
    // The text is never longer than the bytes: every construct read gives
    // at most one character per byte.
    QString out(static_cast<qsizetype>(n), Qt::Uninitialized);
    char16_t* const text = reinterpret_cast<char16_t*>(out.data());
    std::size_t length = 0;           // characters written to `text`
    std::size_t paragraphStart = 0;   // where the paragraph being read starts
    bool ansi = true;           // \' escapes and high bytes are Windows-1252
    bool escaped = false;       // the body holds \' escapes or high bytes
    int depth = 0;
    char16_t high = 0;          // a \u high surrogate waiting for its low half
    // Every paragraph mark writes a break; one that ends the text without a
    // paragraph after it is taken back at the end.
    auto closeParagraph = [&] {
        text[length++] = u'\r';
        text[length++] = u'\n';
        paragraphStart = length;
    };
    auto textChar = [&](char16_t c) -> bool {
        if (high != 0) return false;
        text[length++] = c;
        return true;
    };
    // Skips the group opened at `i` (its "{" already read); false when the
    // body ends inside it. Checks the font table's charsets on the way.
    auto skipGroup = [&](std::size_t& i) {
        int inner = 1;
        for (; i < n && inner > 0; ++i) {
            const char c = rtf[i];
            if (c == '{') ++inner;
            else if (c == '}') --inner;
            else if (c == '\\' && i + 1 < n) {
                std::size_t j = i + 1;
                if (!isLetter(rtf[j])) { i = j; continue; }
                while (j < n && isLetter(rtf[j])) ++j;
                const std::string_view word = rtf.substr(i + 1, j - i - 1);
                std::size_t k = j;
                if (k < n && rtf[k] == '-') ++k;
                while (k < n && isDigit(rtf[k])) ++k;
                if (word == "bin") return false;  // its raw bytes may hold braces
                if (word == "cpg" || (word == "fcharset" && rtf.substr(j, k - j) != "0")) ansi = false;
                i = k - 1;
            }
        }
        return inner == 0;
    };
    for (std::size_t i = 0; i < n;) {
        const char c = rtf[i];
        if (c == '{') {
            ++i;
            if (++depth > 100) return std::nullopt;
            if (i < n && rtf[i] == '\\') {
                std::size_t j = i + 1;
                const bool starred = j < n && rtf[j] == '*';
                if (starred) {
                    if (j + 1 >= n || rtf[j + 1] != '\\') return std::nullopt;
                    j += 2;
                }
                std::size_t e = j;
                while (e < n && isLetter(rtf[e])) ++e;
                const std::string_view word = rtf.substr(j, e - j);
                const bool table = word == "fonttbl" || word == "colortbl";
                if (table || rtf::isSkippedDestination(word)) {
                    if (!skipGroup(i)) return std::nullopt;
                    --depth;
                    continue;
                }
                if (starred || rtf::startsDestination(word)) return std::nullopt;
            }
            continue;
        }
        if (c == '}') {
            ++i;
            if (--depth == 0) {
                for (; i < n; ++i) {
                    if (rtf[i] != '\r' && rtf[i] != '\n' && rtf[i] != ' ' && rtf[i] != '\0') return std::nullopt;
                }
            }
            if (depth < 0) return std::nullopt;
            continue;
        }
        if (c == '\r' || c == '\n') {
            ++i;
            continue;
        }
        if (c >= 0x20 && c < 0x7F && c != '\\' && c != '{' && c != '}') {
            // A stretch of plain ASCII text, copied in one go.
            if (high != 0) return std::nullopt;
            const char* from = rtf.data() + i;
            const char* const end = rtf.data() + n;
            char16_t* to = text + length;  // locals, so the loop keeps them in registers
            for (; from != end; ++from) {
                const char b = *from;
                if (b < 0x20 || b >= 0x7F || b == '\\' || b == '{' || b == '}') break;
                *to++ = static_cast<char16_t>(b);
            }
            length = static_cast<std::size_t>(to - text);
            i = static_cast<std::size_t>(from - rtf.data());
            continue;
        }
        if (c != '\\') {
            const unsigned char byte = static_cast<unsigned char>(c);
            if ((byte < 0x20 && c != '\t') || byte == 0x7F) return std::nullopt;
            if (byte >= 0x80) {
                escaped = true;
                const char32_t cp = rtf::CodePage::decode1252(byte);
                if (cp < 0xA0) return std::nullopt;
                if (!textChar(static_cast<char16_t>(cp))) return std::nullopt;
            } else if (!textChar(static_cast<char16_t>(byte))) {
                return std::nullopt;
            }
            ++i;
            continue;
        }
        // A control symbol or word.
        if (i + 1 >= n) return std::nullopt;
        const char s = rtf[i + 1];
        if (s == '\\' || s == '{' || s == '}') {
            if (!textChar(static_cast<char16_t>(s))) return std::nullopt;
            i += 2;
            continue;
        }
        if (s == '\'') {
            if (i + 3 >= n) return std::nullopt;
            const int hi = QChar::fromLatin1(rtf[i + 2]).isDigit() ? rtf[i + 2] - '0' : (rtf[i + 2] | 0x20) - 'a' + 10;
            const int lo = QChar::fromLatin1(rtf[i + 3]).isDigit() ? rtf[i + 3] - '0' : (rtf[i + 3] | 0x20) - 'a' + 10;
            if (hi < 0 || hi > 15 || lo < 0 || lo > 15) return std::nullopt;
            const char32_t cp = rtf::CodePage::decode1252(static_cast<unsigned char>(hi * 16 + lo));
            escaped = true;
            if (cp < 0x20 || (cp >= 0x7F && cp < 0xA0)) return std::nullopt;
            if (!textChar(static_cast<char16_t>(cp))) return std::nullopt;
            i += 4;
            continue;
        }
        if (!isLetter(s)) return std::nullopt;
        std::size_t j = i + 1;
        while (j < n && isLetter(rtf[j])) ++j;
        const std::string_view word = rtf.substr(i + 1, j - i - 1);
        std::size_t k = j;
        if (k + 1 < n && rtf[k] == '-' && isDigit(rtf[k + 1])) ++k;  // a minus only before digits
        while (k < n && isDigit(rtf[k])) ++k;
        const std::string_view param = rtf.substr(j, k - j);
        if (k < n && rtf[k] == ' ') ++k;
        i = k;
        if (word.size() > 32 || param.size() > 10) return std::nullopt;
        if (word == "par" && param.empty()) {
            if (high != 0) return std::nullopt;
            closeParagraph();
        } else if (word == "tab" && param.empty()) {
            if (!textChar(u'\t')) return std::nullopt;
        } else if (word == "line" && param.empty()) {
            if (!textChar(u'\v')) return std::nullopt;
        } else if (word == "u" && !param.empty()) {
            // \uN and its one replacement character (\uc1, as written here).
            long long value = 0;
            for (char d : param.substr(param[0] == '-' ? 1 : 0)) value = value * 10 + (d - '0');
            if (param[0] == '-') value = 65536 - value;
            if (value < 0x20 || (value >= 0x7F && value < 0xA0) || value > 0xFFFF || value == 0x2028 || value == 0x2029 || value == 0xFFFC ||
                value == 0xFDD0 || value == 0xFDD1)
                return std::nullopt;
            if (i >= n || rtf[i] == '\\' || rtf[i] == '{' || rtf[i] == '}' || rtf[i] == '\r' || rtf[i] == '\n')
                return std::nullopt;
            ++i;
            const auto unit = static_cast<char16_t>(value);
            if (QChar::isHighSurrogate(unit)) {
                if (high != 0) return std::nullopt;
                high = unit;
            } else if (QChar::isLowSurrogate(unit)) {
                if (high == 0) return std::nullopt;
                text[length++] = high;
                text[length++] = unit;
                high = 0;
            } else if (!textChar(unit)) {
                return std::nullopt;
            }
        } else if (word == "uc") {
            if (param != "1") return std::nullopt;
        } else if (word == "ansicpg") {
            if (param != "1252") return std::nullopt;
        } else if (!formattingOnly(word)) {
            return std::nullopt;
        }
    }
    if (depth != 0 || high != 0 || (escaped && !ansi)) return std::nullopt;
    if (length == paragraphStart && length >= 2) length -= 2;
    out.truncate(static_cast<qsizetype>(length));
    return out;
}

QString BodyText::of(std::string_view storedBody) {
    if (storedBody.find("scalex") == std::string_view::npos) {
        if (std::optional<QString> text = quick(storedBody)) return *std::move(text);
    }
    // Only bodies holding scale words are copied to have them removed.
    const bool scaled = storedBody.find("scalex") != std::string_view::npos;
    const std::string prepared = scaled ? ScaleWords::Remove(std::string(storedBody)) : std::string();
    rtf::RtfReader reader;
    const rtf::RtfDocument document = reader.read(scaled ? std::string_view(prepared) : storedBody);
    QString out;
    out.reserve(static_cast<qsizetype>(storedBody.size()));
    bool first = true;
    for (const rtf::Paragraph& paragraph : document.paragraphs) {
        if (!first) out += QLatin1String("\r\n");
        first = false;
        for (const rtf::Run& run : paragraph.runs) {
            if (run.isText()) {
                appendRunText(run.text(), out);
            } else {
                out += QChar(kObject);
            }
        }
    }
    return out;
}

}  // namespace tamix
