#pragma once

#include <QDialog>
#include <QString>

class QLineEdit;
class QPushButton;

namespace tamix {

class LinkHandler;
class UserDialogs;
namespace controls {
class Node;
class Nodes;
class RichTextBox;
class TreeView;
}  // namespace controls

// The Hyperlink dialog: the display text and target of a new link, or of
// the link the editor's selection overlaps, which it may also delete. The
// target is typed, completed with a prefix, or a note picked from a copy of
// the main tree ("Note:" + its key).
//
// Opening it selects in the editor the link the selection overlaps and
// starts editing that link; whenever it closes, however it closes, the
// editing ends, so no later SetLink overwrites that entry.
class frmLink : public QDialog {
    Q_OBJECT
public:
    // Opens the dialog over the editor's selection; `mainTree` is copied.
    frmLink(LinkHandler& links, controls::RichTextBox& editor, const controls::TreeView& mainTree,
            UserDialogs& dialogs, QWidget* parent = nullptr);

    // Makes the target start with `prefix` (prepending it unless the target
    // starts with exactly that), selects the rest of the target and gives
    // the target box the focus.
    void AddType(const QString& prefix);

    // Fills `target` with copies of the nodes of `source` (keys and labels,
    // each parent's children in the source's order), emptying it first.
    static void CopyTree(const controls::TreeView& source, controls::TreeView& target);
    // Copies `node` and, recursively, everything below it.
    static void CopySubtree(const controls::Node& node, controls::Nodes& target);
    // Copies `node` alone: at the top level when it has no parent, else as
    // the last child of the target node with its parent's key.
    static controls::Node* CopyNode(const controls::Node& node, controls::Nodes& target);

    // True when the dialog opened on a link to a note present in the tree,
    // which it selected; the tree then has the focus when the dialog shows.
    bool NoteMode() const { return noteMode_; }

    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void buildControls();
    // The opening sequence: the boxes from the editor's selection, the tree
    // copied and the linked note (or the root) selected in it.
    void Load();
    void btnSelect_Click();
    void btnOK_Click();
    void btnDelete_Click();

    LinkHandler& links_;
    controls::RichTextBox& editor_;
    const controls::TreeView& mainTree_;
    UserDialogs& dialogs_;
    bool noteMode_ = false;

    // Owned by the dialog.
    QLineEdit* txtText = nullptr;
    QLineEdit* txtLink = nullptr;
    QPushButton* btnHTTP = nullptr;
    QPushButton* btnMailTo = nullptr;
    controls::TreeView* tree = nullptr;
    QPushButton* btnSelect = nullptr;
    QPushButton* btnDelete = nullptr;
    QPushButton* btnOK = nullptr;
    QPushButton* btnCancel = nullptr;
};

}  // namespace tamix
