#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "rtf/rtf_document.h"

namespace tamix::rtf {

// What one read knows about lists: the {\*\pn} group being read, the label
// of the paragraph being read ({\pntext}, {\listtext}), and the last list
// paragraph, so that a label which goes on counting joins the list above it.
class ListParagraphs {
public:
    // A {\*\pn} group starts: its settings start over.
    void startPn();
    // A control word inside the {\*\pn} group.
    void pnWord(std::string_view word, int param);
    // A {\pntxtb} (before) or {\pntxta} group starts inside {\*\pn}.
    void startAffix(bool before);
    // Text of the open affix group; only printable ASCII is kept, as of a
    // label's text: affixes are written back as they are, and a byte beyond
    // ASCII has no one meaning.
    void affixBytes(std::string_view bytes);
    // Makes `p` the list the closed {\*\pn} group describes.
    void applyPn(ParaFormat& p) const;

    // A label group starts for the paragraph being read.
    void startLabel();
    // Text of the label; at most 32 bytes are kept.
    void labelBytes(std::string_view bytes);
    // A sign in the label that is no letter or digit (a bullet, a \u character).
    void labelSign();

    // The format of the paragraph that ends now, given the group's format
    // `p`: made a list paragraph by the label read for it when no {\*\pn}
    // made it one (or when `listOverride`), its number taken from the label
    // or counted on from the list above.
    ParaFormat paragraphFormat(ParaFormat p, bool listOverride);

private:
    static constexpr std::size_t kMaxLabel = 32;

    // Of the {\*\pn} group being read.
    bool pnBullet_ = false;
    ListStyle pnStyle_ = ListStyle::None;  // a numbering style word
    int pnIndent_ = 0;
    int pnStart_ = 1;
    std::string pnBefore_, pnAfter_;
    std::string* pnText_ = nullptr;  // where the open {\pntxtb} or {\pntxta} goes

    // The label of the paragraph being read.
    std::string label_;
    bool labelSeen_ = false;
    // The last paragraph read, when it was a list paragraph: its format and
    // the number of its label.
    std::optional<ParaFormat> lastList_;
    int lastNumber_ = 0;
};

}  // namespace tamix::rtf
