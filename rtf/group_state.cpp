#include "rtf/group_state.h"

#include <algorithm>

namespace tamix::rtf {

bool GroupState::Characters::set(std::string_view word, bool hasParam, int param) {
    const bool on = !hasParam || param != 0;
    if (word == "plain") *this = Characters{};
    else if (word == "b") bold = on;
    else if (word == "i") italic = on;
    else if (word == "strike" || word == "striked") strike = on;
    else if (word == "protect") protect = on;
    else if (word == "ulnone") underline = false;
    else if (word.size() >= 2 && word.substr(0, 2) == "ul" && word != "ulc") underline = on;
    else if (word == "f") font = param;
    else if (word == "fs") halfPoints = hasParam && param > 0 ? std::min(param, 3276) : 24;
    else if (word == "cf") color = param;
    else if (word == "highlight") highlight = param;
    else if (word == "super") vertical = on ? VerticalAlign::Super : VerticalAlign::Normal;
    else if (word == "sub") vertical = on ? VerticalAlign::Sub : VerticalAlign::Normal;
    else if (word == "nosupersub") vertical = VerticalAlign::Normal;
    // A raise or a drop by any amount reads as a superscript or subscript; by 0 as neither.
    else if (word == "up") vertical = on ? VerticalAlign::Super : VerticalAlign::Normal;
    else if (word == "dn") vertical = on ? VerticalAlign::Sub : VerticalAlign::Normal;
    else return false;
    return true;
}

bool GroupState::setParagraphWord(std::string_view word, int param) {
    ParaFormat& p = para;
    if (word == "pard") {
        p = ParaFormat{};
        listOverride = 0;
    }
    else if (word == "ql") p.alignment = Alignment::Left;
    else if (word == "qr") p.alignment = Alignment::Right;
    else if (word == "qc") p.alignment = Alignment::Center;
    else if (word == "qj") p.alignment = Alignment::Justify;
    else if (word == "li" || word == "lin") p.leftIndent = param;
    else if (word == "ri" || word == "rin") p.rightIndent = param;
    else if (word == "fi") p.firstIndent = param;
    else if (word == "sb") p.spaceBefore = param;
    else if (word == "sa") p.spaceAfter = param;
    else if (word == "tx") {
        if (p.tabs.size() < kMaxTabs) p.tabs.push_back(param);
    } else if (word == "ls") {
        listOverride = param;
    } else {
        return false;
    }
    return true;
}

}  // namespace tamix::rtf
