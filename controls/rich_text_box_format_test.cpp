#include <QTest>
#include <gtest/gtest.h>

#include "controls/rich_text_box_fixture.h"

namespace tamix::controls {
namespace {

// --- Formats ---------------------------------------------------------------

TEST_F(RichTextBoxTest, CharacterFormatsReportMixedOverTheSelection) {
    box.setText("plain bold");
    box.select(6, 4);
    box.setSelBold(true);
    box.setSelFontName("Serif");
    box.setSelFontSize(14);
    box.setSelColor(0x00FF0000);  // blue
    EXPECT_EQ(box.SelColor(), std::optional<quint32>(0x00FF0000));
    box.select(3, 5);
    EXPECT_EQ(box.SelBold(), Tristate::Mixed);
    EXPECT_EQ(box.SelFontName(), std::nullopt);
    EXPECT_EQ(box.SelFontSize(), std::nullopt);
    EXPECT_EQ(box.SelColor(), std::nullopt);
    EXPECT_EQ(box.SelItalic(), Tristate::Off);
    box.setSelBold(true);
    EXPECT_EQ(box.SelBold(), Tristate::On);
    box.select(0, 2);
    EXPECT_EQ(box.SelColor(), std::optional<quint32>(0));
    EXPECT_EQ(box.SelFontName(), box.FontName());
}

TEST_F(RichTextBoxTest, CaretReportsTheTypingFormat) {
    box.setText("ab");
    box.select(0, 1);
    box.setSelItalic(true);
    box.setSelStart(1);  // after the italic "a"
    EXPECT_EQ(box.SelItalic(), Tristate::On);
    box.setSelItalic(false);
    QTest::keyClicks(&box, "x");
    box.select(1, 1);
    EXPECT_EQ(box.SelItalic(), Tristate::Off);
}

TEST_F(RichTextBoxTest, ParagraphFormatsCoverEveryTouchedParagraph) {
    box.setText("one\r\ntwo\r\nthree");
    box.select(0, 6);  // "one" and the first letters of "two"
    box.setSelAlignment(2);
    EXPECT_EQ(box.SelAlignment(), std::optional<int>(2));
    box.select(0, box.Text().size());
    EXPECT_EQ(box.SelAlignment(), std::nullopt);
    box.setSelBullet(true);
    EXPECT_EQ(box.SelBullet(), Tristate::On);
    box.setSelStart(12);
    box.setSelBullet(false);
    box.select(0, box.Text().size());
    EXPECT_EQ(box.SelBullet(), Tristate::Mixed);
}

TEST_F(RichTextBoxTest, IndentsAreTwipsAndReachTheRtf) {
    box.setText("para");
    box.setSelIndent(720);
    box.setSelHangingIndent(360);
    box.setSelRightIndent(144);
    EXPECT_EQ(box.SelIndent(), std::optional<double>(720));
    EXPECT_EQ(box.SelHangingIndent(), std::optional<double>(360));
    EXPECT_EQ(box.SelRightIndent(), std::optional<double>(144));
    std::string rtf = box.TextRTF();
    EXPECT_NE(rtf.find("\\li1080"), std::string::npos) << rtf;
    EXPECT_NE(rtf.find("\\fi-360"), std::string::npos) << rtf;
    box.setSelIndent(0);
    EXPECT_EQ(box.SelHangingIndent(), std::optional<double>(360));
}

TEST_F(RichTextBoxTest, BulletIndentIsKeptPerParagraph) {
    box.setText("item");
    box.setSelBullet(true);
    EXPECT_EQ(box.BulletIndent(), 360);
    box.setBulletIndent(540);
    EXPECT_EQ(box.BulletIndent(), 540);
    EXPECT_NE(box.TextRTF().find("\\pnindent540"), std::string::npos);
}

TEST_F(RichTextBoxTest, BaseFontGivesTheEmptyDocumentItsFont) {
    box.setFontName("DejaVu Serif");
    box.setFontSize(11);
    box.setText("");
    std::string rtf = box.TextRTF();
    EXPECT_NE(rtf.find("DejaVu Serif"), std::string::npos) << rtf;
    EXPECT_NE(rtf.find("\\fs22"), std::string::npos) << rtf;
    QTest::keyClicks(&box, "x");
    box.select(0, 1);
    EXPECT_EQ(box.SelFontSize(), std::optional<double>(11));
}

}  // namespace
}  // namespace tamix::controls
