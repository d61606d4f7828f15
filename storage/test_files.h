#pragma once

// Helpers for storage tests: a private temporary folder and whole-file access.

#include "storage/c_data_base.h"
#include "storage/c_node.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <string>

namespace tamix::test {

class TempDir {
public:
    TempDir() {
        std::string pattern = (std::filesystem::temp_directory_path() / "tamix-XXXXXX").string();
        path_ = mkdtemp(pattern.data());
    }
    ~TempDir() { std::filesystem::remove_all(path_); }
    std::string file(const std::string& name) const { return (path_ / name).string(); }

private:
    std::filesystem::path path_;
};

inline Bytes readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

inline void writeFile(const std::string& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// Block n (from 1) of a file image.
inline Bytes block(const Bytes& file, int n) {
    return Bytes(file.begin() + (n - 1) * 1024, file.begin() + n * 1024);
}

inline std::int32_t longAt(const Bytes& b, std::size_t offset) {
    return static_cast<std::int32_t>(b[offset] | (b[offset + 1] << 8) | (b[offset + 2] << 16) |
                                     (static_cast<std::uint32_t>(b[offset + 3]) << 24));
}

inline void putLong(Bytes& b, std::size_t offset, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) b[offset + i] = static_cast<std::uint8_t>(v >> (8 * i));
}

// The header block image: list ends, free-list head and journal state.
inline Bytes headerBlock(std::int32_t first, std::int32_t last, std::int32_t freeHead, char state = 'X') {
    Bytes h(1024, 0);
    putLong(h, 0, first);
    putLong(h, 4, last);
    putLong(h, 8, freeHead);
    h[12] = static_cast<std::uint8_t>(state);
    return h;
}

// A chunk's head block image holding (the first 1008 bytes of) `content`.
inline Bytes headBlock(std::int32_t previous, std::int32_t next, std::int32_t continuation, const Bytes& content) {
    Bytes b(1024, 0);
    putLong(b, 0, previous);
    putLong(b, 4, next);
    putLong(b, 8, continuation);
    putLong(b, 12, static_cast<std::uint32_t>(content.size() - 1));
    std::copy_n(content.begin(), std::min<std::size_t>(content.size(), 1008), b.begin() + 16);
    return b;
}

// Runs `f` and expects it to throw a TamixError numbered `number` whose
// message contains each of `words`.
template <class F>
void expectError(F&& f, int number, std::initializer_list<std::string> words = {}) {
    try {
        f();
        ADD_FAILURE() << "no error, expected " << number;
    } catch (const TamixError& e) {
        EXPECT_EQ(e.number(), number) << e.what();
        for (const std::string& w : words) EXPECT_NE(std::string(e.what()).find(w), std::string::npos) << e.what();
    }
}

// Adds a note as cNode's callers do: a new record, then its body, if any, in
// a second save.
inline void addNote(cNode& node, const std::string& key, const std::string& parent, const std::string& name,
                    const std::string& body = {}, bool deleted = false) {
    node.ClearNode();
    node.Key(key);
    node.Parent(parent);
    node.NodeText(name);
    node.Deleted(deleted);
    node.SaveNewNode();
    if (!body.empty()) {
        node.RTFData(body);
        node.SaveNode();
    }
}

// A new, empty database open in `node`; its writes are not flushed to the device.
class NodeFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        node.Barriers(false);
        node.CreateFile(name);
    }
    TempDir dir;
    std::string name = dir.file("notes.TM2");
    cNode node;
};

}  // namespace tamix::test
