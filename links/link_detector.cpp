#include "links/link_detector.h"

#include "controls/rich_text_box.h"
#include "links/link_handler.h"
#include "tree/database_state.h"
#include "tree/tree_host.h"

namespace tamix {

namespace {

// Holds the editor-change guard for its lifetime: the caret moves and
// selections of detection are the program's own, and the text never
// changes, so the editor's events must neither snap nor re-anchor.
class GuardScope {
public:
    explicit GuardScope(bool& guard) : guard_(guard), before_(guard) { guard_ = true; }
    ~GuardScope() { guard_ = before_; }
    GuardScope(const GuardScope&) = delete;
    GuardScope& operator=(const GuardScope&) = delete;

private:
    bool& guard_;
    bool before_;
};

}  // namespace

LinkDetector::LinkDetector(DatabaseState& state, controls::RichTextBox& editor, LinkHandler& links,
                           TreeHost& host)
    : state_(state), editor_(editor), links_(links), host_(host) {}

bool LinkDetector::IsWordChar(QChar ch) {
    const char16_t u = ch.unicode();
    return u > u' ' && u < 0x7F && u != u'`';
}

LinkDetector::Word LinkDetector::wordAround(int p) const {
    const QString text = editor_.Text();
    const int n = static_cast<int>(text.size());
    if (p < 1 || p > n) return {};
    const auto wordAt = [&](int position) { return IsWordChar(text[position - 1]); };
    int first = p;
    while (first >= 1 && wordAt(first)) --first;
    ++first;
    int last = p;
    while (last <= n && wordAt(last)) ++last;
    --last;
    if (first > last) return {};
    return {first - 1, text.mid(first - 1, last - first + 1)};
}

QString LinkDetector::WordAtCaret() const { return wordAround(editor_.SelStart()).text; }

bool LinkDetector::overlapsLink(int start, int length) const {
    for (const LinkEntry& link : state_.Links.entries())
        if (link.LinkStart < start + length && start < link.LinkEnd) return true;
    return false;
}

bool LinkDetector::DetectLinkAt(int p) {
    GuardScope guard(state_.EditorChangeGuard);
    editor_.setSelStart(p);
    if (links_.IsInLink(p)) return true;
    const Word word = wordAround(editor_.SelStart());
    const int length = static_cast<int>(word.text.size());
    // A word that runs on into a link next to it would make two links share
    // characters.
    if (length == 0 || overlapsLink(word.start, length)) return true;
    editor_.select(word.start, length);
    return links_.SetLink(word.text, word.text);
}

void LinkDetector::DetectLinks() {
    BusyScope busy(host_);
    {
        GuardScope guard(state_.EditorChangeGuard);
        const int caret = editor_.SelStart();
        bool room = true;
        for (const char* prefix : kPrefixes) {
            const QString address = QLatin1String(prefix);
            for (int p = static_cast<int>(editor_.Text().indexOf(address)) + 1; room && p > 0;
                 p = static_cast<int>(editor_.Text().indexOf(address, p)) + 1)
                room = DetectLinkAt(p);
        }
        editor_.setSelStart(caret);
    }
    host_.RefreshFormatState();
}

}  // namespace tamix
