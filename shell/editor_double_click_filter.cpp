#include "shell/editor_double_click_filter.h"

#include "controls/rich_text_box.h"
#include "rtf/text_document_adapter.h"

#include <QMouseEvent>
#include <QTextCursor>

namespace tamix {

EditorDoubleClickFilter::EditorDoubleClickFilter(controls::RichTextBox& editor,
                                                 std::function<int()> hoveredLink,
                                                 std::function<void(int)> follow, QObject* parent)
    : QObject(parent), editor_(editor), hoveredLink_(std::move(hoveredLink)), follow_(std::move(follow)) {}

void EditorDoubleClickFilter::install() {
    if (installed_) return;
    editor_.viewport()->installEventFilter(this);
    installed_ = true;
}

void EditorDoubleClickFilter::uninstall() {
    if (!installed_) return;
    editor_.viewport()->removeEventFilter(this);
    installed_ = false;
}

bool EditorDoubleClickFilter::onObject(const QPoint& pixels) const {
    if (editor_.SelRTF().find("{\\object") != std::string::npos) return true;
    // The characters on both sides of the hit point (a cursor's char format
    // is that of the character before it).
    const int hit = editor_.cursorForPosition(pixels).position();
    for (int pos : {hit, hit + 1}) {
        if (pos < 1 || pos >= editor_.document()->characterCount()) continue;
        QTextCursor probe(editor_.document());
        probe.setPosition(pos);
        const QTextCharFormat format = probe.charFormat();
        if (format.isImageFormat() && format.hasProperty(rtf::TextDocumentAdapter::ObjectRtfProperty))
            return true;
    }
    return false;
}

bool EditorDoubleClickFilter::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::MouseButtonDblClick) return QObject::eventFilter(watched, event);
    auto* mouse = static_cast<QMouseEvent*>(event);
    if (mouse->button() != Qt::LeftButton) return false;
    if (onObject(mouse->position().toPoint())) return true;
    const int link = hoveredLink_ ? hoveredLink_() : 0;
    if (link != 0) {
        if (follow_) follow_(link);
        return true;
    }
    return false;
}

}  // namespace tamix
