#include "rtf/rtf_writer.h"

#include <random>

#include <gtest/gtest.h>

#include "rtf/rtf_reader.h"

namespace tamix::rtf {
namespace {

RtfDocument reread(const RtfDocument& d) {
    RtfReader reader;
    RtfDocument back = reader.read(RtfWriter::write(d));
    EXPECT_TRUE(reader.skipped().empty()) << reader.skipped().front();
    return back;
}

CharFormat arial(int halfPoints = 20) {
    CharFormat f;
    f.font = Font{"Arial", "swiss", 0};
    f.halfPoints = halfPoints;
    return f;
}

Paragraph paragraph(std::initializer_list<rtf::Run> runs, CharFormat mark = arial()) {
    Paragraph p;
    p.markFormat = mark;
    for (const rtf::Run& r : runs) p.append(r);
    return p;
}

// A document of one paragraph holding `runs`.
RtfDocument single(std::initializer_list<rtf::Run> runs) {
    RtfDocument d;
    d.paragraphs.push_back(paragraph(runs));
    return d;
}

TEST(RtfWriterGolden, SmallDocumentIsWrittenByteForByte) {
    CharFormat bold = arial();
    bold.bold = true;
    CharFormat red = arial(24);
    red.color = Color{255, 0, 0};
    RtfDocument d = single({rtf::Run{arial(), "Hello "}, rtf::Run{bold, "bold"}});
    d.paragraphs.back().format.alignment = Alignment::Center;
    d.paragraphs.push_back(paragraph({rtf::Run{red, "caf\xC3\xA9 \xE2\x82\xAC \xCE\xA9 {x}\\"}}));
    d.endsWithParagraphMark = true;
    EXPECT_EQ(RtfWriter::write(d),
              "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}}\r\n"
              "{\\colortbl ;\\red255\\green0\\blue0;}\r\n"
              "\\viewkind4\\uc1\\pard\\qc\\f0\\fs20 Hello \\b bold\\b0\\par\r\n"
              "\\pard\\fs24\\cf1 caf\\'e9 \\'80 \\u937? \\{x\\}\\\\\\fs20\\cf0\\par\r\n"
              "}");
}

TEST(RtfWriterGolden, EmptyDocumentStillHasAFontTable) {
    EXPECT_EQ(RtfWriter::write(RtfDocument{}),
              "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fnil\\fcharset0;}}\r\n\\viewkind4\\uc1}");
}

// Text in a font, what its RTF must hold (or never hold) and that it reads back.
struct EscapeCase {
    const char* name;
    Font font;
    std::string text;
    std::string written;
    bool absent = false;
};

class RtfWriterText : public ::testing::TestWithParam<EscapeCase> {};

TEST_P(RtfWriterText, EscapesTextAndReadsItBack) {
    CharFormat f = arial();
    f.font = GetParam().font;
    const RtfDocument d = single({rtf::Run{f, GetParam().text}});
    const std::string rtf = RtfWriter::write(d);
    EXPECT_EQ(rtf.find(GetParam().written) == std::string::npos, GetParam().absent) << rtf;
    EXPECT_EQ(reread(d), d);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, RtfWriterText,
    ::testing::Values(
        EscapeCase{"ControlWordBeforeLettersOrDigitsGetsADelimiter", {"Arial", "swiss", 0},
                   "a\t1\t-2\xE2\x80\xA8word", "a\\tab 1\\tab -2\\line word"},
        EscapeCase{"CharactersOutsideTheCodePageUseUnicodeEscapes", {"Arial", "swiss", 0},
                   "\xF0\x9F\x98\x80 \xE4\xB8\xAD \xEF\xBF\xBF", "\\u-10179?\\u-8704? \\u20013? \\u-1?"},
        EscapeCase{"NonAnsiCharsetFontsNeverGetCodePageBytes", {"Arial", "swiss", 204}, "\xC3\xA9\xD0\x96", "\\'", true},
        EscapeCase{"SymbolFontTextKeepsItsPrivateUseCharacters", {"Symbol", "tech", 2}, "\xEF\x81\xA1 a\xEF\x82\xB7",
                   "\\'61 \\u97?\\'b7"}),
    [](const ::testing::TestParamInfo<EscapeCase>& info) { return std::string(info.param.name); });

TEST(RtfWriterCharacters, ControlCharactersAreDropped) {
    RtfDocument d = single({rtf::Run{arial(), std::string("a\x01\x1f" "b\r", 5)}});
    EXPECT_EQ(reread(d).plainText(), "ab");
}

TEST(RtfWriterParagraphs, BulletsAreWrittenAsRichEditWritesThem) {
    RtfDocument d = single({rtf::Run{arial(), "item"}});
    ParaFormat& p = d.paragraphs.back().format;
    p.list = ListStyle::Bullet;
    p.bulletIndent = 360;
    p.firstIndent = -360;
    p.leftIndent = 720;
    d.endsWithParagraphMark = true;
    const std::string rtf = RtfWriter::write(d);
    EXPECT_NE(rtf.find("{\\f1\\ftech\\fcharset2 Symbol;}"), std::string::npos) << rtf;
    EXPECT_NE(rtf.find("\\pard{\\pntext\\f1\\'b7\\tab}{\\*\\pn\\pnlvlblt\\pnf1\\pnindent360{\\pntxtb\\'b7}}\\fi-360\\li720"),
              std::string::npos) << rtf;
    EXPECT_EQ(reread(d), d);
}

TEST(RtfWriterParagraphs, NumberedListsAreWrittenAsRichEditWritesThem) {
    RtfDocument d = single({rtf::Run{arial(), "one"}});
    d.paragraphs.push_back(d.paragraphs.back());
    for (Paragraph& p : d.paragraphs) {
        p.format.list = ListStyle::Decimal;
        p.format.listAfter = ".";
    }
    d.endsWithParagraphMark = true;
    const std::string rtf = RtfWriter::write(d);
    EXPECT_NE(rtf.find("\\pard{\\pntext\\f0 1.\\tab}{\\*\\pn\\pnlvlbody\\pnf0\\pnindent0\\pnstart1\\pndec{\\pntxta .}}"),
              std::string::npos) << rtf;
    EXPECT_NE(rtf.find("\\par\r\n{\\pntext\\f0 2.\\tab}one"), std::string::npos) << rtf;
    EXPECT_EQ(reread(d), d);
}

TEST(RtfWriterPictures, PictureIsWrittenWithItsWordsAndReadBackUnchanged) {
    Picture p;
    p.format = PictureFormat::Wmf;
    p.formatParam = 8;
    p.width = 2540;
    p.height = 1270;
    p.goalWidth = 1440;
    p.goalHeight = 720;
    p.scaleX = 50;
    p.extra = "\\bliptag-12\\blipupi96";
    for (int i = 0; i < 300; ++i) p.data.push_back(char(i * 7));
    RtfDocument d = single({rtf::Run{arial(), "x"}, rtf::Run{arial(), p}});
    const std::string rtf = RtfWriter::write(d);
    EXPECT_NE(rtf.find("{\\pict\\bliptag-12\\blipupi96\\wmetafile8\\picw2540\\pich1270\\picwgoal1440\\pichgoal720\\picscalex50\r\n"
                       "00070e15"),
              std::string::npos) << rtf.substr(0, 400);
    EXPECT_EQ(reread(d), d);
}

TEST(RtfWriterPictures, PictureGroupAloneReadsAsADocumentWithThatPicture) {
    Picture p;
    p.format = PictureFormat::Jpeg;
    p.goalWidth = 100;
    p.data = "\xff\xd8\xff";
    const std::string group = RtfWriter::writePicture(p);
    EXPECT_EQ(group.rfind("{\\pict\\jpegblip", 0), 0u) << group;
    EXPECT_EQ(group.back(), '}');
    RtfReader reader;
    const RtfDocument d = reader.read(group);
    ASSERT_EQ(d.paragraphs.size(), 1u);
    EXPECT_EQ(std::get<Picture>(d.paragraphs[0].runs.at(0).content), p);
}

TEST(RtfWriterPictures, UnsafeExtraWordsAreNotWritten) {
    Picture p;
    p.extra = "}\\par injected{";
    p.data = "ab";
    RtfDocument d = single({rtf::Run{arial(), p}});
    RtfReader reader;
    const RtfDocument back = reader.read(RtfWriter::write(d));
    EXPECT_TRUE(reader.skipped().empty());
    EXPECT_EQ(back.plainText(), "");
}

TEST(RtfWriterObjects, ObjectGroupIsWrittenVerbatim) {
    const std::string object = "{\\object\\objemb\\objw10\\objh20{\\*\\objdata 0102}{\\result{\\pict\\pngblip 89}}}";
    RtfReader reader;
    const RtfDocument d = reader.read("{\\rtf1 a" + object + "b}");
    const std::string rtf = RtfWriter::write(d);
    EXPECT_NE(rtf.find(object), std::string::npos);
    EXPECT_EQ(reread(d), d);
}

TEST(RtfWriterObjects, ObjectReadsTheSameUnderAnyFallbackCount) {
    // The object is written where \uc1 holds; its \u inside the result picture
    // must skip as many bytes there as where it was first read.
    const std::string object = "{\\object\\objw10\\objh20{\\result{\\pict\\pngblip\\u66 00ab}}}";
    RtfReader reader;
    const RtfDocument underUc2 = reader.read("{\\rtf1\\uc2 a" + object + "b}");
    const RtfDocument plain = reader.read("{\\rtf1 a" + object + "b}");
    const auto& picture = std::get<EmbeddedObject>(underUc2.paragraphs.at(0).runs.at(1).content).resultPicture;
    ASSERT_TRUE(picture.has_value());
    EXPECT_EQ(underUc2, plain);
    EXPECT_EQ(reread(underUc2), underUc2);
}

// A random document of everything the model holds, in the model's normal form
// (the delete character among the pieces: code page 932 reads the byte 0x7F
// as another character).
RtfDocument randomDocument(std::mt19937& rng) {
    auto pick = [&](int n) { return int(rng() % unsigned(n)); };
    const Font fonts[] = {{"Arial", "swiss", 0}, {"Times New Roman", "roman", 0}, {"Courier", "modern", 0},
                          {"Symbol", "tech", 2}, {"MS Gothic", "modern", 128}, {"Verdana", "nil", 1}};
    const char* pieces[] = {"plain ", "caf\xC3\xA9", "\t", "\xE2\x80\xA8", "{", "}", "\\", "\xE2\x82\xAC",
                            "\xE4\xB8\xAD\xE6\x96\x87", "\xF0\x9F\x98\x80", "12", "-3", " ", "\xC2\xA0", "?", "\x7f"};
    const char* symbolPieces[] = {"\xEF\x81\xA1", " ", "\xEF\x82\xB7", "x", "\xCE\xA9"};
    RtfDocument d;
    const int paragraphs = 1 + pick(6);
    for (int i = 0; i < paragraphs; ++i) {
        Paragraph p;
        p.format.alignment = Alignment(pick(4));
        p.format.leftIndent = pick(3) * 360;
        p.format.rightIndent = pick(2) * 180;
        p.format.firstIndent = pick(3) * 360 - 360;
        p.format.spaceBefore = pick(2) * 120;
        p.format.spaceAfter = pick(2) * 200;
        if (pick(3) == 0) {
            p.format.list = ListStyle(1 + pick(6));
            p.format.bulletIndent = pick(2) * 360;
            if (p.format.isNumbered()) {
                p.format.listStart = 1 + pick(3);
                p.format.listBefore = pick(3) == 0 ? "(" : "";
                p.format.listAfter = pick(3) == 0 ? ")" : ".";
            }
        }
        for (int t = pick(3); t > 0; --t) p.format.tabs.push_back(720 * t);
        auto randomFormat = [&] {
            CharFormat f;
            f.font = fonts[pick(6)];
            f.halfPoints = 16 + 2 * pick(10);
            f.bold = pick(2);
            f.italic = pick(2);
            f.underline = pick(2);
            f.strike = pick(4) == 0;
            f.protect = pick(3) == 0;
            if (pick(2)) f.color = Color{std::uint8_t(pick(256)), std::uint8_t(pick(256)), 0};
            if (pick(4) == 0) f.highlight = Color{255, 255, std::uint8_t(pick(2) * 255)};
            f.vertical = pick(4) == 0 ? VerticalAlign(1 + pick(2)) : VerticalAlign::Normal;
            return f;
        };
        p.markFormat = randomFormat();
        const int runs = pick(6) + (i + 1 == paragraphs ? 1 : 0);
        for (int r = 0; r < runs; ++r) {
            const CharFormat f = randomFormat();
            if (pick(8) == 0) {
                Picture pict;
                pict.format = PictureFormat(pick(6));
                pict.goalWidth = pick(3000);
                pict.goalHeight = pick(3000);
                pict.data = std::string(std::size_t(pick(40)), char(pick(256)));
                p.append(rtf::Run{f, pict});
                continue;
            }
            std::string text;
            for (int k = 1 + pick(5); k > 0; --k) {
                text += f.font.charset == 2 ? symbolPieces[pick(5)] : pieces[pick(16)];
            }
            p.append(rtf::Run{f, text});
        }
        d.paragraphs.push_back(std::move(p));
    }
    d.endsWithParagraphMark = pick(2) == 0;
    return d;
}

TEST(RtfWriterRoundTrip, ModelToRtfToModelIsTheIdentity) {
    std::mt19937 rng(20240131);
    for (int i = 0; i < 500; ++i) {
        const RtfDocument d = randomDocument(rng);
        const RtfDocument back = reread(d);
        ASSERT_EQ(back, d) << "document " << i << ":\n" << RtfWriter::write(d);
    }
}

}  // namespace
}  // namespace tamix::rtf
