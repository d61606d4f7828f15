#include "find/search_matcher.h"

#include "controls/text_search.h"
#include "find/body_text.h"

#include <array>
#include <cstring>
#include <utility>

namespace tamix {

namespace {

// The ASCII characters that some non-ASCII code point folds, lowers or
// uppers to (as the Kelvin sign folds to "k"): ignoring case, they may be
// matched by text that holds none of their bytes.
std::array<bool, 128> reachedFromOutsideAscii() {
    std::array<bool, 128> reached{};
    for (char32_t cp = 0x80; cp <= 0x10FFFF; ++cp) {
        for (char32_t mapped : {QChar::toCaseFolded(cp), QChar::toLower(cp), QChar::toUpper(cp)}) {
            if (mapped < 0x80) reached[mapped] = true;
        }
    }
    return reached;
}

bool isAsciiAlnum(char16_t c) {
    return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

}  // namespace

SearchMatcher::SearchMatcher(QString what, int flags) : what_(std::move(what)), flags_(flags) {
    const bool matchCase = (flags_ & controls::TextSearch::kMatchCase) != 0;
    // Unicode's case tables are fixed: the table is made once per process.
    static const std::array<bool, 128> reached = reachedFromOutsideAscii();
    std::string seen;
    for (QChar ch : std::as_const(what_)) {
        const char16_t c = ch.unicode();
        if (!isAsciiAlnum(c)) continue;
        const char lower = static_cast<char>(matchCase ? c : QChar::toCaseFolded(c));
        if (seen.find(lower) != std::string::npos || (!matchCase && reached[static_cast<unsigned char>(lower)])) {
            continue;
        }
        seen += lower;
        std::string bytes(1, lower);
        const char upper = static_cast<char>(QChar::toUpper(c));
        if (!matchCase && upper != lower) bytes += upper;
        anchors_.push_back(std::move(bytes));
    }
}

bool SearchMatcher::bodyHoldsHit(std::string_view storedBody) const {
    return bodyMayHoldHit(storedBody) && holdsHit(BodyText::of(storedBody));
}

bool SearchMatcher::bodyMayHoldHit(std::string_view body) const {
    if (what_.isEmpty()) return false;
    std::vector<const std::string*> missing;
    for (const std::string& bytes : anchors_) {
        bool literal = false;
        for (char b : bytes) literal = literal || std::memchr(body.data(), b, body.size()) != nullptr;
        if (!literal) missing.push_back(&bytes);
    }
    if (missing.empty()) return true;
    // The escapes of the missing characters' values, which any code page
    // gives as those characters; \bin data is not looked into.
    auto found = [&](int value) {
        for (auto it = missing.begin(); it != missing.end(); ++it) {
            if (value >= 0 && value < 128 && (*it)->find(static_cast<char>(value)) != std::string::npos) {
                missing.erase(it);
                return;
            }
        }
    };
    const std::size_t n = body.size();
    for (std::size_t i = 0; i + 1 < n && !missing.empty(); ++i) {
        const void* at = std::memchr(body.data() + i, '\\', n - i);
        if (!at) break;
        i = static_cast<std::size_t>(static_cast<const char*>(at) - body.data());
        if (i + 1 >= n) break;
        const char next = body[i + 1];
        if (next == '\'' && i + 3 < n) {
            const int hi = hexValue(body[i + 2]), lo = hexValue(body[i + 3]);
            if (hi >= 0 && lo >= 0) found(hi * 16 + lo);
        } else if (next == 'u') {
            std::size_t j = i + 2;
            const bool negative = j < n && body[j] == '-';
            if (negative) ++j;
            long value = 0;
            std::size_t digits = 0;
            for (; j < n && body[j] >= '0' && body[j] <= '9' && digits < 10; ++j, ++digits) value = value * 10 + (body[j] - '0');
            if (digits > 0) found(static_cast<int>(negative ? 65536 - value : value));
        } else if (next == 'b' && body.substr(i + 1, 3) == "bin") {
            return true;
        } else if (next == '\\') {
            ++i;  // an escaped backslash starts no escape
        }
    }
    return missing.empty();
}

bool SearchMatcher::holdsHit(const QString& text) const {
    return controls::TextSearch::find(text, what_, 0, -1, flags_) >= 0;
}

std::vector<int> SearchMatcher::hits(const QString& text) const {
    std::vector<int> out;
    for (int from = 0;;) {
        const int hit = controls::TextSearch::find(text, what_, from, -1, flags_);
        if (hit < 0) return out;
        out.push_back(hit);
        from = hit + 1;
    }
}

}  // namespace tamix
