#include "links/frm_link.h"

#include "controls/node.h"
#include "controls/nodes.h"
#include "controls/rich_text_box.h"
#include "controls/tree_view.h"
#include "dialogs/user_dialogs.h"
#include "links/link_handler.h"
#include "storage/tamix_error.h"

#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace tamix {

namespace {

const QString kNotePrefix = QStringLiteral("Note:");
constexpr int kMaxKeyLength = 255;

// True when the text holds nothing but spaces.
bool blank(const QString& text) {
    for (const QChar c : text)
        if (c != QLatin1Char(' ')) return false;
    return true;
}

QPushButton* button(const char* name, const char* caption, QWidget* parent) {
    auto* b = new QPushButton(QLatin1String(caption), parent);
    b->setObjectName(QLatin1String(name));
    b->setAutoDefault(false);
    return b;
}

}  // namespace

frmLink::frmLink(LinkHandler& links, controls::RichTextBox& editor, const controls::TreeView& mainTree,
                 UserDialogs& dialogs, QWidget* parent)
    : QDialog(parent), links_(links), editor_(editor), mainTree_(mainTree), dialogs_(dialogs) {
    setObjectName(QStringLiteral("frmLink"));
    setWindowTitle(QStringLiteral("Hyperlink"));
    setModal(true);
    buildControls();
    Load();
}

void frmLink::buildControls() {
    txtText = new QLineEdit(this);
    txtText->setObjectName(QStringLiteral("txtText"));
    txtLink = new QLineEdit(this);
    txtLink->setObjectName(QStringLiteral("txtLink"));
    btnHTTP = button("btnHTTP", "http://", this);
    btnMailTo = button("btnMailTo", "mailto:", this);
    tree = new controls::TreeView(this);
    tree->setObjectName(QStringLiteral("tree"));
    btnSelect = button("btnSelect", "Select", this);
    btnDelete = button("btnDelete", "Delete", this);
    btnOK = button("btnOK", "OK", this);
    btnOK->setDefault(true);
    btnCancel = button("btnCancel", "Cancel", this);

    auto* fields = new QGridLayout;
    fields->addWidget(new QLabel(QStringLiteral("Display Text:"), this), 0, 0);
    fields->addWidget(txtText, 0, 1, 1, 3);
    fields->addWidget(new QLabel(QStringLiteral("Link:"), this), 1, 0);
    fields->addWidget(txtLink, 1, 1, 1, 3);
    fields->addWidget(btnHTTP, 2, 1);
    fields->addWidget(btnMailTo, 2, 2);
    fields->setColumnStretch(3, 1);

    auto* treeButtons = new QHBoxLayout;
    treeButtons->addWidget(btnSelect);
    treeButtons->addWidget(btnDelete);
    treeButtons->addStretch(1);

    auto* closeButtons = new QHBoxLayout;
    closeButtons->addStretch(1);
    closeButtons->addWidget(btnOK);
    closeButtons->addWidget(btnCancel);

    auto* column = new QVBoxLayout(this);
    column->addLayout(fields);
    column->addWidget(tree, 1);
    column->addLayout(treeButtons);
    column->addLayout(closeButtons);

    connect(btnHTTP, &QPushButton::clicked, this, [this] { AddType(QStringLiteral("http://")); });
    connect(btnMailTo, &QPushButton::clicked, this, [this] { AddType(QStringLiteral("mailto:")); });
    connect(btnSelect, &QPushButton::clicked, this, [this] { btnSelect_Click(); });
    connect(btnDelete, &QPushButton::clicked, this, [this] { btnDelete_Click(); });
    connect(btnOK, &QPushButton::clicked, this, [this] { btnOK_Click(); });
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    resize(420, 440);
}

void frmLink::Load() {
    QScreen* screen = parentWidget() ? parentWidget()->screen() : QGuiApplication::primaryScreen();
    if (screen) move(screen->availableGeometry().center() - QPoint(width() / 2, height() / 2));

    txtLink->setText(links_.SelectLinkAtSelection());
    txtText->setText(editor_.SelText());
    btnDelete->setEnabled(links_.EditingLink() > 0);

    CopyTree(mainTree_, *tree);
    controls::Node* root = tree->Nodes().Count() > 0 ? tree->Nodes().Item(1) : nullptr;
    if (root) root->setExpanded(true);

    noteMode_ = false;
    controls::Node* chosen = nullptr;
    const QString link = txtLink->text();
    if (links_.EditingLink() > 0 && link.left(kNotePrefix.size()) == kNotePrefix)
        chosen = tree->Nodes().Find(link.mid(kNotePrefix.size(), kMaxKeyLength));
    if (chosen) {
        tree->setSelectedItem(chosen);
        noteMode_ = true;
    } else if (root) {
        tree->setSelectedItem(root);
    }
    tree->Refresh();
}

void frmLink::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (noteMode_)
        tree->setFocus(Qt::OtherFocusReason);
    else
        txtText->setFocus(Qt::OtherFocusReason);
}

void frmLink::done(int result) {
    QDialog::done(result);
    links_.EndEditingLink();
}

void frmLink::AddType(const QString& prefix) {
    const qsizetype n = prefix.size();
    if (txtLink->text().left(n) != prefix) txtLink->setText(prefix + txtLink->text());
    txtLink->setSelection(static_cast<int>(n), static_cast<int>(txtLink->text().size() - n));
    txtLink->setFocus(Qt::OtherFocusReason);
}

void frmLink::btnSelect_Click() {
    const controls::Node* selected = tree->SelectedItem();
    if (!selected) return;
    txtLink->setText(selected->Key());
    AddType(kNotePrefix);
    btnOK->setFocus(Qt::OtherFocusReason);
}

void frmLink::btnOK_Click() {
    if (blank(txtText->text())) {
        dialogs_.message(QStringLiteral("Text cannot be blank"), MsgButtons::OkCancel);
        txtText->setFocus(Qt::OtherFocusReason);
        return;
    }
    if (blank(txtLink->text())) {
        dialogs_.message(QStringLiteral("Link cannot be blank"), MsgButtons::OkCancel);
        txtLink->setFocus(Qt::OtherFocusReason);
        return;
    }
    try {
        links_.SetLink(txtText->text(), txtLink->text());
    } catch (const TamixError& e) {
        // A character the stored table cannot hold: nothing changed, and
        // the user may correct the boxes.
        dialogs_.message(QString::fromUtf8(e.what()), MsgButtons::Ok, MsgIcon::Critical);
        txtText->setFocus(Qt::OtherFocusReason);
        return;
    }
    accept();
}

void frmLink::btnDelete_Click() {
    links_.DeleteLink(links_.EditingLink());
    accept();
}

void frmLink::CopyTree(const controls::TreeView& source, controls::TreeView& target) {
    target.Nodes().Clear();
    const controls::Nodes& nodes = source.Nodes();
    for (int i = 1; i <= nodes.Count(); ++i) {
        const controls::Node* node = nodes.Item(i);
        if (!node->Parent()) CopySubtree(*node, target.Nodes());
    }
}

void frmLink::CopySubtree(const controls::Node& node, controls::Nodes& target) {
    CopyNode(node, target);
    for (const controls::Node* child = node.Child(); child; child = child->Next())
        CopySubtree(*child, target);
}

controls::Node* frmLink::CopyNode(const controls::Node& node, controls::Nodes& target) {
    const controls::Node* parent = node.Parent();
    if (!parent) return target.Add(nullptr, controls::Relationship::Last, node.Key(), node.Text());
    return target.Add(target.Find(parent->Key()), controls::Relationship::Child, node.Key(), node.Text());
}

}  // namespace tamix
