#include "controls/label_edit_delegate.h"

#include <QLineEdit>

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

}  // namespace tamix::controls
