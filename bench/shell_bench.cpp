// The two things a person waits for in the main window: opening a large
// database until its tree is shown, and clicking from note to note (saving
// the note that was changed).
//
//   QT_QPA_PLATFORM=offscreen build/bench/shell_bench
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <string>

#include "storage/c_node.h"
#include "shell/frm_main.h"
#include "controls/node.h"
#include "storage/node_key.h"
#include "controls/nodes.h"
#include "controls/rich_text_box.h"
#include "dialogs/scripted_user_dialogs.h"
#include "dialogs/settings.h"
#include "testing/temp_home.h"
#include "testing/test_app.h"
#include "bench/large_tree.h"
#include "tree/tree_manager.h"
#include "controls/tree_view.h"

namespace {

using tamix::cNode;
using tamix::NodeKey;

constexpr int kLargeNotes = 100000;
constexpr int kBodyNotes = 50;

// About 20 KB of RTF: paragraphs of text with some bold and italic runs.
std::string body20k(int seed) {
    std::string rtf = "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fswiss Arial;}}\\f0\\fs20 ";
    int i = 0;
    while (rtf.size() < 20000) {
        rtf += "Paragraph " + std::to_string(seed) + "." + std::to_string(i) +
               " of a long note, with {\\b bold words} and {\\i an italic phrase} among plain "
               "text that goes on for a while to fill the line.\\par ";
        ++i;
    }
    return rtf + "}";
}

class Databases {
public:
    Databases() {
        large_ = dir_.filePath("large.TM2");
        bodies_ = dir_.filePath("bodies.TM2");
        LargeTree::write(large_, kLargeNotes);
        cNode node;
        node.CreateFile(QFile::encodeName(bodies_).toStdString());
        node.Barriers(false);
        for (int n = 2; n < kBodyNotes + 2; ++n) {
            node.ClearNode();
            node.Key(NodeKey::Format(n));
            node.Parent(NodeKey::kRoot);
            node.NodeText(LargeTree::label(n));
            node.SaveNewNode();
            node.RTFData(body20k(n));
            node.SaveNode();
        }
        node.CloseFile();
    }
    QString large_;
    QString bodies_;

private:
    QTemporaryDir dir_;
};

Databases& databases() {
    static Databases d;
    return d;
}

struct Window {
    Window()
        : dialogs([](const QString&) {}),
          settings(QDir(tamix::TempHome::forProcess().configDir()).filePath("bench.conf")),
          window(dialogs, settings) {
        window.Load(QString());
        window.show();
        QApplication::processEvents();
    }
    tamix::ScriptedUserDialogs dialogs;
    tamix::Settings settings;
    tamix::frmMain window;
};

// From the command that opens the file until the tree is painted.
void BM_OpenLargeDatabase(benchmark::State& state) {
    tamix::testApp();
    const QString path = databases().large_;
    Window w;
    for (auto _ : state) {
        w.window.ParseCommand(path);
        QApplication::processEvents();
        if (w.window.tree().Nodes().Count() != kLargeNotes + 1) state.SkipWithError("tree incomplete");
        state.PauseTiming();
        w.window.treeManager().CloseCommand();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_OpenLargeDatabase)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

// One click on the next note after a change to the shown one: the change is
// saved (with the store's write barriers), the next body is loaded.
void BM_ClickWithChangedNote(benchmark::State& state) {
    tamix::testApp();
    Window w;
    w.window.ParseCommand(databases().bodies_);
    tamix::controls::TreeView& tree = w.window.tree();
    tamix::controls::Node* root = tree.Nodes().Item(1);
    tamix::controls::Node* next = root->Child();
    w.window.tree_NodeClick(next);
    const bool barriers = state.range(0) != 0;
    w.window.state().Node.Barriers(barriers);
    for (auto _ : state) {
        state.PauseTiming();
        tamix::controls::RichTextBox& editor = w.window.rtfMain();
        editor.setSelStart(0);
        editor.setSelText("x");  // the user's change
        next = next->Next() ? next->Next() : root->Child();
        tree.setSelectedItem(next);
        state.ResumeTiming();
        w.window.tree_NodeClick(next);
        QApplication::processEvents();
    }
    if (w.window.state().NoteChanged) state.SkipWithError("the change was not saved");
}
BENCHMARK(BM_ClickWithChangedNote)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond)->UseRealTime();

// A click without a change: only the load.
void BM_ClickUnchanged(benchmark::State& state) {
    tamix::testApp();
    Window w;
    w.window.ParseCommand(databases().bodies_);
    tamix::controls::TreeView& tree = w.window.tree();
    tamix::controls::Node* root = tree.Nodes().Item(1);
    tamix::controls::Node* next = root->Child();
    for (auto _ : state) {
        next = next->Next() ? next->Next() : root->Child();
        tree.setSelectedItem(next);
        w.window.tree_NodeClick(next);
        QApplication::processEvents();
    }
}
BENCHMARK(BM_ClickUnchanged)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
