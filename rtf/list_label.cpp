#include "rtf/list_label.h"

#include <cctype>

namespace tamix::rtf {

namespace {

bool isAlnum(char c) { return std::isalnum(static_cast<unsigned char>(c)) != 0; }

int romanValue(char c) {
    switch (std::tolower(static_cast<unsigned char>(c))) {
    case 'i': return 1;
    case 'v': return 5;
    case 'x': return 10;
    case 'l': return 50;
    case 'c': return 100;
    case 'd': return 500;
    case 'm': return 1000;
    default: return 0;
    }
}

// The value of a roman numeral, 0 when `core` is none (mixed case counts as none).
int romanNumber(std::string_view core) {
    if (core.empty() || core.size() > 15) return 0;
    const bool lower = std::islower(static_cast<unsigned char>(core[0])) != 0;
    int total = 0;
    for (std::size_t i = 0; i < core.size(); ++i) {
        const int v = romanValue(core[i]);
        if (v == 0 || (std::islower(static_cast<unsigned char>(core[i])) != 0) != lower) return 0;
        const int next = i + 1 < core.size() ? romanValue(core[i + 1]) : 0;
        total += v < next ? -v : v;
    }
    // Only the canonical spelling counts, so "vx" or "iiii" is no numeral.
    return ListLabel::Number(lower ? ListStyle::LowerRoman : ListStyle::UpperRoman, total) == core ? total : 0;
}

std::string affix(std::string_view text) {
    std::string out;
    for (char c : text) {
        if (out.size() >= ListLabel::kMaxAffix) break;
        if (c >= 0x20 && c < 0x7F) out += c;  // signs beyond ASCII cannot be told apart here
    }
    return out;
}

}  // namespace

ListLabel ListLabel::Parse(std::string_view text, ListStyle previous, int previousNumber) {
    ListLabel label;
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) return label;
    const std::size_t last = text.find_last_not_of(" \t");
    text = text.substr(first, last - first + 1);
    std::size_t start = 0;
    while (start < text.size() && !isAlnum(text[start])) ++start;
    std::size_t end = start;
    while (end < text.size() && isAlnum(text[end])) ++end;
    const std::string_view core = text.substr(start, end - start);
    if (core.empty() || core.size() > 9) {
        label.style = ListStyle::Bullet;
        return label;
    }
    label.before = affix(text.substr(0, start));
    label.after = affix(text.substr(end));
    const bool digits = core.find_first_not_of("0123456789") == std::string_view::npos;
    const bool letters = core.find_first_not_of("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ") ==
                         std::string_view::npos;
    const bool lower = std::islower(static_cast<unsigned char>(core[0])) != 0;
    if (digits) {
        label.style = ListStyle::Decimal;
        label.number = std::stoi(std::string(core));
        return label;
    }
    const int roman = romanNumber(core);
    const bool letter = letters && core.size() <= 2 && core.find_first_not_of(core[0]) == std::string_view::npos;
    const int letterNumber = letter ? (std::tolower(static_cast<unsigned char>(core[0])) - 'a' + 1) + 26 * int(core.size() - 1) : 0;
    const ListStyle letterStyle = lower ? ListStyle::LowerLetter : ListStyle::UpperLetter;
    const ListStyle romanStyle = lower ? ListStyle::LowerRoman : ListStyle::UpperRoman;
    bool isRoman = roman > 0;
    if (core.size() == 1 && roman > 0) {
        // A lone letter is a numeral when it continues a roman list, or is
        // "i" that does not continue a list of letters; else a letter.
        const bool continuesRoman = previous == romanStyle && roman == previousNumber + 1;
        const bool continuesLetters = previous == letterStyle && letterNumber == previousNumber + 1;
        isRoman = continuesRoman || (roman == 1 && !continuesLetters);
    }
    if (isRoman) {
        label.style = romanStyle;
        label.number = roman;
    } else if (letter) {
        label.style = letterStyle;
        label.number = letterNumber;
    } else {
        label.style = ListStyle::Bullet;
        label.before.clear();
        label.after.clear();
    }
    return label;
}

std::string ListLabel::Number(ListStyle style, int number) {
    const bool lower = style == ListStyle::LowerLetter || style == ListStyle::LowerRoman;
    std::string out;
    if ((style == ListStyle::LowerLetter || style == ListStyle::UpperLetter) && number >= 1 && number <= 52) {
        out.assign(std::size_t((number - 1) / 26 + 1), char((lower ? 'a' : 'A') + (number - 1) % 26));
    } else if ((style == ListStyle::LowerRoman || style == ListStyle::UpperRoman) && number >= 1 && number <= 3999) {
        static constexpr struct { int value; const char* text; } kRoman[] = {
            {1000, "m"}, {900, "cm"}, {500, "d"}, {400, "cd"}, {100, "c"}, {90, "xc"}, {50, "l"},
            {40, "xl"},  {10, "x"},   {9, "ix"},  {5, "v"},    {4, "iv"},  {1, "i"}};
        for (const auto& r : kRoman) {
            for (; number >= r.value; number -= r.value) out += r.text;
        }
        if (!lower) {
            for (char& c : out) c = char(std::toupper(static_cast<unsigned char>(c)));
        }
    } else {
        out = std::to_string(number);
    }
    return out;
}

}  // namespace tamix::rtf
