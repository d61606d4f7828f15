#pragma once

// A tree manager, note selection, note operations and tree drag over a real
// tree view and editor, with scripted dialogs and a host that records what
// it is asked; shared by the tests of the note operations and the drag.

#include "database_state.h"
#include "node.h"
#include "node_key.h"
#include "nodes.h"
#include "note_operations.h"
#include "note_selection.h"
#include "rich_text_box.h"
#include "scripted_user_dialogs.h"
#include "test_app.h"
#include "tree_drag.h"
#include "tree_host.h"
#include "tree_manager.h"
#include "tree_view.h"

#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <algorithm>
#include <string>
#include <vector>

namespace tamix::testing {

class RecordingHost : public TreeHost {
public:
    void UpdateCommandState() override {}
    void RefreshFormatState() override {}
    void ShowError(const QString& description) override { errors << description; }
    void SetBusy(bool busy) override { depth += busy ? 1 : -1; }
    void RecentFilesChanged() override {}
    void FocusTree() override {}
    void UnloadMainWindow() override {}

    QStringList errors;
    int depth = 0;
};

struct StoredNote {
    int key;
    int parent;
    const char* name;
    std::string body;
};

inline std::string rtfOf(const std::string& text) {
    return "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0\\fs20 " + text + "\\par}";
}

// Writes a database holding `notes` in this storage order.
inline void makeDatabase(const QString& path, const std::vector<StoredNote>& notes) {
    cNode node;
    node.CreateFile(QFile::encodeName(path).toStdString());
    node.Barriers(false);  // a test file needs no crash safety
    for (const StoredNote& n : notes) {
        node.ClearNode();
        node.Key(NodeKey::Format(n.key));
        node.Parent(NodeKey::Format(n.parent));
        node.NodeText(n.name);
        node.SaveNewNode();
        node.RTFData(n.body);
        node.SaveNode();
    }
    node.CloseFile();
}

// One record as the tests compare them.
struct Record {
    std::string key, parent, name, body;
    bool operator==(const Record&) const = default;
};

class NoteFixture : public ::testing::Test {
protected:
    NoteFixture()
        : app_((testApp(), true)),
          dialogs_([](const QString& what) { ADD_FAILURE() << what.toStdString(); }),
          notes_(state_, tree_, editor_, dialogs_, host_),
          manager_(state_, notes_, tree_, editor_, dialogs_, host_),
          operations_(state_, notes_, tree_, editor_, dialogs_, host_),
          drag_(state_, tree_, operations_, dialogs_, host_) {
        QObject::connect(&editor_, &controls::RichTextBox::Change, [this] {
            if (!state_.EditorChangeGuard) state_.NoteChanged = true;
        });
        QObject::connect(&tree_, &controls::TreeView::NodeClick,
                         [this](controls::Node* n) { notes_.tree_NodeClick(n); });
        QObject::connect(&tree_, &controls::TreeView::AfterLabelEdit,
                         [this](bool& cancel, QString& text) { operations_.tree_AfterLabelEdit(cancel, text); });
        state_.EmptyNoteRTF = rtfOf("");
        manager_.ClearTree();
        tree_.resize(300, 200);
        tree_.show();
        QApplication::setActiveWindow(&tree_);
    }
    ~NoteFixture() override {
        EXPECT_EQ(dialogs_.pending(), 0u);
        EXPECT_EQ(host_.depth, 0);
        if (state_.Node.FileIsOpen()) state_.Node.CloseFile();
    }

    QString path(const char* name) const { return dir_.filePath(QLatin1String(name)); }
    void open(const char* file) {
        dialogs_.answer(ScriptedAnswer::File(DialogKind::OpenFile, path(file)));
        manager_.OpenDatabase();
        ASSERT_TRUE(state_.DatabaseOpen);
        dialogs_.clearRecord();  // the tests look at what came after the open
    }
    controls::Node* root() { return tree_.Nodes().Item(1); }
    controls::Node* node(int key) { return tree_.Nodes().Find(QString::fromStdString(NodeKey::Format(key))); }
    // Selects and shows a note, as a click does.
    void click(int key) {
        controls::Node* n = key == 1 ? root() : node(key);
        ASSERT_NE(n, nullptr);
        tree_.setSelectedItem(n);
        notes_.tree_NodeClick(n);
    }
    void type(const QString& text) {
        editor_.setSelStart(0);
        editor_.setSelText(text);
    }
    // The tree's open label editor, or nullptr.
    QLineEdit* labelEditor() {
        for (QLineEdit* line : tree_.viewport()->findChildren<QLineEdit*>())
            if (line->isVisible()) return line;
        return nullptr;
    }
    void yes() { dialogs_.answer(ScriptedAnswer::Message(MsgAnswer::Yes)); }
    void no() { dialogs_.answer(ScriptedAnswer::Message(MsgAnswer::No)); }
    void ok() { dialogs_.answer(ScriptedAnswer::Message(MsgAnswer::Ok)); }

    // Every record of the file, live ones in storage order, read through
    // the open node store (the file is locked against other openers). The
    // cursor is left at the end, so no code under test can lean on it.
    std::vector<Record> records() {
        std::vector<Record> out;
        cNode& n = state_.Node;
        for (n.MoveFirst(); !n.AtEOF(); n.MoveNext())
            if (!n.Deleted()) out.push_back({n.Key(), n.Parent(), n.NodeText(), n.RTFData()});
        return out;
    }
    Record record(int key) {
        const std::string k = NodeKey::Format(key);
        for (const Record& r : records())
            if (r.key == k) return r;
        return {"<missing>", "", "", ""};
    }
    QStringList childLabels(controls::Node* parent) {
        QStringList labels;
        for (controls::Node* c = parent->Child(); c; c = c->Next()) labels << c->Text();
        return labels;
    }

    bool app_;
    QTemporaryDir dir_;
    RecordingHost host_;
    ScriptedUserDialogs dialogs_;
    DatabaseState state_;
    controls::TreeView tree_;
    controls::RichTextBox editor_;
    NoteSelection notes_;
    TreeManager manager_;
    NoteOperations operations_;
    TreeDrag drag_;
};

}  // namespace tamix::testing
