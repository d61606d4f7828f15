// Tamix's note storage against SQLite on the same work: create every note,
// open and read every header (what the tree loader reads), fetch a random
// body by key, rewrite a random body, delete a note. Notes carry about 2 KB
// of RTF. Tamix runs with and without write barriers, SQLite with WAL and
// synchronous=NORMAL or FULL. Databases are built under $TMPDIR (or /tmp);
// the 100,000-note Tamix database stays there for `tamix-tool tree`.

#include "storage/c_node.h"
#include "storage/node_key.h"

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <random>
#include <stdexcept>
#include <string>

namespace {

namespace fs = std::filesystem;
using tamix::cNode;
using tamix::NodeKey;

enum Engine { kTamixNoBarriers, kTamixBarriers, kSqliteNormal, kSqliteFull };

std::string scratch() {
    const char* t = std::getenv("TMPDIR");
    return t ? t : "/tmp";
}

std::string body(int i) {
    std::string b = "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Arial;}}\\f0\\fs20 Note " + std::to_string(i) + " ";
    while (b.size() < 2000) b += "lorem ipsum dolor sit amet \\b bold\\b0 ";
    return b + "\\par}";
}

std::string tamixFile(int n) { return scratch() + "/tamix-bench-" + std::to_string(n) + ".TM2"; }
std::string sqliteFile(int n) { return scratch() + "/tamix-bench-" + std::to_string(n) + ".sqlite"; }

void addTamix(cNode& node, int i) {
    node.ClearNode();
    node.Key(NodeKey::Format(i));
    node.Parent(NodeKey::kRoot);
    node.NodeText("Note " + std::to_string(i));
    node.RTFData(body(i));
    node.SaveNewNode();
}

void buildTamix(const std::string& file, int n, bool barriers) {
    fs::remove(file);
    cNode node;
    node.Barriers(barriers);
    node.CreateFile(file);
    for (int i = 2; i < n + 2; ++i) addTamix(node, i);
}

void exec(sqlite3* db, const std::string& sql) {
    char* error = nullptr;
    if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &error) != SQLITE_OK) {
        std::string message = error ? error : "?";
        sqlite3_free(error);
        throw std::runtime_error(message);
    }
}

sqlite3* openSqlite(const std::string& file, bool full) {
    sqlite3* db = nullptr;
    sqlite3_open(file.c_str(), &db);
    exec(db, "PRAGMA journal_mode=WAL");
    exec(db, full ? "PRAGMA synchronous=FULL" : "PRAGMA synchronous=NORMAL");
    return db;
}

struct Statement {
    sqlite3_stmt* s = nullptr;
    Statement(sqlite3* db, const char* sql) { sqlite3_prepare_v2(db, sql, -1, &s, nullptr); }
    ~Statement() { sqlite3_finalize(s); }
};

void addSqlite(Statement& insert, int i) {
    const std::string key = NodeKey::Format(i), name = "Note " + std::to_string(i), b = body(i);
    sqlite3_bind_text(insert.s, 1, key.c_str(), -1, SQLITE_TRANSIENT);
    sqlite3_bind_text(insert.s, 2, NodeKey::kRoot, -1, SQLITE_STATIC);
    sqlite3_bind_text(insert.s, 3, name.c_str(), -1, SQLITE_TRANSIENT);
    sqlite3_bind_blob(insert.s, 4, b.data(), static_cast<int>(b.size()), SQLITE_TRANSIENT);
    sqlite3_bind_blob(insert.s, 5, "", 0, SQLITE_STATIC);
    sqlite3_step(insert.s);
    sqlite3_reset(insert.s);
}

void buildSqlite(const std::string& file, int n, bool full) {
    for (const char* suffix : {"", "-wal", "-shm"}) fs::remove(file + suffix);
    sqlite3* db = openSqlite(file, full);
    exec(db, "CREATE TABLE notes (key TEXT PRIMARY KEY, parent TEXT, name TEXT, body BLOB, links BLOB)");
    exec(db, "CREATE INDEX notes_parent ON notes(parent)");
    {
        Statement insert(db, "INSERT INTO notes VALUES (?, ?, ?, ?, ?)");
        for (int i = 2; i < n + 2; ++i) addSqlite(insert, i);  // one transaction per note
    }
    sqlite3_close(db);
}

bool isTamix(Engine e) { return e == kTamixNoBarriers || e == kTamixBarriers; }

// The databases the read and write benchmarks start from, built once.
void ensureBuilt(Engine e, int n) {
    static std::map<std::pair<bool, int>, bool> built;
    if (built[{isTamix(e), n}]) return;
    if (isTamix(e))
        buildTamix(tamixFile(n), n, false);
    else
        buildSqlite(sqliteFile(n), n, false);
    built[{isTamix(e), n}] = true;
}

void Create(benchmark::State& state) {
    const auto e = static_cast<Engine>(state.range(0));
    const int n = static_cast<int>(state.range(1));
    const std::string file = scratch() + "/tamix-bench-create" + (isTamix(e) ? ".TM2" : ".sqlite");
    for (auto _ : state) {
        if (isTamix(e))
            buildTamix(file, n, e == kTamixBarriers);
        else
            buildSqlite(file, n, e == kSqliteFull);
    }
    state.counters["per_note_us"] = benchmark::Counter(static_cast<double>(n) * state.iterations(),
                                                       benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    state.counters["per_note_us"] = state.counters["per_note_us"] * 1e6;
}

void ReadHeaders(benchmark::State& state) {
    const auto e = static_cast<Engine>(state.range(0));
    const int n = static_cast<int>(state.range(1));
    ensureBuilt(e, n);
    std::size_t count = 0, indexBytes = 0, headerBytes = 0;
    for (auto _ : state) {
        count = 0;
        if (isTamix(e)) {
            cNode node;
            node.OpenFile(tamixFile(n));
            headerBytes = node.HeaderBytes();
            for (node.MoveFirst(); !node.AtEOF(); node.MoveNext()) {
                benchmark::DoNotOptimize(node.Deleted());
                benchmark::DoNotOptimize(node.Key());
                benchmark::DoNotOptimize(node.Parent());
                benchmark::DoNotOptimize(node.NodeText());
                ++count;
            }
            indexBytes = node.IndexBytes();
        } else {
            sqlite3* db = openSqlite(sqliteFile(n), e == kSqliteFull);
            {
                Statement select(db, "SELECT key, parent, name FROM notes");
                while (sqlite3_step(select.s) == SQLITE_ROW) {
                    benchmark::DoNotOptimize(sqlite3_column_text(select.s, 0));
                    benchmark::DoNotOptimize(sqlite3_column_text(select.s, 1));
                    benchmark::DoNotOptimize(sqlite3_column_text(select.s, 2));
                    ++count;
                }
            }
            sqlite3_close(db);
        }
    }
    if (count != static_cast<std::size_t>(n)) state.SkipWithError("wrong note count");
    if (isTamix(e)) {
        state.counters["index_bytes_per_note"] = static_cast<double>(indexBytes) / n;
        // Held from the open until the walk reaches the last record.
        state.counters["open_header_bytes_per_note"] = static_cast<double>(headerBytes) / n;
    }
}

// Runs `op` on a random existing note per iteration against an open database.
template <typename TamixOp, typename SqliteOp>
void onRandomNotes(benchmark::State& state, TamixOp tamixOp, SqliteOp sqliteOp) {
    const auto e = static_cast<Engine>(state.range(0));
    const int n = static_cast<int>(state.range(1));
    ensureBuilt(e, n);
    std::mt19937 rng(42);
    if (isTamix(e)) {
        cNode node;
        node.Barriers(e == kTamixBarriers);
        node.OpenFile(tamixFile(n));
        for (auto _ : state) tamixOp(state, node, 2 + static_cast<int>(rng() % n));
    } else {
        sqlite3* db = openSqlite(sqliteFile(n), e == kSqliteFull);
        for (auto _ : state) sqliteOp(state, db, 2 + static_cast<int>(rng() % n));
        sqlite3_close(db);
    }
}

void FetchBody(benchmark::State& state) {
    onRandomNotes(
        state,
        [](benchmark::State&, cNode& node, int i) {
            node.FindKey(NodeKey::Format(i));
            benchmark::DoNotOptimize(node.RTFData().size());
        },
        [](benchmark::State&, sqlite3* db, int i) {
            Statement select(db, "SELECT body FROM notes WHERE key = ?");
            const std::string key = NodeKey::Format(i);
            sqlite3_bind_text(select.s, 1, key.c_str(), -1, SQLITE_STATIC);
            sqlite3_step(select.s);
            benchmark::DoNotOptimize(sqlite3_column_bytes(select.s, 0));
        });
}

void RewriteBody(benchmark::State& state) {
    onRandomNotes(
        state,
        [](benchmark::State&, cNode& node, int i) {
            node.FindKey(NodeKey::Format(i));
            node.RTFData(body(i + 1));
            node.SaveNode();
        },
        [](benchmark::State&, sqlite3* db, int i) {
            Statement update(db, "UPDATE notes SET body = ? WHERE key = ?");
            const std::string key = NodeKey::Format(i), b = body(i + 1);
            sqlite3_bind_blob(update.s, 1, b.data(), static_cast<int>(b.size()), SQLITE_STATIC);
            sqlite3_bind_text(update.s, 2, key.c_str(), -1, SQLITE_STATIC);
            sqlite3_step(update.s);
        });
}

// Deletes a random note (timed) and puts it back (not timed).
void DeleteNote(benchmark::State& state) {
    using Clock = std::chrono::steady_clock;
    onRandomNotes(
        state,
        [](benchmark::State& s, cNode& node, int i) {
            const auto t0 = Clock::now();
            node.FindKey(NodeKey::Format(i));
            node.DeleteNode();
            s.SetIterationTime(std::chrono::duration<double>(Clock::now() - t0).count());
            addTamix(node, i);
        },
        [](benchmark::State& s, sqlite3* db, int i) {
            const std::string key = NodeKey::Format(i);
            const auto t0 = Clock::now();
            {
                Statement del(db, "DELETE FROM notes WHERE key = ?");
                sqlite3_bind_text(del.s, 1, key.c_str(), -1, SQLITE_STATIC);
                sqlite3_step(del.s);
            }
            s.SetIterationTime(std::chrono::duration<double>(Clock::now() - t0).count());
            Statement insert(db, "INSERT INTO notes VALUES (?, ?, ?, ?, ?)");
            addSqlite(insert, i);
        });
}

void engines(benchmark::internal::Benchmark* b, std::initializer_list<int> sizes) {
    for (int n : sizes)
        for (int e : {kTamixNoBarriers, kTamixBarriers, kSqliteNormal, kSqliteFull}) b->Args({e, n});
    b->ArgNames({"engine", "notes"})->Unit(benchmark::kMicrosecond);
}

}  // namespace

// engine: 0 Tamix without barriers, 1 Tamix with barriers, 2 SQLite NORMAL, 3 SQLite FULL.
BENCHMARK(Create)->Apply([](auto* b) { engines(b, {1000}); })->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(ReadHeaders)->Apply([](auto* b) { engines(b, {1000, 10000, 100000}); })->Unit(benchmark::kMillisecond);
BENCHMARK(FetchBody)->Apply([](auto* b) { engines(b, {1000, 10000, 100000}); });
BENCHMARK(RewriteBody)->Apply([](auto* b) { engines(b, {1000, 10000, 100000}); });
BENCHMARK(DeleteNote)->Apply([](auto* b) { engines(b, {1000, 10000, 100000}); })->UseManualTime();

BENCHMARK_MAIN();
