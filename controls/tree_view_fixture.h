#pragma once

#include <QApplication>
#include <QLineEdit>
#include <QStringList>
#include <QTest>
#include <gtest/gtest.h>

#include "controls/tree_view.h"
#include "storage/tamix_error.h"
#include "testing/test_app.h"

namespace tamix::controls {

// A shown 300 x 400 tree view and the checks its tests share.
class TreeViewTest : public WithTestApp, public ::testing::Test {
protected:
    void SetUp() override {
        view.resize(300, 400);
        view.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    }

    // A child of `parent` (a top-level node for nullptr) labelled `text`,
    // or its key when `text` is empty.
    Node* add(Node* parent, const QString& key, const QString& text = {}) {
        return view.Nodes().Add(parent, Relationship::Child, key, text.isEmpty() ? key : text);
    }

    // Labels of a node's children, walked by Child / Next up to LastSibling.
    static QStringList childLabels(const Node* parent) {
        QStringList labels;
        Node* c = parent->Child();
        const int last = c ? c->LastSibling()->Index() : 0;
        for (; c; c = c->Index() == last ? nullptr : c->Next()) labels << c->Text();
        return labels;
    }

    // The Qt items must show exactly the nodes, in the nodes' order.
    void expectItemsMirrorNodes() {
        for (int i = 1; i <= view.Nodes().Count(); ++i) {
            Node* n = view.Nodes().Item(i);
            ASSERT_EQ(n->Index(), i);
            EXPECT_EQ(n->item()->text(0), n->Text());
            EXPECT_EQ(n->item()->parent(), n->Parent() ? n->Parent()->item() : nullptr);
            ASSERT_EQ(n->item()->childCount(), n->Children());
            int k = 0;
            for (Node* c = n->Child(); c; c = c->Next(), ++k) EXPECT_EQ(n->item()->child(k), c->item());
        }
    }

    QPoint centerOf(Node* n) { return view.visualItemRect(n->item()).center(); }

    // Opens the label editor on the selected node, types `keys` over its
    // text and ends the edit with `end`; returns the editor's left edge.
    int editLabel(const QString& keys, Qt::Key end) {
        view.StartLabelEdit();
        QApplication::processEvents();
        auto* editor = view.viewport()->findChild<QLineEdit*>();
        EXPECT_NE(editor, nullptr);
        if (!editor) return -1;
        const int left = editor->geometry().left();
        editor->selectAll();
        QTest::keyClicks(editor, keys);
        QTest::keyClick(editor, end);
        QCoreApplication::processEvents();  // the editor commits from the event loop
        return left;
    }

    template <class F>
    static void expectError(F&& f, int number) {
        try {
            f();
            ADD_FAILURE() << "no error " << number;
        } catch (const TamixError& e) {
            EXPECT_EQ(e.number(), number) << e.what();
        }
    }

    TreeView view;
};

}  // namespace tamix::controls
