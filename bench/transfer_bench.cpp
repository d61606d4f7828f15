// Export of a 10,000-note subtree into a new database, and import of a
// 10,000-note database below a note of the open one, with write barriers on
// as the program runs them. Each note has a 2 KB body and one note link.
#include <benchmark/benchmark.h>

#include "storage/c_node.h"
#include "storage/node_key.h"
#include "transfer/tree_export.h"
#include "transfer/tree_import.h"

#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

constexpr int kNotes = 10000;

fs::path workDir() {
    const char* tmp = std::getenv("TMPDIR");
    fs::path dir = fs::path(tmp ? tmp : "/tmp") / ("tamix-transfer-bench-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    return dir;
}

// A database whose note k2 has 99 children with 100 children each, so that
// k2's subtree is exactly kNotes notes.
void build(const std::string& path) {
    tamix::cNode node;
    node.Barriers(false);
    node.CreateFile(path);
    node.BeginBatch();
    const std::string body = "{\\rtf1\\ansi " + std::string(2048, 'x') + "}";
    int key = 2;
    const auto add = [&](const std::string& parent) {
        const std::string k = tamix::NodeKey::Format(key++);
        node.ClearNode();
        node.Key(k);
        node.Parent(parent);
        node.NodeText("Note " + std::to_string(key));
        node.SaveNewNode();
        node.LinkCount(1);
        node.LinkEnd(1, 4);
        node.LinkText(1, "link");
        node.LinkLink(1, "Note:" + tamix::NodeKey::Format(2));
        node.RTFData(body);
        node.SaveNode();
        return k;
    };
    const std::string top = add(tamix::NodeKey::kRoot);
    for (int i = 0; i < 99; ++i) {
        const std::string group = add(top);
        for (int j = 0; j < 100; ++j) add(group);
    }
    node.EndBatch();
}

void ExportSubtree(benchmark::State& state) {
    const fs::path dir = workDir();
    const std::string source = (dir / "source.TM2").string(), out = (dir / "out.TM2").string();
    build(source);
    tamix::cNode node;
    node.OpenFile(source);
    for (auto _ : state) {
        const auto items = tamix::TreeExport::Shape(node, tamix::NodeKey::Format(2), false);
        tamix::TreeExport::Write(node, items, out);
        state.counters["notes"] = static_cast<double>(items.size());
    }
    node.CloseFile();
    fs::remove_all(dir);
}

void ImportDatabase(benchmark::State& state) {
    const fs::path dir = workDir();
    const std::string other = (dir / "other.TM2").string(), main = (dir / "main.TM2").string();
    build(other);
    for (auto _ : state) {
        state.PauseTiming();
        {
            tamix::cNode fresh;
            fresh.CreateFile(main);
        }
        tamix::cNode node;
        node.OpenFile(main);
        std::int32_t maxKey = 1;
        state.ResumeTiming();
        const auto notes = tamix::TreeImport::Run(node, main, other, tamix::NodeKey::kRoot, maxKey);
        state.counters["notes"] = static_cast<double>(notes.size());
    }
    fs::remove_all(dir);
}

BENCHMARK(ExportSubtree)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();
BENCHMARK(ImportDatabase)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
