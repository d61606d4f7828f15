// Find in a large database through the real main window: a whole-database
// search for a word held by 10 of 100,000 notes with 2 KB bodies, until the
// first hit is shown and until "End of Search"; beside it, what loading
// every note into the editor would cost, and the two ways of reading a
// body's text.
//
//   QT_QPA_PLATFORM=offscreen build/bench/find_bench
#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <chrono>
#include <string>

#include "controls/node.h"
#include "controls/nodes.h"
#include "controls/tree_view.h"
#include "dialogs/scripted_user_dialogs.h"
#include "dialogs/settings.h"
#include "find/body_text.h"
#include "find/search_matcher.h"
#include "rtf/rtf_reader.h"
#include "shell/frm_main.h"
#include "storage/c_node.h"
#include "storage/node_key.h"
#include "testing/temp_home.h"
#include "testing/test_app.h"
#include "bench/large_tree.h"

namespace {

using Clock = std::chrono::steady_clock;
using tamix::NodeKey;

constexpr int kNotes = 100000;
constexpr int kHitNotes = 10;
constexpr const char* kWord = "zephyrine";

// About 2 KB of RTF as the editor writes it: paragraphs of prose with bold
// and italic runs and an accented letter; `hit` puts the word in the middle.
std::string body2k(int seed, bool hit) {
    std::string rtf =
        "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}}\r\n"
        "{\\colortbl ;\\red0\\green0\\blue255;}\r\n\\viewkind4\\uc1\\pard\\f0\\fs20 ";
    for (int i = 0; rtf.size() < 2000; ++i) {
        rtf += "Paragraph " + std::to_string(seed) + "." + std::to_string(i) +
               " of a note, with \\b bold words\\b0  and \\i an italic phrase\\i0  in a caf\\'e9";
        if (hit && i == 4) rtf += std::string(" about ") + kWord;
        rtf += " among plain text.\\par\r\n";
    }
    return rtf + "}";
}

// The key number of the i-th note holding the word, spread over the tree.
bool holdsWord(int number) { return number % (kNotes / kHitNotes) == 5000; }

class Database {
public:
    Database() {
        path_ = dir_.filePath("find.TM2");
        LargeTree::write(path_, kNotes, [](int n) { return body2k(n, holdsWord(n)); });
    }
    QString path_;

private:
    QTemporaryDir dir_;
};

Database& database() {
    static Database d;
    return d;
}

struct Window {
    Window()
        : dialogs([](const QString& what) { qFatal("unexpected dialog: %s", qPrintable(what)); }),
          settings(QDir(tamix::TempHome::forProcess().configDir()).filePath("find_bench.conf")),
          window(dialogs, settings) {
        window.Load(QString());
        window.show();
        QApplication::processEvents();
        window.ParseCommand(database().path_);
        QApplication::processEvents();
    }
    tamix::ScriptedUserDialogs dialogs;
    tamix::Settings settings;
    tamix::frmMain window;
};

double secondsSince(Clock::time_point start, Clock::time_point end) {
    return std::chrono::duration<double>(end - start).count();
}

// The whole search: the find dialog answered, "Find Next" at every hit.
void BM_FindInWholeDatabase(benchmark::State& state) {
    tamix::testApp();
    Window w;
    double first = 0, end = 0;
    for (auto _ : state) {
        Clock::time_point start, firstAt, endAt;
        int hits = 0;
        w.dialogs.answer(tamix::ScriptedAnswer::Form([](QDialog& d) {
            d.findChild<QLineEdit*>("txtSearchString")->setText(kWord);
            d.findChild<QRadioButton*>("optDB")->setChecked(true);
            d.findChild<QPushButton*>("btnOK")->click();
        }));
        for (int i = 0; i < kHitNotes; ++i) {
            w.dialogs.answer(tamix::ScriptedAnswer::Form([&](QDialog& d) {
                if (hits++ == 0) firstAt = Clock::now();
                if (hits == kHitNotes) w.dialogs.whileNextIsOpen([&] { endAt = Clock::now(); });
                d.findChild<QPushButton*>("btnNext")->click();
            }));
        }
        w.dialogs.answer(tamix::ScriptedAnswer::Message(tamix::MsgAnswer::Ok));
        start = Clock::now();
        w.window.menuItem(QStringLiteral("mnuEditFind"))->trigger();
        state.SetIterationTime(secondsSince(start, endAt));
        if (hits != kHitNotes || w.dialogs.pending() != 0) state.SkipWithError("the hits were not all shown");
        first += secondsSince(start, firstAt);
        end += secondsSince(start, endAt);
    }
    state.counters["first_hit_s"] = first / state.iterations();
    state.counters["end_of_search_s"] = end / state.iterations();
}
BENCHMARK(BM_FindInWholeDatabase)->Unit(benchmark::kMillisecond)->Iterations(3)->UseManualTime();

// Loading notes into the editor one after another, as a search that loads
// every note would; the counter extrapolates to all 100,000.
void BM_LoadNotesIntoEditor(benchmark::State& state) {
    tamix::testApp();
    Window w;
    tamix::controls::TreeView& tree = w.window.tree();
    const int count = static_cast<int>(state.range(0));
    for (auto _ : state) {
        for (int n = 2; n < count + 2; ++n) {
            tamix::controls::Node* node = tree.Nodes().Find(QString::fromStdString(NodeKey::Format(n)));
            tree.setSelectedItem(node);
            w.window.tree_NodeClick(node);
        }
    }
    // Elapsed time scaled from `count` notes to all of them.
    state.counters["all_notes_s"] = benchmark::Counter(double(count) / kNotes * double(state.iterations()),
                                                       benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_LoadNotesIntoEditor)->Arg(2000)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();

// One 2 KB body's text: the quick path against the RTF reader's model alone.
void BM_BodyTextQuick(benchmark::State& state) {
    const std::string body = body2k(7, true);
    for (auto _ : state) benchmark::DoNotOptimize(tamix::BodyText::of(body));
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(body.size()));
}
BENCHMARK(BM_BodyTextQuick);

// The decision for one note: its text read and searched (no case, no whole word).
void BM_BodyTextAndMatch(benchmark::State& state) {
    const std::string body = body2k(7, false);
    const tamix::SearchMatcher matcher(QString::fromLatin1(kWord), 0);
    for (auto _ : state) benchmark::DoNotOptimize(matcher.holdsHit(tamix::BodyText::of(body)));
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(body.size()));
}
BENCHMARK(BM_BodyTextAndMatch);

void BM_BodyReadByReader(benchmark::State& state) {
    const std::string body = body2k(7, true);
    for (auto _ : state) benchmark::DoNotOptimize(tamix::rtf::RtfReader().read(body));
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(body.size()));
}
BENCHMARK(BM_BodyReadByReader);

}  // namespace

BENCHMARK_MAIN();
