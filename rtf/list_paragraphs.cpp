#include "rtf/list_paragraphs.h"

#include <algorithm>

#include "rtf/list_label.h"

namespace tamix::rtf {

void ListParagraphs::startPn() {
    pnBullet_ = false;
    pnStyle_ = ListStyle::None;
    pnIndent_ = 0;
    pnStart_ = 1;
    pnBefore_.clear();
    pnAfter_.clear();
}

void ListParagraphs::pnWord(std::string_view word, int param) {
    if (word == "pnlvlblt") pnBullet_ = true;
    else if (word == "pnindent") pnIndent_ = param;
    else if (word == "pnstart") pnStart_ = param;
    else if (word == "pndec") pnStyle_ = ListStyle::Decimal;
    else if (word == "pnlcltr") pnStyle_ = ListStyle::LowerLetter;
    else if (word == "pnucltr") pnStyle_ = ListStyle::UpperLetter;
    else if (word == "pnlcrm") pnStyle_ = ListStyle::LowerRoman;
    else if (word == "pnucrm") pnStyle_ = ListStyle::UpperRoman;
    else if ((word == "pnlvlbody" || (word.size() > 5 && word.substr(0, 5) == "pnlvl" && word != "pnlvlcont")) &&
             pnStyle_ == ListStyle::None)
        pnStyle_ = ListStyle::Decimal;
}

void ListParagraphs::startAffix(bool before) {
    pnText_ = before ? &pnBefore_ : &pnAfter_;
    pnText_->clear();
}

void ListParagraphs::affixBytes(std::string_view bytes) {
    for (const char c : bytes)
        if (pnText_ && pnText_->size() < ListLabel::kMaxAffix && c >= 0x20 && c < 0x7F) *pnText_ += c;
}

void ListParagraphs::applyPn(ParaFormat& p) const {
    p.list = pnBullet_ ? ListStyle::Bullet : pnStyle_;
    p.bulletIndent = p.isList() ? pnIndent_ : 0;  // the indent only matters for lists
    p.listStart = p.isNumbered() ? std::max(pnStart_, 0) : 1;
    p.listBefore = p.isNumbered() ? pnBefore_ : std::string();
    p.listAfter = p.isNumbered() ? pnAfter_ : std::string();
}

void ListParagraphs::startLabel() {
    label_.clear();
    labelSeen_ = true;
}

void ListParagraphs::labelBytes(std::string_view bytes) {
    label_.append(bytes.substr(0, kMaxLabel - std::min(kMaxLabel, label_.size())));
}

void ListParagraphs::labelSign() {
    if (label_.size() < kMaxLabel) label_ += '\x80';
}

ParaFormat ListParagraphs::paragraphFormat(ParaFormat p, bool listOverride) {
    const bool labelled = labelSeen_;
    labelSeen_ = false;
    int number = p.listStart;
    if (!p.isList() && (labelled || listOverride)) {
        const ListLabel label = ListLabel::Parse(label_, lastList_ ? lastList_->list : ListStyle::None, lastNumber_);
        p.list = label.style == ListStyle::None ? ListStyle::Bullet : label.style;
        if (p.isNumbered()) {
            number = label.number;
            p.listBefore = label.before;
            p.listAfter = label.after;
            p.listStart = number;
            // A label that goes on counting continues the list above it.
            if (lastList_ && number == lastNumber_ + 1) {
                ParaFormat same = p;
                same.listStart = lastList_->listStart;
                if (same == *lastList_) p = same;
            }
        }
    } else if (p.isNumbered() && lastList_ && *lastList_ == p) {
        number = lastNumber_ + 1;  // a run of paragraphs under one {\*\pn} counts on
    }
    label_.clear();
    if (p.isList()) {
        lastList_ = p;
        lastNumber_ = number;
    } else {
        lastList_.reset();
    }
    return p;
}

}  // namespace tamix::rtf
