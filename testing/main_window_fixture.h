#pragma once

// The one driver of the real main window for tests: a fresh window over the
// test's own settings file, scripted dialogs that fail the test on any
// unscripted question and must all have been used by its end, and the
// gestures a user makes (clicks on tree rows, keys, typing).

#include "controls/node.h"
#include "controls/nodes.h"
#include "controls/rich_text_box.h"
#include "controls/tree_view.h"
#include "dialogs/scripted_user_dialogs.h"
#include "dialogs/settings.h"
#include "shell/frm_main.h"
#include "storage/node_key.h"
#include "testing/test_app.h"
#include "testing/test_database.h"

#include <QAction>
#include <QApplication>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

namespace tamix {

class MainWindowFixture : public WithTestApp, public ::testing::Test {
protected:
    MainWindowFixture() : dialogs_([](const QString& w) { ADD_FAILURE() << w.toStdString(); }) {}
    ~MainWindowFixture() override {
        EXPECT_EQ(dialogs_.pending(), 0u);
        if (window_) window_->close();
    }

    QString path(const QString& name) const { return dir_.filePath(name); }
    QString ini() const { return dir_.filePath("Tamix.conf"); }

    // A fresh main window over the test's settings file, loaded with
    // `commandLine`, shown and active, the tree focused.
    frmMain& start(const QString& commandLine = QString()) {
        window_.reset();
        settings_ = std::make_unique<Settings>(ini());
        window_ = std::make_unique<frmMain>(dialogs_, *settings_);
        window_->Load(commandLine);
        window_->show();
        QApplication::setActiveWindow(window_.get());
        if (window_->tree().isEnabled()) window_->tree().setFocus();
        QApplication::processEvents();  // the layout that follows the show
        return *window_;
    }
    // Closes the window as the user would and writes the settings out.
    void finish() {
        if (window_) window_->close();
        settings_->sync();
    }
    void trigger(const char* command) { window_->menuItem(QLatin1String(command))->trigger(); }
    void openFile(const QString& file) {
        dialogs_.answer(ScriptedAnswer::File(DialogKind::OpenFile, file));
        trigger("mnuFileOpen");
    }
    void answer(MsgAnswer a) { dialogs_.answer(ScriptedAnswer::Message(a)); }

    controls::TreeView& tree() { return window_->tree(); }
    // The tree node of `key`; 1 is the root.
    controls::Node* node(int key) {
        return key == 1 ? tree().Nodes().Item(1)
                        : tree().Nodes().Find(QString::fromStdString(NodeKey::Format(key)));
    }
    // The centre of the row of `key`, in the tree's drawing area.
    QPoint at(int key) { return tree().visualItemRect(node(key)->item()).center(); }
    // A real mouse click on the row of `key`.
    void click(int key) {
        ASSERT_NE(node(key), nullptr) << key;
        QTest::mouseClick(tree().viewport(), Qt::LeftButton, {}, at(key));
    }
    // A key press on whatever has the focus.
    void key(Qt::Key k, Qt::KeyboardModifiers modifiers = {}) {
        QTest::keyClick(QApplication::focusWidget(), k, modifiers);
    }
    // Typing at the start of the shown note.
    void typeInEditor(const QString& text) {
        controls::RichTextBox& editor = window_->rtfMain();
        ASSERT_TRUE(editor.isEnabled());
        editor.setFocus();
        QTest::keyClick(&editor, Qt::Key_Home, Qt::ControlModifier);
        QTest::keyClicks(&editor, text);
    }

    QTemporaryDir dir_;
    ScriptedUserDialogs dialogs_;
    std::unique_ptr<Settings> settings_;
    std::unique_ptr<frmMain> window_;
};

}  // namespace tamix
