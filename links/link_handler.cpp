#include "links/link_handler.h"

#include "controls/rich_text_box.h"
#include "dialogs/app_options.h"
#include "storage/code_page_1252.h"
#include "tree/database_state.h"

#include <QPoint>
#include <algorithm>
#include <QStringView>

namespace tamix {

using controls::Tristate;

LinkHandler::LinkHandler(DatabaseState& state, controls::RichTextBox& editor, const AppOptions& options)
    : state_(state), editor_(editor), options_(options) {}

template <typename F> void LinkHandler::guarded(F&& body) {
    const bool before = state_.EditorChangeGuard;
    state_.EditorChangeGuard = true;
    body();
    state_.EditorChangeGuard = before;
}

bool LinkHandler::SelectionTouchesLink() const { return editor_.SelProtected() != Tristate::Off; }

void LinkHandler::SnapSelectionToLinks() {
    touched_.clear();
    const bool grew = editor_.SelLength() > savedEnd_ - savedStart_;
    savedStart_ = editor_.SelStart();
    savedEnd_ = savedStart_ + editor_.SelLength();
    if (editor_.SelProtected() == Tristate::Off) return;
    const LinkTable& links = state_.Links;
    for (int i = 1; i <= links.Count(); ++i) {
        const int a = links[i].LinkStart;
        const int b = links[i].LinkEnd;
        const int s = savedStart_;
        const int e = savedEnd_;
        if (a == s && s == e) return;  // the caret at a link's start stays where it is
        if (a >= s && b <= e) {
            touched_.push_back(i);
        } else if (a < s && s < b && b <= e) {
            touched_.push_back(i);
            savedStart_ = grew ? a : b;
        } else if (s <= a && a < e && b > e) {
            touched_.push_back(i);
            savedEnd_ = grew ? b : a;
        } else if (a < s && b >= e) {
            touched_.push_back(i);
            savedStart_ = a;
            savedEnd_ = b;
        }
    }
    guarded([&] { editor_.select(savedStart_, savedEnd_ - savedStart_); });
}

void LinkHandler::PrepareLinkedSelection() {
    SnapSelectionToLinks();
    state_.EditorChangeGuard = true;
    editor_.setSelProtected(false);
}

void LinkHandler::rtfMain_Change() {
    if (state_.EditorChangeGuard) return;
    state_.NoteChanged = true;
    if (state_.PendingRelink) {
        RemarkTouchedLinks();
        state_.PendingRelink = false;
    } else {
        RelocateLinks();
    }
}

void LinkHandler::RelocateLinks() {
    // Only the text near each link is read: a keystroke in a long note
    // costs a few short reads, not a copy of the whole text.
    const int length = editor_.TextLength();
    if (length == 0) return;
    LinkTable& links = state_.Links;
    // Links keep their order in the text (their characters cannot be edited),
    // so they are placed in the order they stood, each after the one before.
    // A place counts only where its characters still carry the link's
    // protection: plain text typed beside a link, or the characters of a
    // neighbouring link, may spell the same word.
    std::vector<int> order(static_cast<std::size_t>(links.Count()));
    for (int i = 0; i < links.Count(); ++i) order[static_cast<std::size_t>(i)] = i + 1;
    std::stable_sort(order.begin(), order.end(),
                     [&](int x, int y) { return links[x].LinkStart < links[y].LinkStart; });
    int claimed = 0;  // the end of the link placed last
    for (int i : order) {
        LinkEntry& link = links[i];
        const int n = link.LinkEnd - link.LinkStart;
        if (n <= 0 || n != link.LinkText.size()) continue;  // a damaged entry is left as it is
        const auto standsAt = [&](int at) {
            return at >= claimed && at + n <= length && editor_.TextRange(at, n) == link.LinkText &&
                   editor_.WhollyProtected(at, n);
        };
        for (int d = 0;; ++d) {
            const bool forwardIn = link.LinkStart + d + n <= length;
            const bool backwardIn = link.LinkStart - d >= std::max(0, claimed);
            if (!forwardIn && !backwardIn) break;  // the text is gone: the entry stays
            if (forwardIn && standsAt(link.LinkStart + d)) {
                link.LinkStart += d;
                link.LinkEnd += d;
                break;
            }
            if (backwardIn && standsAt(link.LinkStart - d)) {
                link.LinkStart -= d;
                link.LinkEnd -= d;
                break;
            }
        }
        claimed = std::max(claimed, link.LinkEnd);
    }
}

void LinkHandler::RemarkTouchedLinks() {
    guarded([&] {
        const LinkTable& links = state_.Links;
        for (int i : touched_) {
            if (i < 1 || i > links.Count()) continue;
            editor_.select(links[i].LinkStart, links[i].LinkEnd - links[i].LinkStart);
            editor_.setSelUnderline(true);
            editor_.setSelColor(options_.LinkColour);
            editor_.setSelProtected(true);
        }
        editor_.select(savedStart_, savedEnd_ - savedStart_);
    });
}

void LinkHandler::RemoveSelectedLinks() {
    SnapSelectionToLinks();
    guarded([&] {
        editor_.setSelProtected(false);
        for (auto it = touched_.rbegin(); it != touched_.rend(); ++it) DeleteLink(*it);
    });
    ShiftLinksBack();
}

void LinkHandler::DeleteLink(int i) {
    if (i < 1 || i > state_.Links.Count()) return;
    state_.Links.Remove(i);
    if (editingLink_ == i) editingLink_ = 0;
    else if (editingLink_ > i) --editingLink_;
    guarded([&] {
        editor_.setSelProtected(false);
        editor_.setSelUnderline(false);
        editor_.setSelColor(0);
    });
    state_.NoteChanged = true;  // the table is written with the body
}

void LinkHandler::ShiftLinksBack() {
    LinkTable& links = state_.Links;
    if (links.Count() == 0 || editor_.Text().isEmpty()) return;
    const int p = editor_.SelStart();
    const int n = editor_.SelLength();
    if (n == 0) return;
    for (int i = 1; i <= links.Count(); ++i) {
        if (p <= links[i].LinkStart) {
            links[i].LinkStart -= n;
            links[i].LinkEnd -= n;
        }
    }
}

void LinkHandler::ShiftLinksForward(int count) {
    LinkTable& links = state_.Links;
    if (links.Count() == 0 || editor_.Text().isEmpty() || count == 0) return;
    const int p = editor_.SelStart();
    for (int i = 1; i <= links.Count(); ++i) {
        if (p <= links[i].LinkStart) {
            links[i].LinkStart += count;
            links[i].LinkEnd += count;
        }
    }
}

void LinkHandler::ResetTypingFormat() {
    if (editor_.SelLength() != 0 || editor_.SelProtected() != Tristate::On) return;
    guarded([&] {
        editor_.setSelProtected(false);
        editor_.setSelFontName(options_.DefaultFontName);
        editor_.setSelFontSize(options_.DefaultFontSize);
        editor_.setSelColor(0);
        editor_.setSelBold(false);
        editor_.setSelItalic(false);
        editor_.setSelStrikeThru(false);
        editor_.setSelUnderline(false);
    });
}

bool LinkHandler::IsTypingKey(int keyCode, int shift) {
    if (keyCode == 13 || keyCode == 32) return true;
    if (shift != 0 && shift != 1) return false;
    return (keyCode >= 48 && keyCode <= 57) || (keyCode >= 65 && keyCode <= 90) ||
           (keyCode >= 186 && keyCode <= 192) || (keyCode >= 219 && keyCode <= 222);
}

bool LinkHandler::SetLink(const QString& text, const QString& target) {
    if (editingLink_ == 0 && state_.Links.Full()) return false;
    // The record keeps both in code page 1252: refuse what it cannot hold
    // before anything changes.
    CodePage1252::fromUtf8(text.toStdString());
    CodePage1252::fromUtf8(target.toStdString());
    const int length = static_cast<int>(text.size());
    guarded([&] {
        editor_.setSelProtected(false);
        if (editor_.SelText() != text) {
            editor_.setSelText(text);
            editor_.select(editor_.SelStart() - length, length);
        }
        editor_.setSelUnderline(true);
        editor_.setSelColor(options_.LinkColour);
        const LinkEntry entry{editor_.SelStart(), editor_.SelStart() + length, text, target};
        if (editingLink_ > 0 && editingLink_ <= state_.Links.Count())
            state_.Links[editingLink_] = entry;
        else
            state_.Links.Add(entry);
    });
    editor_.setSelProtected(true);
    state_.NoteChanged = true;  // the table is written with the body
    return true;
}

QString LinkHandler::SelectLinkAtSelection() {
    editingLink_ = 0;
    const int s = editor_.SelStart();
    const int e = s + editor_.SelLength();
    const LinkTable& links = state_.Links;
    for (int i = 1; i <= links.Count(); ++i) {
        const int a = links[i].LinkStart;
        const int b = links[i].LinkEnd;
        if ((a <= s && s <= b) || (a <= e && e <= b) || (s < a && e > b)) {
            guarded([&] { editor_.select(a, static_cast<int>(links[i].LinkText.size())); });
            editingLink_ = i;
            return links[i].LinkLink;
        }
    }
    return editor_.SelText();
}

bool LinkHandler::IsInLink(int p) const {
    for (const LinkEntry& link : state_.Links.entries())
        if (link.LinkStart <= p && p <= link.LinkEnd) return true;
    return false;
}

QString LinkHandler::LinkAtPoint(int x, int y) {
    hoveredLink_ = 0;
    const int c = editor_.CharFromPos(QPoint(x / editor_.TwipsPerPixelX(), y / editor_.TwipsPerPixelY()));
    if (c < 0) return QString();
    const LinkTable& links = state_.Links;
    for (int i = 1; i <= links.Count(); ++i) {
        if (links[i].LinkStart <= c && c <= links[i].LinkEnd) {
            hoveredLink_ = i;
            editor_.setMousePointer(1);
            return links[i].LinkLink;
        }
    }
    editor_.setMousePointer(0);
    return QString();
}

}  // namespace tamix
