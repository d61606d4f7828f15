#pragma once

#include <string>
#include <string_view>

#include "rtf/rtf_document.h"

namespace tamix::rtf {

// The text of a list paragraph's label ("1.", "(b)", "iv.", a bullet sign),
// both ways: what a label read from a \pntext or \listtext group says about
// its list, and the label a numbered paragraph is written with.
struct ListLabel {
    static constexpr std::size_t kMaxAffix = 8;  // bytes kept of the text around a number

    ListStyle style = ListStyle::None;  // None: the text is no label (empty or only blanks)
    int number = 1;                     // of a numbered label
    std::string before;                 // text before the number, e.g. "("
    std::string after;                  // text after it, e.g. "."

    // Reads a label's bytes (ASCII; any byte from 0x80 stands for a sign
    // that is no letter or digit, such as a bullet). A lone letter is a
    // letter, except "i" (any case) unless it follows "h", and a numeral that
    // follows the previous roman label. A sign with no number is a bullet.
    static ListLabel Parse(std::string_view text, ListStyle previous = ListStyle::None, int previousNumber = 0);

    // The number as the style writes it: 3, "c", "C", "iii", "III"; a
    // number the style cannot write (letters past "zz", roman past 3999,
    // anything below 1) is written in decimal.
    static std::string Number(ListStyle style, int number);
};

}  // namespace tamix::rtf
