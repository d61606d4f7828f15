#include "storage/c_chunks.h"

#include "storage/database_check.h"
#include "storage/test_files.h"

#include <gtest/gtest.h>

namespace tamix {
namespace {

using namespace test;

Bytes data(std::size_t size, int seed) {
    Bytes b(size);
    for (std::size_t i = 0; i < size; ++i) b[i] = static_cast<std::uint8_t>((i * 13 + seed) % 251 + 1);
    return b;
}

class ChunkStoreTest : public ::testing::Test {
protected:
    TempDir dir;
    std::string name = dir.file("db.TM2");
    cChunks store;

    // A new file of three chunks of `size` bytes each.
    void createThree(std::size_t size) {
        store.cCreateFile(name);
        for (int i = 0; i < 3; ++i) {
            store.cAddChunk();
            store.cChunkData(data(size, i));
        }
    }
    // The file's structure is sound and no block is lost (chunks here are
    // not node records, so records are not parsed).
    void expectClean() {
        store.dbClose();
        const auto report = DatabaseCheck::Run(name, false);
        EXPECT_TRUE(report.problems.empty()) << report.problems.front();
        EXPECT_EQ(report.lost, 0);
    }
};

TEST_F(ChunkStoreTest, AnEmptyFileOpensEmptyAndItsFirstChunkTakesBlockTwo) {
    writeFile(name, {});
    store.cOpenFile(name);
    EXPECT_EQ(store.cFirstChunk(), 0);
    store.cAddChunk();
    EXPECT_EQ(store.cCurrentChunkRec(), 2);
    const Bytes file = readFile(name);
    ASSERT_EQ(file.size(), 2048u);
    EXPECT_EQ(block(file, 1), headerBlock(2, 2, 0));
    EXPECT_EQ(block(file, 2), Bytes(1024, 0));
}

TEST_F(ChunkStoreTest, ANewDatabaseIsOneHeaderBlockAndItsSecondChunkTakesBlockThree) {
    store.cCreateFile(name);
    EXPECT_EQ(readFile(name), headerBlock(0, 0, 0));
    store.cAddChunk();
    store.cAddChunk();
    Bytes first(1024, 0), second(1024, 0);
    putLong(first, 4, 3);
    putLong(second, 0, 2);
    const Bytes file = readFile(name);
    EXPECT_EQ(block(file, 1), headerBlock(2, 3, 0));
    EXPECT_EQ(block(file, 2), first);
    EXPECT_EQ(block(file, 3), second);
}

TEST_F(ChunkStoreTest, AThousandAndNineBytesSpillIntoAContinuationBlock) {
    store.cCreateFile(name);
    store.cAddChunk();
    const Bytes fits = data(1008, 1);
    store.cChunkData(fits);
    EXPECT_EQ(readFile(name).size(), 3 * 1024u);  // one block for the data: 2 freed, 3 taken

    const Bytes spills = data(1009, 2);
    store.cChunkData(spills);  // takes 2 (free head) and a new block 4 for the last byte
    const Bytes file = readFile(name);
    EXPECT_EQ(block(file, 2), headBlock(0, 0, 4, spills));
    Bytes continuation(1024, 0);
    continuation[4] = spills[1008];
    EXPECT_EQ(block(file, 4), continuation);
    EXPECT_EQ(block(file, 1), headerBlock(2, 2, 3));
    EXPECT_EQ(store.cChunkData(), spills);
}

TEST_F(ChunkStoreTest, RewritingTakesANewHeadBlockAndFreesTheOld) {
    store.cCreateFile(name);
    store.cAddChunk();
    store.cAddChunk();
    store.cGoto(2);
    const Bytes first = data(40, 3);
    store.cChunkData(first);
    EXPECT_EQ(store.cCurrentChunkRec(), 4);
    Bytes file = readFile(name);
    EXPECT_EQ(block(file, 1), headerBlock(4, 3, 2));
    EXPECT_EQ(block(file, 4), headBlock(0, 3, 0, first));
    EXPECT_EQ(longAt(block(file, 3), 0), 4);
    EXPECT_EQ(longAt(block(file, 2), 0), 0);

    // The next rewrite takes block 2 back and frees block 4.
    const Bytes second = data(50, 4);
    store.cChunkData(second);
    EXPECT_EQ(store.cCurrentChunkRec(), 2);
    file = readFile(name);
    EXPECT_EQ(block(file, 1), headerBlock(2, 3, 4));
    EXPECT_EQ(block(file, 2), headBlock(0, 3, 0, second));
    expectClean();
}

TEST_F(ChunkStoreTest, DeletingTheOnlyChunkFreesItForTheNextAdd) {
    store.cCreateFile(name);
    store.cAddChunk();
    store.cDeleteChunk();
    EXPECT_EQ(block(readFile(name), 1), headerBlock(0, 0, 2));
    store.cAddChunk();
    EXPECT_EQ(store.cCurrentChunkRec(), 2);
    EXPECT_EQ(block(readFile(name), 1), headerBlock(2, 2, 0));
}

TEST_F(ChunkStoreTest, AFreedChainJoinsTheFreeListInChainOrder) {
    store.cCreateFile(name);
    store.cAddChunk();                 // 2
    store.cChunkData(data(10, 1));     // head 3, free 2
    store.cAddChunk();                 // takes 2
    store.cChunkData(data(2500, 2));   // head 4, continuations 5, 6; frees 2
    ASSERT_EQ(store.cCurrentChunkRec(), 4);
    store.cDeleteChunk();
    const Bytes file = readFile(name);
    EXPECT_EQ(longAt(block(file, 1), 8), 4);
    EXPECT_EQ(longAt(block(file, 4), 0), 5);
    EXPECT_EQ(longAt(block(file, 5), 0), 6);
    EXPECT_EQ(longAt(block(file, 6), 0), 2);
    EXPECT_EQ(longAt(block(file, 2), 0), 0);
    expectClean();
}

// The head block alone gives the first 1008 bytes; the whole chain gives all.
TEST_F(ChunkStoreTest, ChunksOfEverySizeReadBackWholeAndTheirHeaderFromTheHeadBlock) {
    const std::size_t sizes[] = {1, 35, 1007, 1008, 1009, 2028, 2029, 5000, 12345};
    store.cCreateFile(name);
    for (std::size_t size : sizes) {
        store.cAddChunk();
        store.cChunkData(data(size, static_cast<int>(size)));
    }
    store.cOpenFile(name);
    std::size_t i = 0;
    for (store.cMoveFirst(); store.cCurrentChunkRec() != 0; store.cMoveNext(), ++i) {
        const Bytes expected = data(sizes[i], static_cast<int>(sizes[i]));
        EXPECT_EQ(store.cChunkData(), expected);
        EXPECT_EQ(store.cChunkHeader(), Bytes(expected.begin(), expected.begin() + std::min<std::size_t>(sizes[i], 1008)));
    }
    EXPECT_EQ(i, 9u);
    expectClean();
}

TEST_F(ChunkStoreTest, TheListKeepsOrderOfAdditionWhateverIsRewritten) {
    store.cCreateFile(name);
    for (int i = 0; i < 5; ++i) {
        store.cAddChunk();
        store.cChunkData(Bytes(1, static_cast<std::uint8_t>(i)));
    }
    store.cMoveFirst();
    store.cMoveNext();
    store.cChunkData(data(3000, 100));  // chunk 1 grows into a chain
    store.cMoveLast();
    store.cMovePrevious();
    store.cDeleteChunk();             // chunk 3 goes
    std::vector<int> order;
    for (store.cMoveFirst(); store.cCurrentChunkRec() != 0; store.cMoveNext()) order.push_back(store.cChunkData()[0]);
    EXPECT_EQ(order, (std::vector<int>{0, data(3000, 100)[0], 2, 4}));
    store.cMoveFirst();
    store.cMovePrevious();
    EXPECT_EQ(store.cCurrentChunkRec(), 0);
}

TEST_F(ChunkStoreTest, TheChangeMarkIsBuiltOnTheChangedChunksHeadBlock) {
    store.cCreateFile(name);
    store.cAddChunk();
    store.cChunkData(data(900, 7));  // chunk at 3, block 2 free
    store.cAddChunk();               // chunk at 2
    store.cChunkData(data(900, 8));  // chunk at 4, block 2 free
    const Bytes before = readFile(name);
    store.cGoto(3);
    store.blockFile().dbWriteLimit(store.blockFile().dbWriteCount() + 1);
    EXPECT_THROW(store.cChunkData(data(20, 9)), TamixError);
    // Header image = chunk 3's head block with the journal fields on top;
    // the free head is the one after block 2 was taken for the new data.
    Bytes expected = block(before, 3);
    putLong(expected, 0, 3);
    putLong(expected, 4, 4);
    putLong(expected, 8, 0);
    expected[12] = 'O';
    std::copy_n(block(before, 3).begin(), 8, expected.begin() + 13);
    putLong(expected, 21, 3);
    EXPECT_EQ(block(readFile(name), 1), expected);
}

// Runs `change` with writes stopping after `writes` blocks, then reopens.
class InterruptedChange : public ChunkStoreTest {
protected:
    std::vector<Bytes> reopenedChunks() {
        cChunks reopened;
        reopened.cOpenFile(name);
        std::vector<Bytes> chunks;
        for (reopened.cMoveFirst(); reopened.cCurrentChunkRec() != 0; reopened.cMoveNext())
            chunks.push_back(reopened.cChunkData());
        EXPECT_EQ(block(readFile(name), 1)[12], 'X');
        return chunks;
    }
    void interrupt(long writes, const std::function<void()>& change) {
        store.blockFile().dbWriteLimit(store.blockFile().dbWriteCount() + writes);
        EXPECT_THROW(change(), TamixError);
        store.dbClose();
    }
};

TEST_F(InterruptedChange, AnAddCutShortIsUndoneAndItsBlockFreedAgain) {
    store.cCreateFile(name);
    store.cAddChunk();
    store.cChunkData(data(10, 1));  // chunk 3, free 2
    // The add takes block 2 from the free list and overwrites it with a chunk
    // image whose first bytes are a back link; the header keeps saying "A".
    interrupt(3, [&] { store.cAddChunk(); });
    EXPECT_EQ(block(readFile(name), 1)[12], 'A');
    EXPECT_EQ(reopenedChunks(), std::vector<Bytes>{data(10, 1)});
    const Bytes file = readFile(name);
    EXPECT_EQ(block(file, 1), headerBlock(3, 3, 2));
    EXPECT_EQ(longAt(block(file, 2), 0), 0);
    EXPECT_EQ(longAt(block(file, 3), 4), 0);
    expectClean();
}

TEST_F(InterruptedChange, ARewriteCutShortLeavesTheOldDataInPlace) {
    createThree(1500);
    store.cMoveFirst();
    store.cMoveNext();
    // Marked header, new chain written, neighbours relinked: then the stop.
    interrupt(7, [&] { store.cChunkData(data(4000, 9)); });
    EXPECT_EQ(block(readFile(name), 1)[12], 'O');
    EXPECT_EQ(reopenedChunks(), (std::vector<Bytes>{data(1500, 0), data(1500, 1), data(1500, 2)}));
    expectClean();
}

TEST_F(InterruptedChange, ADeleteCutShortPutsTheChunkBack) {
    createThree(1100);
    store.cMoveLast();
    interrupt(3, [&] { store.cDeleteChunk(); });
    EXPECT_EQ(reopenedChunks(), (std::vector<Bytes>{data(1100, 0), data(1100, 1), data(1100, 2)}));
    expectClean();
}

// A damaged file: the first three chunks written at 3 (+4), 5 (+6), 7 (+8),
// block 2 free, then one long written at `offset` in `block` (block 0: the
// file is replaced by `text` bytes, or cut short by 100 when `text` is 0).
struct Damage {
    const char* name;
    int block;
    std::size_t offset;
    std::uint32_t value;
    std::string words;  // what the kErrCorrupt message must say
    std::size_t text = 0;
};

class DamagedFile : public ChunkStoreTest, public ::testing::WithParamInterface<Damage> {};

TEST_P(DamagedFile, StopsTheOpenWithAMessageNamingTheFault) {
    const Damage& d = GetParam();
    createThree(1500);
    store.dbClose();
    Bytes file = readFile(name);
    if (d.block > 0)
        putLong(file, (d.block - 1) * 1024 + d.offset, d.value);
    else if (d.text > 0)
        file = Bytes(d.text, 'a');
    else
        file.resize(file.size() - 100);
    writeFile(name, file);
    expectError(
        [&] {
            store.cOpenFile(name);
            store.cWalk([&](std::int32_t c, const cChunks::Head&) {
                store.cGoto(c);
                store.cChunkData();
            });
        },
        kErrCorrupt, {d.words});
}

INSTANTIATE_TEST_SUITE_P(
    ChunkStore, DamagedFile,
    ::testing::Values(
        Damage{"ATextFileIsNotADatabase", 0, 0, 0, "is not a Tamix database", 2048},
        Damage{"APartialBlockIsReportedAsTruncated", 0, 0, 0, "truncated"},
        Damage{"ALinkPastTheEndNamesItsBlock", 5, 4, 99,
               "the next-chunk link in block 5 names block 99, past the end of the file"},
        Damage{"ALinkIntoTheHeaderIsRefused", 1, 0, 1, "points into the header block"},
        Damage{"AListLoopIsFoundWithinTheBlockCount", 7, 4, 3, "loop at block 3"},
        Damage{"AFreeListLoopIsFound", 2, 0, 2, "free list runs in a loop at block 2"},
        Damage{"ALengthTheFileCannotHoldIsRefusedBeforeAnyAllocation", 5, 12, 0x7FFFFFF0,
               "the chunk at block 5 claims"},
        Damage{"AChainEndingEarlyIsReported", 3, 8, 0, "the chain of chunk 3 ends after 1008 of its 1500 bytes"},
        Damage{"ABrokenBackLinkIsReported", 5, 0, 7, "chunk 5 links back to block 7 instead of 3"}),
    [](const ::testing::TestParamInfo<Damage>& info) { return std::string(info.param.name); });

TEST(ChunkNumbers, AFieldWithTheTopBitSetIsRefused) {
    EXPECT_THROW(cChunks::LongToBytes(-1), TamixError);
    const std::uint8_t big[] = {0xFF, 0xFF, 0xFF, 0x7F};
    EXPECT_EQ(cChunks::BytesToLong(big), 2147483647);
    const std::uint8_t top[] = {0, 0, 0, 0x80};
    EXPECT_THROW(cChunks::BytesToLong(top), TamixError);
}

}  // namespace
}  // namespace tamix
