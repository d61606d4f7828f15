#pragma once

#include <string_view>

namespace tamix::rtf {

// Destinations whose text is never document text, though they may lack "\*"
// (style sheet, document information, headers, footnotes, list labels, field
// instructions, object data ...). A group they open is skipped whole.
bool isSkippedDestination(std::string_view word);

// Words that start a destination of their own when they open a group: the
// skipped ones and those the reader reads in a destination state of its own.
bool startsDestination(std::string_view word);

// The character a symbol word stands for (\tab, \line as U+2028, \emdash,
// \lquote ...), or 0 when the word is no such symbol.
char32_t specialCharacter(std::string_view word);

}  // namespace tamix::rtf
