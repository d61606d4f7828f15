#pragma once

#include <QStyledItemDelegate>

namespace tamix::controls {

class TreeView;

// The tree's item delegate. Label editing: a committed edit is handed to the
// view, which offers it to AfterLabelEdit once the editor has closed; the
// delegate never writes a label into the model itself. Tooltips: a row whose
// label the view shows only in part (elided, or running past the viewport's
// edge) shows the whole label; a row shown whole shows none.
class LabelEditDelegate : public QStyledItemDelegate {
    Q_OBJECT

public:
    explicit LabelEditDelegate(TreeView* view);

    void setModelData(QWidget* editor, QAbstractItemModel* model,
                      const QModelIndex& index) const override;

    bool helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                   const QModelIndex& index) override;

private:
    TreeView* view_;  // the view that owns this delegate
};

}  // namespace tamix::controls
