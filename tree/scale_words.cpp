#include "tree/scale_words.h"

namespace tamix {

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

std::size_t ScaleWords::wordLength(const std::string& rtf, std::size_t at, const std::string& word,
                                   std::size_t* digits) {
    if (rtf.compare(at, word.size(), word) != 0) return 0;
    std::size_t i = at + word.size();
    if (i < rtf.size() && rtf[i] == '-') ++i;
    const std::size_t firstDigit = i;
    while (i < rtf.size() && isDigit(rtf[i])) ++i;
    if (i == firstDigit) return 0;
    if (digits) *digits = i - firstDigit + (rtf[firstDigit - 1] == '-' ? 1 : 0);
    if (i < rtf.size() && rtf[i] == ' ') ++i;  // the delimiter belongs to the word
    return i - at;
}

void ScaleWords::removeAll(std::string& rtf, const std::string& xWord, const std::string& yWord) {
    std::size_t from = 0;
    for (;;) {
        const std::size_t p = rtf.find(xWord, from);
        if (p == std::string::npos) return;
        std::size_t xDigits = 0;
        const std::size_t xLength = wordLength(rtf, p, xWord, &xDigits);
        if (xLength == 0) {
            from = p + 1;  // not a scale word: leave it
            continue;
        }
        std::size_t yDigits = 0;
        const std::size_t yLength = wordLength(rtf, p + xLength, yWord, &yDigits);
        const bool twoDigitPair = xDigits == 2 && yDigits == 2 &&
                                  xLength == xWord.size() + 2 && yLength >= yWord.size() + 2;
        if (twoDigitPair)
            rtf.erase(p, xWord.size() + 2 + yWord.size() + 2);  // the classic 24 characters
        else
            rtf.erase(p, xLength + yLength);
        from = p;
    }
}

std::string ScaleWords::Remove(std::string rtf) {
    removeAll(rtf, "\\objscalex", "\\objscaley");
    removeAll(rtf, "\\picscalex", "\\picscaley");
    return rtf;
}

}  // namespace tamix
