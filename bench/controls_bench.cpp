// Loading 100,000 notes into the tree view the way the tree loader does:
// Sorted set on the parent before each add and on every new node, then every
// node looked up by key.
#include <QApplication>
#include <QString>
#include <benchmark/benchmark.h>
#include <cstdint>
#include <vector>

#include "controls/rich_text_box.h"
#include "controls/tree_view.h"

namespace {

using tamix::controls::Node;
using tamix::controls::Relationship;
using tamix::controls::TreeView;

constexpr int kNodes = 100000;

QString keyOf(int number) {
    return QStringLiteral("k%1").arg(number, 10, 10, QLatin1Char('0'));
}

// Labels in a scrambled but repeatable order, with mixed case.
QString labelOf(int number) {
    std::uint32_t h = static_cast<std::uint32_t>(number) * 2654435761u;
    QString label = QStringLiteral("Note %1").arg(h % 1000003u);
    if (h & 1u) {
        label = label.toUpper();
    }
    return label;
}

// Parent number of each node 2..kNodes + 1 (node 1 is the root).
std::vector<int> parentsFor(int fanOut) {
    std::vector<int> parents(kNodes + 2, 0);
    for (int n = 2; n <= kNodes + 1; ++n) {
        parents[n] = fanOut == 0 ? 1 : 1 + (n - 2) / fanOut;
    }
    return parents;
}

void load(TreeView& view, const std::vector<int>& parents) {
    view.Nodes().Clear();
    Node* root = view.Nodes().Add(nullptr, 0, keyOf(1), "My Notes");
    root->setSorted(true);
    for (int n = 2; n <= kNodes + 1; ++n) {
        Node* parent = view.Nodes().Item(keyOf(parents[n]));
        parent->setSorted(true);
        Node* added = view.Nodes().Add(parent, Relationship::Child, keyOf(n), labelOf(n));
        added->setSorted(true);
    }
}

// fanOut children per parent (0 = all under the root).
void BM_TreeLoad(benchmark::State& state) {
    TreeView view;
    std::vector<int> parents = parentsFor(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        load(view, parents);
        int found = 0;
        for (int n = 1; n <= kNodes + 1; ++n) {
            found += view.Nodes().Find(keyOf(n)) != nullptr;
        }
        benchmark::DoNotOptimize(found);
        state.PauseTiming();
        view.Nodes().Clear();
        state.ResumeTiming();
    }
    state.counters["nodes"] = kNodes;
}
BENCHMARK(BM_TreeLoad)->Arg(300)->Arg(30)->Arg(0)->Unit(benchmark::kMillisecond)->Iterations(3);

// Removing one leaf from a full tree closes up the collection's indexes.
void BM_TreeRemoveLeaf(benchmark::State& state) {
    TreeView view;
    load(view, parentsFor(300));
    for (auto _ : state) {
        view.Nodes().Remove(view.Nodes().Count());
    }
}
BENCHMARK(BM_TreeRemoveLeaf)->Iterations(200)->Unit(benchmark::kMicrosecond);

// The editor's plain text of a note with 10,000 paragraphs (about 600 KB),
// as the link handling reads it after every change.
void BM_EditorTextOfLargeNote(benchmark::State& state) {
    tamix::controls::RichTextBox box;
    QString text;
    for (int i = 0; i < 10000; ++i) {
        text += QStringLiteral("Paragraph %1 with some words of text in it, and a little more.\r\n").arg(i);
    }
    box.setText(text);
    for (auto _ : state) {
        benchmark::DoNotOptimize(box.Text().size());
    }
}
BENCHMARK(BM_EditorTextOfLargeNote)->Unit(benchmark::kMillisecond);

// Setting and reading the selection deep inside the same note: every call
// maps between editor and document positions.
void BM_EditorSelectionInLargeNote(benchmark::State& state) {
    tamix::controls::RichTextBox box;
    QString text;
    for (int i = 0; i < 10000; ++i) {
        text += QStringLiteral("Paragraph %1 with some words of text in it, and a little more.\r\n").arg(i);
    }
    box.setText(text);
    int position = 0;
    for (auto _ : state) {
        position = (position + 7919) % 600000;
        box.select(position, 10);
        benchmark::DoNotOptimize(box.SelStart() + box.SelLength());
    }
}
BENCHMARK(BM_EditorSelectionInLargeNote)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
