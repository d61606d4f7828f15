#pragma once

// What the tree manager's tests share: a window stand-in that records what
// it is asked, and a fixture that wires the tree manager to real controls
// and scripted dialogs.

#include "tree/database_state.h"
#include "controls/node.h"
#include "storage/node_key.h"
#include "controls/nodes.h"
#include "tree/note_selection.h"
#include "controls/rich_text_box.h"
#include "dialogs/scripted_user_dialogs.h"
#include "testing/test_app.h"
#include "testing/test_database.h"
#include "tree/tree_host.h"
#include "tree/tree_manager.h"
#include "controls/tree_view.h"

#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <gtest/gtest.h>
#include <vector>

namespace tamix::tree_testing {

// Records what the tree manager asks of its window.
class FakeHost : public TreeHost {
public:
    void UpdateCommandState() override { ++commandStates; }
    void RefreshFormatState() override {}
    void ShowError(const QString& description) override { errors << description; }
    void SetBusy(bool busy) override {
        depth += busy ? 1 : -1;
        maxDepth = std::max(maxDepth, depth);
    }
    void RecentFilesChanged() override { ++recentChanges; }
    void FocusTree() override { ++focusCalls; }
    void UnloadMainWindow() override { ++unloads; }

    QStringList errors;
    int commandStates = 0, depth = 0, maxDepth = 0, recentChanges = 0, focusCalls = 0, unloads = 0;
};

// The tree manager and note selection over a real tree view and editor, with
// scripted dialogs that fail the test on any unscripted question and must all
// have been used by its end.
class TreeFixture : public WithTestApp, public ::testing::Test {
protected:
    TreeFixture()
        : dialogs_([](const QString& what) { ADD_FAILURE() << what.toStdString(); }),
          notes_(state_, tree_, editor_, dialogs_, host_),
          manager_(state_, notes_, tree_, editor_, dialogs_, host_) {}
    ~TreeFixture() override {
        EXPECT_EQ(dialogs_.pending(), 0u);
        if (state_.Node.FileIsOpen()) state_.Node.CloseFile();
    }

    controls::Node* node(int key) { return tree_.Nodes().Find(QString::fromStdString(NodeKey::Format(key))); }
    // A tree node under the root whose record does not exist (key 99).
    controls::Node* ghost() {
        return tree_.Nodes().Add(tree_.Nodes().Item(1), controls::Relationship::Child, "k0000000099", "Ghost");
    }

    QTemporaryDir dir_;
    FakeHost host_;
    ScriptedUserDialogs dialogs_;
    DatabaseState state_;
    controls::TreeView tree_;
    controls::RichTextBox editor_;
    NoteSelection notes_;
    TreeManager manager_;
};

}  // namespace tamix::tree_testing
