#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QMimeData>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

#include "controls/rich_text_box_fixture.h"
#include "storage/tamix_error.h"

namespace tamix::controls {
namespace {

// --- Find -------------------------------------------------------------------

// The matching itself is TextSearch's; here the box's text, range and flags
// reach it and a match becomes the selection.
TEST_F(RichTextBoxTest, FindSearchesTheBoxTextAndSelectsTheMatch) {
    box.setText("first\r\nThe Word and word");
    EXPECT_EQ(box.Find("word"), 11);
    EXPECT_EQ(box.SelStart(), 11);
    EXPECT_EQ(box.SelText(), QString("Word"));
    EXPECT_EQ(box.Find("word", 0, -1, RichTextBox::kFindMatchCase), 20);
    EXPECT_EQ(box.Find("WORD", 0, -1, RichTextBox::kFindMatchCase), -1);
    EXPECT_EQ(box.SelStart(), 20);  // a miss leaves the selection alone
    EXPECT_EQ(box.Find("Wor", 0, -1, RichTextBox::kFindWholeWord), -1);
    EXPECT_EQ(box.Find("word", 12, 23), -1);
    EXPECT_EQ(box.Find("word", 12, 24), 20);
}

// --- Files and clipboard -----------------------------------------------------

TEST_F(RichTextBoxTest, LoadFileReadsRtfEvenCutShortOrPlainText) {
    QTemporaryDir dir;
    auto load = [&](const char* name, const QByteArray& bytes) {
        QFile file(dir.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        file.close();
        box.LoadFile(file.fileName());
    };
    load("a.rtf", "{\\rtf1\\ansi {\\b bold}\\par next}");
    EXPECT_EQ(box.Text(), QString("bold\r\nnext"));
    box.select(0, 4);
    EXPECT_EQ(box.SelBold(), Tristate::On);

    box.setFontName("DejaVu Sans");
    load("b.txt", "caf\xE9\nline two\r\nend");  // Windows-1252, mixed breaks
    EXPECT_EQ(box.Text(), QString::fromUtf8("caf\xC3\xA9\r\nline two\r\nend"));
    box.select(0, 3);
    EXPECT_EQ(box.SelFontName(), std::optional<QString>("DejaVu Sans"));

    load("c.rtf", "{\\rtf1\\ansi {\\b kept text\\par second");  // cut short: what can be read loads
    EXPECT_EQ(box.Text(), QString("kept text\r\nsecond"));
}

TEST_F(RichTextBoxTest, LoadFileOfAMissingFileThrowsAndKeepsTheText) {
    box.setText("keep");
    try {
        box.LoadFile("/nonexistent/dir/x.rtf");
        FAIL() << "no error";
    } catch (const TamixError& e) {
        EXPECT_EQ(e.number(), kErrFileNotFound);
    }
    EXPECT_EQ(box.Text(), QString("keep"));
}

TEST_F(RichTextBoxTest, SaveFileWritesRtfThatLoadsBackOrCrLfText) {
    QTemporaryDir dir;
    box.setText("one\r\ntwo");
    box.select(0, 3);
    box.setSelUnderline(true);
    box.SaveFile(dir.filePath("x.rtf"), RichTextBox::kFileRtf);
    box.SaveFile(dir.filePath("x.txt"), RichTextBox::kFileText);
    QFile txt(dir.filePath("x.txt"));
    ASSERT_TRUE(txt.open(QIODevice::ReadOnly));
    EXPECT_EQ(txt.readAll(), QByteArray("one\r\ntwo"));
    RichTextBox other;
    other.LoadFile(dir.filePath("x.rtf"));
    EXPECT_EQ(other.Text(), box.Text());
    other.select(0, 3);
    EXPECT_EQ(other.SelUnderline(), Tristate::On);
    EXPECT_THROW(box.SaveFile(dir.filePath("x.bin"), 7), TamixError);
}

TEST_F(RichTextBoxTest, CopyPutsRtfAndCrLfTextOnTheClipboard) {
    box.setText("ab\r\ncd");
    box.select(1, 4);
    box.setSelBold(true);
    box.Copy();
    const QMimeData* mime = QApplication::clipboard()->mimeData();
    ASSERT_NE(mime, nullptr);
    EXPECT_EQ(mime->text(), QString("b\r\nc"));
    EXPECT_TRUE(mime->data("text/rtf").startsWith("{\\rtf"));
    RichTextBox other;
    other.Paste();
    EXPECT_EQ(other.Text(), QString("b\r\nc"));
    other.select(0, 1);
    EXPECT_EQ(other.SelBold(), Tristate::On);
}

TEST_F(RichTextBoxTest, DesktopDataCarriesNoProtectionAndUnixLineBreaks) {
    box.setText("ab\r\ncd\vef");
    box.select(1, 2);
    box.setSelProtected(true);
    box.select(0, box.TextLength());
    const std::unique_ptr<QMimeData> mime(box.desktopMimeData());
    EXPECT_EQ(mime->text(), QString("ab\ncd\nef"));
    EXPECT_FALSE(mime->data("text/rtf").contains("\\protect"));
    EXPECT_TRUE(std::unique_ptr<QMimeData>(box.selectionMimeData())->data("text/rtf").contains("\\protect"));
}

TEST_F(RichTextBoxTest, PastedPlainTextCountsItsBreaksAsTwo) {
    QApplication::clipboard()->setText("x\ny\n");
    box.Paste();
    EXPECT_EQ(box.Text(), QString("x\r\ny\r\n"));
    EXPECT_EQ(box.SelStart(), 6);
}

}  // namespace
}  // namespace tamix::controls
