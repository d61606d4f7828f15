#include "rtf/rtf_lexer.h"

#include <cstdint>
#include <limits>

namespace tamix::rtf {

namespace {

bool isLetter(unsigned char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool isDigit(unsigned char c) { return c >= '0' && c <= '9'; }

int hexValue(unsigned char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

}  // namespace

RtfToken RtfLexer::next() {
    const std::size_t size = input_.size();
    while (pos_ < size && (input_[pos_] == '\r' || input_[pos_] == '\n')) ++pos_;
    RtfToken token;
    token.offset = pos_;
    if (pos_ >= size) return token;

    const char c = input_[pos_];
    if (c == '{') {
        ++pos_;
        token.kind = RtfToken::Kind::GroupStart;
        return token;
    }
    if (c == '}') {
        ++pos_;
        token.kind = RtfToken::Kind::GroupEnd;
        return token;
    }
    if (c == '\\') return controlWord(pos_);

    std::size_t end = pos_;
    while (end < size) {
        const char d = input_[end];
        if (d == '\\' || d == '{' || d == '}' || d == '\r' || d == '\n') break;
        ++end;
    }
    token.kind = RtfToken::Kind::Text;
    token.text = input_.substr(pos_, end - pos_);
    pos_ = end;
    return token;
}

RtfToken RtfLexer::controlWord(std::size_t start) {
    const std::size_t size = input_.size();
    RtfToken token;
    token.offset = start;
    std::size_t p = start + 1;
    if (p >= size) {
        pos_ = size;
        return token;  // a lone backslash at the end: nothing more to read
    }
    const unsigned char c = static_cast<unsigned char>(input_[p]);
    if (!isLetter(c)) {
        if (c == '\r' || c == '\n') {
            token.kind = RtfToken::Kind::ControlWord;
            token.word = "par";
            pos_ = p + 1;
            return token;
        }
        if (c == '\'') {
            token.kind = RtfToken::Kind::HexByte;
            int high = p + 1 < size ? hexValue(static_cast<unsigned char>(input_[p + 1])) : -1;
            int low = p + 2 < size ? hexValue(static_cast<unsigned char>(input_[p + 2])) : -1;
            if (high >= 0 && low >= 0) {
                token.param = high * 16 + low;
                pos_ = p + 3;
            } else {
                token.param = -1;
                pos_ = p + 1 + (high >= 0 ? 1 : 0);
            }
            token.hasParam = true;
            return token;
        }
        token.kind = RtfToken::Kind::ControlSymbol;
        token.word = input_.substr(p, 1);
        pos_ = p + 1;
        return token;
    }

    std::size_t q = p;
    while (q < size && isLetter(static_cast<unsigned char>(input_[q]))) ++q;
    token.kind = RtfToken::Kind::ControlWord;
    token.word = input_.substr(p, q - p);

    bool negative = false;
    if (q < size && input_[q] == '-' && q + 1 < size && isDigit(static_cast<unsigned char>(input_[q + 1]))) {
        negative = true;
        ++q;
    }
    if (q < size && isDigit(static_cast<unsigned char>(input_[q]))) {
        std::int64_t value = 0;
        while (q < size && isDigit(static_cast<unsigned char>(input_[q]))) {
            if (value <= std::numeric_limits<std::int32_t>::max()) {
                value = value * 10 + (input_[q] - '0');
            } else {
                token.truncated = true;
            }
            ++q;
        }
        if (negative) value = -value;
        if (value > std::numeric_limits<std::int32_t>::max()) {
            value = std::numeric_limits<std::int32_t>::max();
            token.truncated = true;
        } else if (value < std::numeric_limits<std::int32_t>::min()) {
            value = std::numeric_limits<std::int32_t>::min();
            token.truncated = true;
        }
        token.hasParam = true;
        token.param = static_cast<int>(value);
    }
    if (q < size && input_[q] == ' ') ++q;  // the delimiting space belongs to the word
    pos_ = q;

    if (token.word == "bin") {
        token.kind = RtfToken::Kind::Binary;
        std::size_t length = token.hasParam && token.param > 0 ? std::size_t(token.param) : 0;
        if (length > size - pos_) {
            length = size - pos_;
            token.truncated = true;
        }
        token.text = input_.substr(pos_, length);
        pos_ += length;
    }
    return token;
}

}  // namespace tamix::rtf
