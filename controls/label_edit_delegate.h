#pragma once

#include <QStyledItemDelegate>

namespace tamix::controls {

class TreeView;

// Label editing for TreeView: a committed edit is handed to the view, which
// offers it to AfterLabelEdit once the editor has closed; the delegate never
// writes a label into the model itself.
class LabelEditDelegate : public QStyledItemDelegate {
    Q_OBJECT

public:
    explicit LabelEditDelegate(TreeView* view);

    void setModelData(QWidget* editor, QAbstractItemModel* model,
                      const QModelIndex& index) const override;

private:
    TreeView* view_;  // the view that owns this delegate
};

}  // namespace tamix::controls
