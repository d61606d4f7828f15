#include "rtf/text_collector.h"

namespace tamix::rtf {

void TextCollector::addBytes(std::string_view bytes) {
    if (highSurrogate_ != 0) {
        highSurrogate_ = 0;
        CodePage::appendUtf8(0xFFFD, text_);
    }
    for (unsigned char c : bytes) {
        if (c >= 0x20 || c == '\t') bytes_.push_back(char(c));
    }
}

void TextCollector::decodeBytes(int codePage) {
    if (bytes_.empty()) return;
    codePage_.decode(bytes_, codePage, text_);
    bytes_.clear();
}

void TextCollector::dropLoneSurrogate(int codePage) {
    if (highSurrogate_ == 0) return;
    decodeBytes(codePage);
    highSurrogate_ = 0;
    CodePage::appendUtf8(0xFFFD, text_);
}

void TextCollector::addCodePoint(char32_t cp, int codePage) {
    dropLoneSurrogate(codePage);
    decodeBytes(codePage);
    CodePage::appendUtf8(cp, text_);
}

void TextCollector::addUnicode(int value, int codePage) {
    char32_t cp = value < 0 ? char32_t(value + 65536) : char32_t(value);
    if (cp >= 0xD800 && cp <= 0xDBFF) {
        dropLoneSurrogate(codePage);
        decodeBytes(codePage);
        highSurrogate_ = char16_t(cp);
        return;
    }
    if (cp >= 0xDC00 && cp <= 0xDFFF) {
        if (highSurrogate_ == 0) {
            addCodePoint(0xFFFD, codePage);
            return;
        }
        cp = 0x10000 + ((char32_t(highSurrogate_) - 0xD800) << 10) + (cp - 0xDC00);
        highSurrogate_ = 0;
        CodePage::appendUtf8(cp, text_);
        return;
    }
    if (cp < 0x20 && cp != '\t') return;  // control characters are never text
    addCodePoint(cp, codePage);
}

void TextCollector::flush(int codePage, const CharFormat& format) {
    dropLoneSurrogate(codePage);
    decodeBytes(codePage);
    if (text_.empty()) return;
    paragraph_.append(Run{format, std::move(text_)});
    text_.clear();
}

void TextCollector::endParagraph(const ParaFormat& format, const CharFormat& mark) {
    paragraph_.format = format;
    paragraph_.markFormat = mark;
    document_.paragraphs.push_back(std::move(paragraph_));
    paragraph_ = Paragraph{};
    document_.endsWithParagraphMark = true;
}

RtfDocument TextCollector::finish(const ParaFormat& format, const CharFormat& mark) {
    if (!paragraph_.runs.empty()) {
        paragraph_.format = format;
        paragraph_.markFormat = mark;
        document_.paragraphs.push_back(std::move(paragraph_));
        document_.endsWithParagraphMark = false;
    }
    paragraph_ = Paragraph{};
    return std::move(document_);
}

}  // namespace tamix::rtf
