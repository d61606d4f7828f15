#include "storage/c_data_base.h"

#include "storage/test_files.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

namespace tamix {
namespace {

using namespace test;

Bytes pattern(std::size_t size, int seed) {
    Bytes b(size);
    for (std::size_t i = 0; i < size; ++i) b[i] = static_cast<std::uint8_t>(i * 7 + seed);
    return b;
}

class cDataBaseTest : public ::testing::Test {
protected:
    TempDir dir;
    std::string name = dir.file("blocks.TM2");
    cDataBase db;

    // Opens a file holding `initial` (no file at all when empty).
    void open(const Bytes& initial = {}) {
        if (!initial.empty()) writeFile(name, initial);
        db.dbFileName(name);
        db.dbOpen();
        ASSERT_TRUE(db.dbIsOpen());
    }
};

TEST_F(cDataBaseTest, EmptyFileOpensWithNoBlocksAndReadsZeros) {
    open();
    EXPECT_EQ(db.dbRecordCount(), 0);
    EXPECT_EQ(db.dbCurrentRecord(), 1);
    EXPECT_EQ(db.dbDataBlock(), Bytes(1024, 0));
}

TEST_F(cDataBaseTest, AddNewGrowsTheFileOnlyWhenTheBlockIsWritten) {
    open(pattern(3072, 2));
    db.dbAddNew();
    EXPECT_EQ(db.dbRecordCount(), 4);
    EXPECT_EQ(db.dbCurrentRecord(), 4);
    EXPECT_EQ(readFile(name).size(), 3072u);
    db.dbDataBlock(pattern(1024, 9));
    EXPECT_EQ(readFile(name).size(), 4096u);
}

TEST_F(cDataBaseTest, AShortArrayOverwritesTheStartOfTheBlockAndKeepsTheRest) {
    Bytes expected = pattern(3072, 3);
    open(expected);
    db.dbGoto(3);
    db.dbDataBlock(Bytes{1, 2, 3});
    EXPECT_EQ(db.dbDataBlock(), (Bytes{1, 2, 3}));
    std::copy_n(Bytes{1, 2, 3}.begin(), 3, expected.begin() + 2048);
    EXPECT_EQ(readFile(name), expected);
}

TEST_F(cDataBaseTest, BlockZeroIsRefused) {
    open();
    expectError([&] { db.dbMovePrevious(); }, kErrBadRecordNumber);
    EXPECT_EQ(db.dbCurrentRecord(), 0);
}

TEST_F(cDataBaseTest, AFailedOpenIsSilentAndSaysWhy) {
    db.dbFileName(dir.file("missing-folder/x.TM2"));
    db.dbOpen();
    EXPECT_FALSE(db.dbIsOpen());
    ASSERT_TRUE(db.dbOpenError().has_value());
    EXPECT_EQ(db.dbOpenError()->number(), kErrFileNotFound);
}

TEST_F(cDataBaseTest, ASecondOpenerIsRefusedWhileTheFirstHoldsTheFile) {
    open();
    EXPECT_TRUE(cDataBase::dbInUse(name));
    cDataBase second;
    second.dbFileName(name);
    second.dbOpen();
    EXPECT_FALSE(second.dbIsOpen());
    ASSERT_TRUE(second.dbOpenError().has_value());
    EXPECT_EQ(second.dbOpenError()->number(), kErrInUse);
    EXPECT_EQ(std::string(second.dbOpenError()->what()), "The database " + name + " is in use by another program");
    db.dbClose();
    EXPECT_FALSE(cDataBase::dbInUse(name));
    second.dbOpen();
    EXPECT_TRUE(second.dbIsOpen());
}

// Reads, single writes, runs of writes and writes stopped by the limit at
// random places of a file larger than the cache, mostly in short scans as the
// chunk store makes them: every read gives what the file holds, the file
// holds exactly the writes let through, and after each write the current
// record and the data block are those of the last block it reached.
TEST_F(cDataBaseTest, RandomReadsAndWritesSeeTheFileAsAByteArrayWould) {
    Bytes model = pattern(600 * 1024, 8);
    open(model);
    std::mt19937 rng(11);
    auto pick = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
    auto blockOf = [&](int b) { return b * 1024u <= model.size() ? block(model, b) : Bytes(1024, 0); };
    int at = 1;
    for (int step = 0; step < 3000; ++step) {
        SCOPED_TRACE("step " + std::to_string(step));
        const int blocks = static_cast<int>(model.size() / 1024);
        const int moves[] = {1, 1, 1, 1, 0, -1};
        at = pick(4) == 0 ? 1 + pick(blocks + 3) : std::clamp(at + moves[pick(6)], 1, blocks + 3);
        const int op = pick(10);  // 0-5 read, 6 single write, 7-9 a run
        if (op < 6) {
            db.dbGoto(at);
            ASSERT_EQ(db.dbDataBlock(), blockOf(at)) << "block " << at;
            continue;
        }
        const int count = op == 6 ? 1 : 1 + pick(4);
        std::vector<Bytes> images(static_cast<std::size_t>(count), Bytes(1024));
        std::vector<const std::uint8_t*> run;
        for (Bytes& image : images) {
            for (auto& byte : image) byte = static_cast<std::uint8_t>(rng());
            run.push_back(image.data());
        }
        const bool stop = pick(4) == 0;
        const int allowed = stop ? pick(count) : count;
        const long before = db.dbWriteCount();
        if (stop) db.dbWriteLimit(before + allowed);
        const auto write = [&] {
            if (op == 6) {
                db.dbPosition(at);
                db.dbDataBlock(images[0]);
            } else {
                db.dbDataBlocks(at, run.data(), run.size());
            }
        };
        if (stop)
            expectError(write, kErrDeviceIo);
        else
            write();
        db.dbWriteLimit(-1);
        for (int i = 0; i < allowed; ++i) {
            model.resize(std::max<std::size_t>(model.size(), (at + i) * 1024u), 0);
            std::copy(images[i].begin(), images[i].end(), model.begin() + (at + i - 1) * 1024);
        }
        EXPECT_EQ(db.dbWriteCount(), before + allowed);
        const int last = std::min(allowed, count - 1);
        EXPECT_EQ(db.dbCurrentRecord(), at + last);
        EXPECT_EQ(db.dbDataBlock(), images[last]);
        if (step % 500 == 0) {
            ASSERT_EQ(readFile(name), model);
        }
    }
    EXPECT_EQ(readFile(name), model);
}

}  // namespace
}  // namespace tamix
