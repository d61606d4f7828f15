#include "controls/label_edit_delegate.h"

#include <QHelpEvent>
#include <QLineEdit>
#include <QToolTip>

#include "controls/tree_view.h"

namespace tamix::controls {

LabelEditDelegate::LabelEditDelegate(TreeView* view) : QStyledItemDelegate(view), view_(view) {}

void LabelEditDelegate::setModelData(QWidget* editor, QAbstractItemModel*,
                                     const QModelIndex& index) const {
    auto* line = qobject_cast<QLineEdit*>(editor);
    if (line == nullptr) {
        return;
    }
    view_->labelEdited(TreeView::nodeOf(view_->itemFromIndex(index)), line->text());
}

bool LabelEditDelegate::helpEvent(QHelpEvent* event, QAbstractItemView* view,
                                  const QStyleOptionViewItem& option, const QModelIndex& index) {
    if (event->type() != QEvent::ToolTip || !index.isValid()) {
        return QStyledItemDelegate::helpEvent(event, view, option, index);
    }
    // option.rect is the label's cell; the viewport shows only part of it
    // when the row runs past an edge.
    const QRect shown = option.rect & view->viewport()->rect();
    const bool cutOff = sizeHint(option, index).width() > shown.width();
    const QString tip = cutOff ? index.data(Qt::DisplayRole).toString() : QString();
    const QRect area(view->viewport()->mapToGlobal(shown.topLeft()), shown.size());
    QToolTip::showText(event->globalPos(), tip, view->viewport(), area);  // empty text hides
    event->setAccepted(!tip.isEmpty());
    return event->isAccepted();
}

}  // namespace tamix::controls
