#include "rtf/code_page.h"

#include <QStringDecoder>

namespace tamix::rtf {

namespace {

// Code points of bytes 0x80..0x9F in Windows-1252; the rest equal Latin-1.
constexpr char16_t k1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

const char* icuName(int codePage) {
    switch (codePage) {
    case 437: return "IBM437";
    case 850: return "ibm850";
    case 874: return "windows-874";
    case 932: return "windows-31j";
    case 936: return "GBK";
    case 949: return "windows-949";
    case 950: return "Big5";
    case 10000: return "macintosh";
    case 10001: return "windows-31j";  // keeps ASCII as ASCII, unlike plain Shift_JIS
    case 65001: return "UTF-8";
    default: return nullptr;
    }
}

}  // namespace

CodePage::CodePage() = default;
CodePage::~CodePage() = default;

char32_t CodePage::decode1252(unsigned char byte) {
    if (byte >= 0x80 && byte < 0xA0) return k1252High[byte - 0x80];
    return byte;
}

int CodePage::encode1252(char32_t cp) {
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return int(cp);
    for (int i = 0; i < 32; ++i) {
        if (k1252High[i] == cp) return 0x80 + i;
    }
    return -1;
}

void CodePage::appendUtf8(char32_t cp, std::string& out) {
    if (cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) cp = 0xFFFD;
    if (cp < 0x80) {
        out.push_back(char(cp));
    } else if (cp < 0x800) {
        out.push_back(char(0xC0 | (cp >> 6)));
        out.push_back(char(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.push_back(char(0xE0 | (cp >> 12)));
        out.push_back(char(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(char(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(char(0xF0 | (cp >> 18)));
        out.push_back(char(0x80 | ((cp >> 12) & 0x3F)));
        out.push_back(char(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(char(0x80 | (cp & 0x3F)));
    }
}

int CodePage::forCharset(int charset, int documentCodePage) {
    switch (charset) {
    case 0: return 1252;
    case 1: return documentCodePage;
    case 2: return kSymbol;
    case 77: return 10000;
    case 78: return 10001;
    case 128: return 932;
    case 129: return 949;
    case 134: return 936;
    case 136: return 950;
    case 161: return 1253;
    case 162: return 1254;
    case 163: return 1258;
    case 177: return 1255;
    case 178: return 1256;
    case 186: return 1257;
    case 204: return 1251;
    case 222: return 874;
    case 238: return 1250;
    case 254: return 437;
    case 255: return 850;
    default: return 1252;
    }
}

void CodePage::decode(std::string_view bytes, int codePage, std::string& out) {
    if (codePage == kSymbol) {
        for (unsigned char c : bytes) {
            if (c <= 0x20) out.push_back(char(c));
            else appendUtf8(0xF000 + c, out);
        }
        return;
    }
    if (codePage != 1252) {
        auto it = decoders_.find(codePage);
        if (it == decoders_.end()) {
            std::unique_ptr<QStringDecoder> decoder;
            std::string name;
            if (const char* known = icuName(codePage)) {
                name = known;
            } else if (codePage >= 1250 && codePage <= 1258) {
                name = "windows-" + std::to_string(codePage);
            }
            if (!name.empty()) {
                decoder = std::make_unique<QStringDecoder>(name.c_str());
                if (!decoder->isValid()) decoder.reset();
            }
            it = decoders_.emplace(codePage, std::move(decoder)).first;
        }
        if (it->second) {
            QStringDecoder& decoder = *it->second;
            QString text = decoder.decode(QByteArrayView(bytes.data(), qsizetype(bytes.size())));
            decoder.resetState();
            // Some converters substitute a control character (0x1A) for bytes they
            // cannot map; control characters are never text here.
            text.removeIf([](QChar c) { return c.unicode() < 0x20 && c != u'\t'; });
            out += text.toStdString();
            return;
        }
    }
    for (unsigned char c : bytes) {
        if (c < 0x80) {
            out.push_back(char(c));
        } else {
            appendUtf8(decode1252(c), out);
        }
    }
}

}  // namespace tamix::rtf
