#include "storage/node_key.h"

#include "storage/tamix_error.h"

#include <cstdio>

namespace tamix {

std::string NodeKey::Format(std::int32_t number) {
    if (number < 0) throw TamixError(kErrInvalidCall, "A key number cannot be negative");
    char text[16];
    std::snprintf(text, sizeof text, "k%010d", number);
    return text;
}

std::int64_t NodeKey::Number(std::string_view key) {
    if (key.size() <= 1) return 0;
    const std::string_view digits = key.substr(1, 255);
    std::size_t i = 0;
    auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; };
    while (i < digits.size() && blank(digits[i])) ++i;
    bool negative = false;
    if (i < digits.size() && (digits[i] == '-' || digits[i] == '+')) negative = digits[i++] == '-';
    std::int64_t value = 0;
    for (; i < digits.size(); ++i) {
        const char c = digits[i];
        if (blank(c)) continue;
        if (c < '0' || c > '9') break;
        if (value < (std::int64_t{1} << 60)) value = value * 10 + (c - '0');
    }
    return negative ? -value : value;
}

}  // namespace tamix
