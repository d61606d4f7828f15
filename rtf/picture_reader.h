#pragma once

#include <string_view>

#include "rtf/rtf_document.h"

namespace tamix::rtf {

// Collects one {\pict} group: its control words, and its data from hex
// digits or \bin. The last format word read decides the format; words the
// model has no field for are kept verbatim (up to about kMaxExtra bytes) so
// that writing gives them back.
class PictureReader {
public:
    static constexpr std::size_t kMaxExtra = 4096;

    // Forgets any picture being read and starts a new one.
    void start();
    void word(std::string_view word, bool hasParam, int param);
    // Hex digits; anything else (blanks, line ends) is ignored.
    void hex(std::string_view text);
    void binary(std::string_view data) { picture_.data.append(data); }
    // The picture read; a lone last hex digit is dropped. Starts a new one.
    Picture take();

private:
    Picture picture_;
    int nibble_ = -1;  // a high hex digit waiting for its low digit, or -1
};

}  // namespace tamix::rtf
