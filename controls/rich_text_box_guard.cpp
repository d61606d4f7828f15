#include "controls/rich_text_box_guard.h"

#include <QAbstractTextDocumentLayout>
#include <QTextBlock>
#include <QTextDocument>
#include <algorithm>
#include <climits>

#include "rtf/text_document_adapter.h"

namespace tamix::controls {

namespace {

bool isProtected(const QTextCharFormat& format) {
    return format.boolProperty(rtf::TextDocumentAdapter::ProtectedProperty);
}

void appendFormat(std::vector<std::pair<int, QTextCharFormat>>& formats, int length, const QTextCharFormat& format) {
    if (!formats.empty() && formats.back().second == format) {
        formats.back().first += length;
    } else {
        formats.emplace_back(length, format);
    }
}

}  // namespace

RichTextBoxGuard::RichTextBoxGuard(QObject* parent) : QObject(parent) {}

RichTextBoxGuard::~RichTextBoxGuard() = default;

void RichTextBoxGuard::watch(QTextDocument* document) {
    if (document_ != nullptr) {
        disconnect(document_, nullptr, this, nullptr);
    }
    document_ = document;
    runs_.clear();
    pending_ = Pending::None;
    clearing_ = false;
    if (document_ == nullptr) {
        return;
    }
    document_->documentLayout();  // a document without a layout reports no contentsChange
    document_->setUndoRedoEnabled(true);
    forgetHistory();
    connect(document_, &QTextDocument::contentsChange, this, &RichTextBoxGuard::onContentsChange);
    connect(document_, &QTextDocument::contentsChanged, this, &RichTextBoxGuard::settle);
    connect(document_, &QObject::destroyed, this, [this] {
        document_ = nullptr;
        runs_.clear();
        pending_ = Pending::None;
    });
    record();
}

void RichTextBoxGuard::onContentsChange(int position, int removed, int added) {
    if (busy_ || document_ == nullptr) {
        return;
    }
    if (removed == 0 && added == document_->characterCount()) {
        // QTextDocument::clear is building the new, empty document; until it
        // reports the old one gone, no cursor may be made or dropped.
        clearing_ = true;
        return;
    }
    if (std::exchange(clearing_, false)) {
        pending_ = Pending::Load;
        settle();  // no contentsChanged follows a clear
        return;
    }
    // An edit with the undo stack on leaves it something to take back, unless
    // QTextDocument::clear wiped it: then the document has been replaced.
    if (trust_ > 0 || !document_->isUndoAvailable()) {
        pending_ = Pending::Load;
    } else if (pending_ == Pending::None) {
        pending_ = Pending::Edit;
        dirtyFrom_ = position;
        dirtyTo_ = position + added;
    } else {
        dirtyFrom_ = 0;  // several edits before one settles: look at everything
        dirtyTo_ = INT_MAX;
    }
}

void RichTextBoxGuard::settle() {
    if (busy_ || clearing_ || document_ == nullptr || pending_ == Pending::None) {
        return;
    }
    const Pending what = std::exchange(pending_, Pending::None);
    if (what == Pending::Edit && !runsIntact()) {
        revert();
        emit refused();
        return;
    }
    const int end = document_->characterCount() - 1;
    const int from = what == Pending::Load ? 0 : std::clamp(dirtyFrom_, 0, end);
    const int to = what == Pending::Load ? end : std::clamp(dirtyTo_, from, end);
    const bool fresh = what == Pending::Load || hasProtected(from, to);
    removeStrayObjects(from, to);
    if (fresh) {
        record();
    }
    forgetHistory();
    emit changed();
}

void RichTextBoxGuard::record() {
    runs_.clear();
    std::vector<std::pair<int, int>> spans;  // [start, end) of each run
    for (QTextBlock block = document_->begin(); block.isValid(); block = block.next()) {
        bool open = false;  // the last run goes on to this fragment if it is protected
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (!isProtected(fragment.charFormat())) {
                open = false;
                continue;
            }
            const int start = fragment.position();
            const int end = start + fragment.length();
            if (open) {
                spans.back().second = end;
            } else {
                spans.emplace_back(start, end);
                open = true;
            }
        }
    }
    runs_.reserve(spans.size());
    for (const auto& [start, end] : spans) {
        Run run{QTextCursor(document_), QTextCursor(document_), {}, {}};
        run.first.setPosition(start);
        run.last.setPosition(end - 1);
        read(start, end, run.text, run.formats);
        runs_.push_back(std::move(run));
    }
}

bool RichTextBoxGuard::runsIntact() const {
    const int end = document_->characterCount() - 1;
    int previousEnd = 0;
    for (const Run& run : runs_) {
        const int from = run.first.position();
        const int to = run.last.position() + 1;
        if (from < previousEnd || to > end || to - from != run.text.size()) {
            return false;
        }
        previousEnd = to;
        if (to < dirtyFrom_ || from > dirtyTo_) {
            continue;  // none of its characters took part in the edit
        }
        QString text;
        std::vector<std::pair<int, QTextCharFormat>> formats;
        read(from, to, text, formats);
        if (text != run.text || formats != run.formats) {
            return false;
        }
    }
    return true;
}

void RichTextBoxGuard::read(int from, int to, QString& text,
                            std::vector<std::pair<int, QTextCharFormat>>& formats) const {
    for (QTextBlock block = document_->findBlock(from); block.isValid() && block.position() < to;
         block = block.next()) {
        if (block.position() > from) {
            text += QChar(QChar::ParagraphSeparator);  // never part of a recorded run
        }
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const int start = std::max(fragment.position(), from);
            const int end = std::min(fragment.position() + fragment.length(), to);
            if (start < end) {
                text += fragment.text().mid(start - fragment.position(), end - start);
                appendFormat(formats, end - start, fragment.charFormat());
            }
        }
    }
}

bool RichTextBoxGuard::hasProtected(int from, int to) const {
    for (QTextBlock block = document_->findBlock(from); block.isValid() && block.position() < to;
         block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (fragment.position() < to && fragment.position() + fragment.length() > from &&
                isProtected(fragment.charFormat())) {
                return true;
            }
        }
    }
    return false;
}

void RichTextBoxGuard::removeStrayObjects(int from, int to) {
    std::vector<int> strays;
    for (QTextBlock block = document_->findBlock(from); block.isValid() && block.position() < to;
         block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (fragment.charFormat().isImageFormat()) {
                continue;
            }
            const QString text = fragment.text();
            const int start = std::max(fragment.position(), from);
            const int end = std::min(fragment.position() + fragment.length(), to);
            for (int p = start; p < end; ++p) {
                if (text.at(p - fragment.position()) == QChar::ObjectReplacementCharacter) {
                    strays.push_back(p);
                }
            }
        }
    }
    if (strays.empty()) {
        return;
    }
    busy_ = true;
    QTextCursor cursor(document_);
    cursor.beginEditBlock();
    for (auto it = strays.rbegin(); it != strays.rend(); ++it) {
        cursor.setPosition(*it);
        cursor.setPosition(*it + 1, QTextCursor::KeepAnchor);
        cursor.removeSelectedText();
    }
    cursor.endEditBlock();
    busy_ = false;
}

void RichTextBoxGuard::revert() {
    busy_ = true;
    for (int steps = document_->availableUndoSteps(); steps >= 0 && document_->isUndoAvailable(); --steps) {
        document_->undo();
    }
    busy_ = false;
    forgetHistory();
    record();
}

void RichTextBoxGuard::forgetHistory() {
    document_->clearUndoRedoStacks();
}

}  // namespace tamix::controls
