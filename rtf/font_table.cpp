#include "rtf/font_table.h"

#include <algorithm>

namespace tamix::rtf {

namespace {

constexpr std::size_t kMaxNameBytes = 65536;  // collected per name, whatever the input holds

// UTF-16 is no byte code page; such documents carry their text in \uN anyway.
int byteCodePage(int codePage) { return codePage == 1200 || codePage == 1201 ? 1252 : codePage; }

}  // namespace

void FontTable::begin(int number) {
    finish();
    number_ = number;
}

void FontTable::setCharset(int charset) {
    pending_.font.charset = charset;
    charsetGiven_ = true;
}

void FontTable::setFamily(std::string_view family) {
    pending_.font.family = std::string(family);
}

int FontTable::pendingCodePage() const {
    return byteCodePage(charsetGiven_ ? CodePage::forCharset(pending_.font.charset, documentCodePage_) : documentCodePage_);
}

void FontTable::addNameBytes(std::string_view bytes) {
    for (char c : bytes) {
        if (c == ';') {
            finish();
        } else if (number_ >= 0 && nameBytes_.size() + nameText_.size() < kMaxNameBytes) {
            nameBytes_.push_back(c);
        }
    }
}

void FontTable::addNameUnicode(int value) {
    if (number_ < 0 || nameBytes_.size() + nameText_.size() >= kMaxNameBytes) return;
    const int nameCodePage = pendingCodePage() == CodePage::kSymbol ? 1252 : pendingCodePage();
    codePage_.decode(nameBytes_, nameCodePage, nameText_);
    nameBytes_.clear();
    char32_t cp = value < 0 ? char32_t(value + 65536) : char32_t(value);
    const char16_t high = highSurrogate_;
    highSurrogate_ = 0;
    if (cp >= 0xD800 && cp <= 0xDBFF) {
        highSurrogate_ = char16_t(cp);  // a high half with no low half after it is dropped
        return;
    }
    if (cp >= 0xDC00 && cp <= 0xDFFF && high != 0) cp = 0x10000 + ((char32_t(high) - 0xD800) << 10) + (cp - 0xDC00);
    CodePage::appendUtf8(cp, nameText_);
}

void FontTable::finish() {
    if (number_ < 0) return;
    Entry entry = std::move(pending_);
    entry.codePage = pendingCodePage();
    // Names of symbol fonts are ordinary text, not symbols.
    const int nameCodePage = entry.codePage == CodePage::kSymbol ? 1252 : entry.codePage;
    std::string name = std::move(nameText_);
    codePage_.decode(nameBytes_, nameCodePage, name);
    name.erase(std::remove_if(name.begin(), name.end(), [](char c) { return static_cast<unsigned char>(c) < 0x20; }),
               name.end());
    std::size_t characters = 0, cut = 0;  // UTF-8 continuation bytes do not count as characters
    while (cut < name.size() && (characters < kMaxNameLength || (static_cast<unsigned char>(name[cut]) & 0xC0) == 0x80)) {
        if ((static_cast<unsigned char>(name[cut]) & 0xC0) != 0x80) ++characters;
        ++cut;
    }
    name.resize(cut);
    const auto first = name.find_first_not_of(' ');
    const auto last = name.find_last_not_of(' ');
    entry.font.name = first == std::string::npos ? std::string() : name.substr(first, last - first + 1);
    if (fonts_.size() < kMaxFonts || fonts_.count(number_)) fonts_[number_] = std::move(entry);
    number_ = -1;
    pending_ = Entry{};
    charsetGiven_ = false;
    nameBytes_.clear();
    nameText_.clear();
    highSurrogate_ = 0;
}

const Font* FontTable::find(int number) const {
    auto it = fonts_.find(number);
    return it == fonts_.end() ? nullptr : &it->second.font;
}

int FontTable::codePage(int number) const {
    auto it = fonts_.find(number);
    return byteCodePage(it != fonts_.end() ? it->second.codePage : documentCodePage_);
}

}  // namespace tamix::rtf
