#pragma once

#include <cstddef>
#include <string_view>

#include "rtf/rtf_document.h"

namespace tamix::rtf {

// What the text of a group is for.
enum class Dest {
    Body,          // document text
    Skip,          // dropped: ignorable or non-text destinations
    FontTable,
    ColorTable,
    Picture,
    Object,        // inside {\object}: only \result matters
    ObjectResult,  // {\result} of an object: its first picture is kept
    Bullet,        // {\*\pn}: paragraph numbering properties
    PnText,        // {\pntxtb} or {\pntxta} inside {\*\pn}: the text around the number
    Label,         // {\pntext} or {\listtext}: the label a list paragraph shows
    Upr,           // {\upr}: an ANSI text and its Unicode twin {\*\ud}; only the twin is read
};

// The state a group inherits from its parent and that '}' restores.
struct GroupState {
    static constexpr std::size_t kMaxTabs = 64;  // tab stops kept per paragraph

    // The character formatting of the group's text. A plain value, so a
    // change can be worked out on a copy before the text read so far is
    // stored in the old formatting.
    struct Characters {
        int font = -1;  // font table number; -1 = \deff
        int halfPoints = 24;
        bool bold = false, italic = false, underline = false, strike = false, protect = false;
        int color = 0;      // colour table index; 0 = automatic
        int highlight = 0;  // colour table index; 0 = none
        VerticalAlign vertical = VerticalAlign::Normal;

        // Applies a character formatting word (\plain, \b, \i, \strike, \ul...,
        // \f, \fs, \cf, \highlight, \super, \sub, \nosupersub, \up, \dn...); false, and nothing changed, when
        // `word` is none of them.
        bool set(std::string_view word, bool hasParam, int param);
    };

    Dest dest = Dest::Body;
    Characters chars;
    int uc = 1;  // bytes to skip after \uN
    ParaFormat para;
    int listOverride = 0;  // \ls of a word processor's list paragraph; 0 = none

    // Applies a paragraph formatting word (\pard, \ql, \li, \tx, \ls...); false,
    // and nothing changed, when `word` is none of them. At most kMaxTabs tab
    // stops are kept.
    bool setParagraphWord(std::string_view word, int param);
};

}  // namespace tamix::rtf
