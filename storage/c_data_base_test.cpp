#include "storage/c_data_base.h"

#include "storage/test_files.h"

#include <gtest/gtest.h>

namespace tamix {
namespace {

using test::block;
using test::readFile;
using test::writeFile;

Bytes pattern(std::size_t size, int seed) {
    Bytes b(size);
    for (std::size_t i = 0; i < size; ++i) b[i] = static_cast<std::uint8_t>(i * 7 + seed);
    return b;
}

class cDataBaseTest : public ::testing::Test {
protected:
    test::TempDir dir;
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

TEST_F(cDataBaseTest, BlocksMapToFileBytesFromOne) {
    const Bytes file = pattern(3072, 1);
    open(file);
    EXPECT_EQ(db.dbRecordCount(), 3);
    db.dbMoveLast();
    EXPECT_EQ(db.dbDataBlock(), block(file, 3));
    db.dbMovePrevious();
    EXPECT_EQ(db.dbDataBlock(), block(file, 2));
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

TEST_F(cDataBaseTest, WritingABlockRewritesExactlyItsBytesAndAShortArrayKeepsTheRest) {
    const Bytes before = pattern(3072, 3);
    open(before);
    db.dbGoto(2);
    const Bytes image = pattern(1024, 77);
    db.dbDataBlock(image);
    Bytes expected = before;
    std::copy(image.begin(), image.end(), expected.begin() + 1024);
    EXPECT_EQ(readFile(name), expected);
    EXPECT_EQ(db.dbDataBlock(), image);

    db.dbGoto(3);
    db.dbDataBlock(Bytes{1, 2, 3});
    EXPECT_EQ(db.dbDataBlock(), (Bytes{1, 2, 3}));
    std::copy_n(Bytes{1, 2, 3}.begin(), 3, expected.begin() + 2048);
    EXPECT_EQ(readFile(name), expected);
}

TEST_F(cDataBaseTest, BlockZeroIsRefused) {
    open();
    test::expectError([&] { db.dbMovePrevious(); }, kErrBadRecordNumber);
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

TEST_F(cDataBaseTest, ReadsInAnyOrderGiveTheFilesBlocks) {
    const int blocks = 700;  // well past what is kept in memory at once
    const Bytes file = pattern(static_cast<std::size_t>(blocks) * 1024, 8);
    open(file);
    auto expect = [&](int b) {
        db.dbGoto(b);
        ASSERT_EQ(db.dbDataBlock(), block(file, b)) << "block " << b;
    };
    for (int b = 1; b <= blocks; b += 3) expect(b);   // a scan, as an open walks the head blocks
    for (int b = blocks; b >= 1; b -= 5) expect(b);   // backwards
    for (int i = 0; i < 2000; ++i) expect(1 + (i * 7919) % blocks);
    db.dbGoto(blocks + 1);
    EXPECT_EQ(db.dbDataBlock(), Bytes(1024, 0));
}

TEST_F(cDataBaseTest, AReadAfterAWriteSeesTheWrite) {
    open(pattern(8 * 1024, 1));
    db.dbGoto(3);  // brings blocks 3 ... into memory
    db.dbPosition(4);
    db.dbDataBlock(pattern(1024, 40));
    db.dbGoto(5);
    db.dbGoto(4);
    EXPECT_EQ(db.dbDataBlock(), pattern(1024, 40));
    // A block past the end, read as zeros and then written, reads back written.
    db.dbGoto(9);
    EXPECT_EQ(db.dbDataBlock(), Bytes(1024, 0));
    db.dbAddNew();
    db.dbPosition(9);
    db.dbDataBlock(pattern(1024, 41));
    db.dbGoto(2);
    db.dbGoto(9);
    EXPECT_EQ(db.dbDataBlock(), pattern(1024, 41));
}

TEST_F(cDataBaseTest, AReadAfterAStoppedWriteSeesTheFileNotTheArray) {
    const Bytes file = pattern(4 * 1024, 2);
    open(file);
    db.dbGoto(2);
    db.dbWriteLimit(0);
    EXPECT_THROW(db.dbDataBlock(pattern(1024, 50)), TamixError);
    db.dbGoto(3);
    db.dbGoto(2);
    EXPECT_EQ(db.dbDataBlock(), block(file, 2));
}

TEST_F(cDataBaseTest, ARunOfBlocksIsWrittenInOneCallAsSingleWritesWouldBe) {
    Bytes file = pattern(3 * 1024, 3);
    open(file);
    const Bytes images[] = {pattern(1024, 60), pattern(1024, 61), pattern(1024, 62)};
    const std::uint8_t* run[] = {images[0].data(), images[1].data(), images[2].data()};
    db.dbGoto(2);
    db.dbAddNew();
    db.dbAddNew();
    db.dbDataBlocks(2, run, 3);  // rewrites blocks 2 and 3, grows the file by block 4
    file.resize(4 * 1024);
    for (int i = 0; i < 3; ++i) std::copy(images[i].begin(), images[i].end(), file.begin() + (1 + i) * 1024);
    EXPECT_EQ(readFile(name), file);
    EXPECT_EQ(db.dbWriteCount(), 3);
    EXPECT_EQ(db.dbCurrentRecord(), 4);
    EXPECT_EQ(db.dbDataBlock(), images[2]);
    db.dbGoto(3);
    EXPECT_EQ(db.dbDataBlock(), images[1]);
}

TEST_F(cDataBaseTest, TheWriteLimitStopsARunAtTheBlockItCounts) {
    const Bytes file = pattern(4 * 1024, 4);
    open(file);
    db.dbWriteLimit(2);
    const Bytes images[] = {pattern(1024, 70), pattern(1024, 71), pattern(1024, 72)};
    const std::uint8_t* run[] = {images[0].data(), images[1].data(), images[2].data()};
    test::expectError([&] { db.dbDataBlocks(2, run, 3); }, kErrDeviceIo);
    Bytes expected = file;
    std::copy(images[0].begin(), images[0].end(), expected.begin() + 1024);
    std::copy(images[1].begin(), images[1].end(), expected.begin() + 2048);
    EXPECT_EQ(readFile(name), expected);
    EXPECT_EQ(db.dbWriteCount(), 2);
    EXPECT_EQ(db.dbCurrentRecord(), 4);
    db.dbWriteLimit(-1);
    db.dbGoto(4);
    EXPECT_EQ(db.dbDataBlock(), block(file, 4));
}

}  // namespace
}  // namespace tamix
