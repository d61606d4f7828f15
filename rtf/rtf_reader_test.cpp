#include "rtf/rtf_reader.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace tamix::rtf {
namespace {

RtfDocument read(std::string_view rtf) {
    RtfReader reader;
    return reader.read(rtf);
}

const Run& firstRun(const RtfDocument& d) {
    return d.paragraphs.at(0).runs.at(0);
}

bool mentions(const RtfReader& reader, std::string_view what) {
    for (const std::string& s : reader.skipped()) {
        if (s.find(what) != std::string::npos) return true;
    }
    return false;
}

// --- text ---------------------------------------------------------------------

// An input and the plain text it reads as; `notes` are words the skip list
// must mention (an input with none must read without a note).
struct TextCase {
    const char* name;
    std::string rtf;
    std::string text;
    std::vector<std::string> notes = {};
};

class RtfReaderText : public ::testing::TestWithParam<TextCase> {};

TEST_P(RtfReaderText, ReadsAsItsPlainText) {
    RtfReader reader;
    EXPECT_EQ(reader.read(GetParam().rtf).plainText(), GetParam().text);
    for (const std::string& note : GetParam().notes) EXPECT_TRUE(mentions(reader, note)) << note;
    EXPECT_TRUE(!GetParam().notes.empty() || reader.skipped().empty()) << reader.skipped().front();
}

std::string nested(int depth, const std::string& inner) {
    return "{\\rtf1 " + std::string(std::size_t(depth), '{') + inner + std::string(std::size_t(depth), '}') + " after}";
}

INSTANTIATE_TEST_SUITE_P(
    Rows, RtfReaderText,
    ::testing::Values(
        TextCase{"EmptyParagraphsBetweenMarksAreKept", R"({\rtf1 a\par\par\par b\par})", "a\n\n\nb"},
        TextCase{"TableCellsBecomeParagraphs", R"({\rtf1\trowd\cellx1000\cellx2000\intbl a\cell b\cell\row after\par})",
                 "a\nb\nafter"},
        TextCase{"SpecialCharactersAndEscapes", R"({\rtf1 a\tab b\line c\~d\-e\_f\{g\}h\\i\emdash\lquote\rdblquote\bullet})",
                 "a\tb\nc\xC2\xA0" "d\xC2\xAD" "e\xE2\x80\x91" "f{g}h\\i\xE2\x80\x94\xE2\x80\x98\xE2\x80\x9D\xE2\x80\xA2"},
        TextCase{"HiddenTextIsKept", R"({\rtf1 shown {\v hidden} shown})", "shown hidden shown"},
        TextCase{"FieldsGiveTheirResultOnly", R"({\rtf1 see {\field{\*\fldinst HYPERLINK "http://x.org"}{\fldrslt here}} now})",
                 "see here now"},
        TextCase{"FootnoteMarksAreNumberedAndFootnoteTextSkipped",
                 R"({\rtf1 a{\super\chftn}{\footnote{\super\chftn} note} b{\chftn}{\footnote x}})", "a1 b2"},
        TextCase{"HexEscapesUseTheDocumentCodePage", R"({\rtf1\ansi\ansicpg1252 caf\'e9 \'80})", "caf\xC3\xA9 \xE2\x82\xAC"},
        TextCase{"FontCharsetChoosesTheCodePage",
                 R"({\rtf1\ansi\ansicpg1252{\fonttbl{\f0\fcharset0 A;}{\f1\fcharset204 B;}{\f2\fcharset238 C;}})"
                 R"(\f1\'cf\'f0\'e8\f2\'b3\f0\'e9})",
                 "\xD0\x9F\xD1\x80\xD0\xB8" "\xC5\x82" "\xC3\xA9"},
        // Shift-JIS 0x93 0xFA is U+65E5; the trail byte may also arrive as a plain character.
        TextCase{"DoubleByteCharactersSpanTwoEscapes",
                 R"({\rtf1\ansi\ansicpg932{\fonttbl{\f0\fcharset128 MS;}}\f0\'93\'fa\'83\'41})", "\xE6\x97\xA5\xE3\x82\xA2"},
        TextCase{"SymbolFontBytesArePrivateUseCharacters", R"({\rtf1{\fonttbl{\f0\fnil\fcharset2 Symbol;}}\f0 ab c\'b7})",
                 "\xEF\x81\xA1\xEF\x81\xA2 \xEF\x81\xA3\xEF\x82\xB7"},
        TextCase{"UnicodeEscapesSkipTheirFallback", R"({\rtf1\uc1\u8364?\u-3913 ?x{\uc2\u937\'3f\'3f}\uc0\u945 y})",
                 "\xE2\x82\xAC\xEF\x82\xB7x\xCE\xA9\xCE\xB1y"},
        TextCase{"FallbackSkippingStopsAtAGroupEnd", R"({\rtf1{\uc3\u937}abc})", "\xCE\xA9" "abc"},
        TextCase{"SurrogatePairsCombine", R"({\rtf1\u-10179?\u-8704?})", "\xF0\x9F\x98\x80"},
        TextCase{"LoneSurrogateBecomesReplacementCharacter", R"({\rtf1 a\u-10179?b})", "a\xEF\xBF\xBD" "b"},
        TextCase{"UnicodeTwinOfAnsiTextWins", R"({\rtf1 [{\upr{G}{\*\ud{\uc0\u915}}}]})", "[\xCE\x93]"},
        TextCase{"IgnorableAndKnownDestinationsKeepTheTextAround",
                 R"({\rtf1{\info{\title T}{\author A}}{\stylesheet{\s0 Normal;}}{\*\generator G;})"
                 R"(before{\*\madeup {\b inner}}after{\unknownword text}})",
                 "beforeaftertext", {"madeup"}},
        TextCase{"BlanksBeforeADestinationWordAreNotText", "{\\rtf1{  \\fonttbl{\\f0 F;}}x{ }y}", "x y"},
        TextCase{"EmptyInputGivesAnEmptyDocument", "", ""},
        TextCase{"NonRtfInputIsReadAsText", "just text", "just text", {"does not start"}},
        TextCase{"BytesBeforeTheHeaderAreSkipped", "\xEF\xBB\xBF{\\rtf1 ok}", "ok", {"before"}},
        TextCase{"ExtraClosingBracesAreIgnoredAndTextAfterKept", R"({\rtf1 a}} b})", "a b", {"unbalanced", "after the end"}},
        TextCase{"FileCutShortKeepsWhatWasRead", R"({\rtf1{\b bold\par more {\i ita)", "bold\nmore ita", {"open group"}},
        TextCase{"DeepNestingIsBoundedAndKeepsTheText", nested(100000, "deep"), "deep after", {"deeper"}},
        TextCase{"BinLengthPastTheEndIsCut", "{\\rtf1 a{\\pict\\pngblip\\bin999999999 xyz", "a", {"\\bin"}},
        TextCase{"HugeControlWordIsSkippedWithoutLosingTheText", "{\\rtf1 a\\" + std::string(10000, 'x') + " b}", "ab"},
        TextCase{"NulAndControlBytesAreDropped", std::string("{\\rtf1 a\0b\x01\x1f" "c\\'00d}", 19), "abcd"},
        TextCase{"BadHexEscapeIsReported", R"({\rtf1 a\'zzb})", "azzb", {"escape"}}),
    [](const ::testing::TestParamInfo<TextCase>& info) { return std::string(info.param.name); });

// --- paragraphs -------------------------------------------------------------

TEST(RtfReaderParagraphs, ParSplitsParagraphsAndOnlyATrailingMarkEndsTheDocumentWithOne) {
    const RtfDocument d = read(R"({\rtf1\ansi one\par two\par})");
    ASSERT_EQ(d.paragraphs.size(), 2u);
    EXPECT_EQ(d.plainText(), "one\ntwo");
    EXPECT_TRUE(d.endsWithParagraphMark);
    const RtfDocument unterminated = read(R"({\rtf1 one\par two})");
    ASSERT_EQ(unterminated.paragraphs.size(), 2u);
    EXPECT_FALSE(unterminated.endsWithParagraphMark);
}

TEST(RtfReaderParagraphs, FormatsAreReadFromTheParagraphWordsAndPersistUntilPard) {
    const RtfDocument d = read(
        R"({\rtf1\pard\qc\li720\ri360\fi-360\sb120\sa240\tx1440\tx2880 centred\par still\par\pard\qj just\par\pard\qr right\par)"
        R"(\pard left\par})");
    ASSERT_EQ(d.paragraphs.size(), 5u);
    const ParaFormat& p = d.paragraphs[0].format;
    EXPECT_EQ(p.alignment, Alignment::Center);
    EXPECT_EQ(p.leftIndent, 720);
    EXPECT_EQ(p.rightIndent, 360);
    EXPECT_EQ(p.firstIndent, -360);
    EXPECT_EQ(p.spaceBefore, 120);
    EXPECT_EQ(p.spaceAfter, 240);
    EXPECT_EQ(p.tabs, (std::vector<int>{1440, 2880}));
    EXPECT_EQ(d.paragraphs[1].format, p);
    EXPECT_EQ(d.paragraphs[2].format.alignment, Alignment::Justify);
    EXPECT_EQ(d.paragraphs[3].format.alignment, Alignment::Right);
    EXPECT_EQ(d.paragraphs[4].format, ParaFormat{});
}

TEST(RtfReaderParagraphs, RichEditBulletsSetBulletAndDropTheLabel) {
    const RtfDocument d = read(
        R"({\rtf1{\fonttbl{\f0\fswiss Arial;}{\f1\fnil\fcharset2 Symbol;}})"
        R"(\pard{\pntext\f1\'B7\tab}{\*\pn\pnlvlblt\pnf1\pnindent360{\pntxtb\'B7}}\fi-360\li720 first\par)"
        R"({\pntext\f1\'B7\tab}second\par\pard plain\par})");
    ASSERT_EQ(d.paragraphs.size(), 3u);
    EXPECT_EQ(d.paragraphs[0].format.list, ListStyle::Bullet);
    EXPECT_EQ(d.paragraphs[0].format.bulletIndent, 360);
    EXPECT_EQ(d.paragraphs[1].format.list, ListStyle::Bullet);
    EXPECT_FALSE(d.paragraphs[2].format.isList());
    EXPECT_EQ(d.plainText(), "first\nsecond\nplain");
}

TEST(RtfReaderParagraphs, WordProcessorListsKeepTheNumbersOfTheirLabels) {
    const RtfDocument d = read(
        R"({\rtf1{\listtext 1.\tab}\pard\ls1 one\par{\listtext\pard\plain 2.\tab}\pard\ls1 two\par)"
        R"(\pard gap\par{\listtext 3.\tab}\pard\ls1 three\par{\listtext (a)\tab}\pard\ls2 sub\par)"
        R"(\pard{\pntext\f0 IV)\tab}{\*\pn\pnlvlbody\pnf0\pnindent0\pnstart4\pnucrm{\pntxtb (}{\pntxta )}}four\par)"
        R"({\pntext\f0 V)\tab}five\par})");
    ASSERT_EQ(d.paragraphs.size(), 7u);
    ParaFormat decimal;
    decimal.list = ListStyle::Decimal;
    decimal.listAfter = ".";
    EXPECT_EQ(d.paragraphs[0].format, decimal);
    EXPECT_EQ(d.paragraphs[1].format, decimal);  // one run: its labels go 1, 2
    EXPECT_FALSE(d.paragraphs[2].format.isList());
    decimal.listStart = 3;
    EXPECT_EQ(d.paragraphs[3].format, decimal);
    EXPECT_EQ(d.paragraphs[4].format.list, ListStyle::LowerLetter);
    EXPECT_EQ(d.paragraphs[4].format.listBefore + d.paragraphs[4].format.listAfter, "()");
    ParaFormat roman;
    roman.list = ListStyle::UpperRoman;
    roman.listStart = 4;
    roman.listBefore = "(";
    roman.listAfter = ")";
    EXPECT_EQ(d.paragraphs[5].format, roman);
    EXPECT_EQ(d.paragraphs[6].format, roman);
    EXPECT_EQ(d.plainText(), "one\ntwo\ngap\nthree\nsub\nfour\nfive");
}

// --- characters -------------------------------------------------------------

TEST(RtfReaderCharacters, RaisedAndLoweredTextIsSuperscriptAndSubscript) {
    const RtfDocument d = read(R"({\rtf1 a{\super b}{\sub c}{\up6 d}{\dn4 e}\super f\nosupersub g{\up0 h}})");
    std::string seen;
    for (const rtf::Run& r : d.paragraphs.at(0).runs)
        seen += r.text() + (r.format.vertical == VerticalAlign::Super ? "^" : r.format.vertical == VerticalAlign::Sub ? "_" : "=");
    EXPECT_EQ(seen, "a=b^c_d^e_f^gh=");
}

TEST(RtfReaderCharacters, RunFormatsFollowTheControlWordsAndGroups) {
    const RtfDocument d = read(
        R"({\rtf1{\fonttbl{\f0\froman\fcharset0 Times New Roman;}{\f1\fswiss\fcharset0 Arial;}})"
        R"({\colortbl ;\red255\green0\blue0;\red0\green0\blue255;})"
        R"(\f0\fs20 plain {\b\i bold}{\ul\strike\f1\fs28\cf1\highlight2 marked}\protect locked\protect0  end\par})");
    const auto& runs = d.paragraphs.at(0).runs;
    ASSERT_EQ(runs.size(), 5u);
    EXPECT_EQ(runs[0].text(), "plain ");
    EXPECT_EQ(runs[0].format.font.name, "Times New Roman");
    EXPECT_EQ(runs[0].format.font.family, "roman");
    EXPECT_EQ(runs[0].format.halfPoints, 20);
    EXPECT_TRUE(runs[1].format.bold);
    EXPECT_TRUE(runs[1].format.italic);
    const CharFormat& m = runs[2].format;
    EXPECT_TRUE(m.underline && m.strike);
    EXPECT_FALSE(m.bold);
    EXPECT_EQ(m.font.name, "Arial");
    EXPECT_EQ(m.halfPoints, 28);
    EXPECT_EQ(m.color, (Color{255, 0, 0}));
    EXPECT_EQ(m.highlight, (Color{0, 0, 255}));
    EXPECT_TRUE(runs[3].format.protect);
    EXPECT_EQ(runs[3].text(), "locked");
    EXPECT_FALSE(runs[4].format.protect);
    EXPECT_EQ(runs[4].text(), " end");
}

TEST(RtfReaderCharacters, PlainResetsCharacterFormatToTheDefaultFont) {
    const RtfDocument d = read(R"({\rtf1\deff1{\fonttbl{\f0 Zero;}{\f1 One;}}\f0\b\fs40\ulc1 x\plain y})");
    const auto& runs = d.paragraphs.at(0).runs;
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_FALSE(runs[0].format.underline);  // an underline colour is not an underline
    EXPECT_EQ(runs[1].format.font.name, "One");
    EXPECT_EQ(runs[1].format.halfPoints, 24);
    EXPECT_FALSE(runs[1].format.bold);
}

// --- code pages and Unicode ---------------------------------------------------

TEST(RtfReaderEncoding, FontNamesDecodeInTheirCharsetAndJoinSurrogatePairs) {
    const RtfDocument d = read(
        R"({\rtf1{\fonttbl{\f0\fcharset204 \'c0\'f0;}{\f1\fcharset0 \u22909?X;}{\f2\fcharset0 A\u-10179?\u-8704?;}})"
        R"(\f0 a\f1 b\f2 c})");
    EXPECT_EQ(d.paragraphs[0].runs.at(0).format.font.name, "\xD0\x90\xD1\x80");
    EXPECT_EQ(d.paragraphs[0].runs.at(1).format.font.name, "\xE5\xA5\xBDX");
    EXPECT_EQ(d.paragraphs[0].runs.at(2).format.font.name, "A\xF0\x9F\x98\x80");
}

TEST(RtfReaderEncoding, UnmappableBytesNeverBecomeControlCharacters) {
    // 0x93 is a lead byte in code page 932; without a trail byte the converter substitutes 0x1A.
    const RtfDocument d = read(R"({\rtf1{\fonttbl{\f0\fcharset128 G;}}\f0\'93'x})");
    for (char c : d.plainText()) EXPECT_GE(static_cast<unsigned char>(c), 0x20u) << d.plainText();
}

// --- destinations -------------------------------------------------------------

TEST(RtfReaderDestinations, HexPictureIsReadWithItsSizes) {
    const RtfDocument d = read(
        "{\\rtf1 a{\\pict{\\*\\picprop x}\\pngblip\\picw10\\pich20\\picwgoal150\\pichgoal300\\picscalex50\\picscaley75\\bliptag7\n"
        "89504e47\r\n0d0a 1a0}b}");
    const auto& runs = d.paragraphs.at(0).runs;
    ASSERT_EQ(runs.size(), 3u);
    Picture p;
    p.format = PictureFormat::Png;
    p.width = 10;
    p.height = 20;
    p.goalWidth = 150;
    p.goalHeight = 300;
    p.scaleX = 50;
    p.scaleY = 75;
    p.data = std::string("\x89PNG\r\n\x1a", 7);  // the odd last digit is dropped
    p.extra = "\\bliptag7";
    EXPECT_EQ(std::get<Picture>(runs[1].content), p);
    EXPECT_EQ(d.plainText(), "ab");
}

TEST(RtfReaderDestinations, BinaryPictureDataMayHoldBraces) {
    const std::string data("{}\\\0\x01", 5);
    const RtfDocument d = read("{\\rtf1{\\pict\\wmetafile8\\picw5\\pich6\\bin5 " + data + "}z}");
    const Picture& p = std::get<Picture>(d.paragraphs.at(0).runs.at(0).content);
    EXPECT_EQ(p.format, PictureFormat::Wmf);
    EXPECT_EQ(p.formatParam, 8);
    EXPECT_EQ(p.data, data);
    EXPECT_EQ(d.plainText(), "z");
}

TEST(RtfReaderDestinations, WordPicturesComeFromShppictNotTheFallback) {
    const RtfDocument d = read(
        R"({\rtf1{\*\shppict{\pict\jpegblip ffd8}}{\nonshppict{\pict\wmetafile8 0100}}})");
    ASSERT_EQ(d.paragraphs.at(0).runs.size(), 1u);
    EXPECT_EQ(std::get<Picture>(firstRun(d).content).format, PictureFormat::Jpeg);
}

TEST(RtfReaderDestinations, ObjectIsKeptWholeWithItsResultPicture) {
    const std::string object =
        R"({\object\objemb\objw600\objh300{\*\objclass Paint.Picture}{\*\objdata 0102}{\result{\pict\emfblip\picwgoal600\pichgoal300 0a0b}}})";
    const RtfDocument d = read("{\\rtf1 x" + object + "y}");
    const auto& runs = d.paragraphs.at(0).runs;
    ASSERT_EQ(runs.size(), 3u);
    const EmbeddedObject& o = std::get<EmbeddedObject>(runs[1].content);
    EXPECT_EQ(o.rtf, object);
    EXPECT_EQ(o.width, 600);
    EXPECT_EQ(o.height, 300);
    ASSERT_TRUE(o.resultPicture.has_value());
    EXPECT_EQ(o.resultPicture->format, PictureFormat::Emf);
    EXPECT_EQ(o.resultPicture->data, "\x0a\x0b");
    EXPECT_EQ(d.plainText(), "xy");
}

TEST(RtfReaderDestinations, TablesInsideAnObjectDoNotRedefineTheDocumentsFonts) {
    const RtfDocument d = read(
        R"({\rtf1\ansicpg1252{\fonttbl{\f0 Outer;}}\f0 a{\object{\*\objdata{\rtf1\ansicpg932{\fonttbl{\f0 Inner;}}}}}b\'e9})");
    const auto& runs = d.paragraphs.at(0).runs;
    EXPECT_EQ(runs.back().format.font.name, "Outer");
    EXPECT_EQ(d.plainText(), "ab\xC3\xA9");
}

TEST(RtfReaderDestinations, TextBeforeASecondFontTableKeepsItsFont) {
    const RtfDocument d = read(R"({\rtf1{\fonttbl{\f0 First;}}\f0 a{\fonttbl{\f0 Second;}}b})");
    const auto& runs = d.paragraphs.at(0).runs;
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_EQ(runs[0].format.font.name, "First");
    EXPECT_EQ(runs[1].format.font.name, "Second");
}

// --- bad input ------------------------------------------------------------------

TEST(RtfReaderBadInput, ObjectCutShortIsDroppedNotKeptBroken) {
    RtfReader reader;
    const RtfDocument d = reader.read(R"({\rtf1 a{\object\objw1{\*\objdata 0102)");
    EXPECT_EQ(d.plainText(), "a");
    for (const rtf::Run& r : d.paragraphs.at(0).runs) EXPECT_TRUE(r.isText());
    EXPECT_TRUE(mentions(reader, "object"));
}

TEST(RtfReaderBadInput, StateBelowTheDepthLimitIsStillRestored) {
    std::string rtf = "{\\rtf1 ";
    rtf += std::string(RtfReader::kMaxDepth - 2, '{');
    rtf += "\\b x";
    rtf += std::string(RtfReader::kMaxDepth - 2, '}');
    rtf += "y}";
    const RtfDocument d = read(rtf);
    ASSERT_EQ(d.paragraphs.at(0).runs.size(), 2u);
    EXPECT_TRUE(d.paragraphs[0].runs[0].format.bold);
    EXPECT_FALSE(d.paragraphs[0].runs[1].format.bold);
}

TEST(RtfReaderBadInput, NumbersPastThirtyTwoBitsAreClamped) {
    const RtfDocument d = read(R"({\rtf1\li99999999999999999999\fs-99999999999999 x\par})");
    EXPECT_EQ(d.paragraphs.at(0).format.leftIndent, 2147483647);
    EXPECT_EQ(firstRun(d).format.halfPoints, 24);  // a size that is not positive falls back
}

TEST(RtfReaderBadInput, SkipListIsBoundedAndForgottenOnTheNextRead) {
    std::string rtf = "{\\rtf1 ";
    for (int i = 0; i < 1000; ++i) rtf += "}";
    RtfReader reader;
    reader.read(rtf);
    EXPECT_LE(reader.skipped().size(), 200u);
    EXPECT_NE(reader.skipped().back().find("more"), std::string::npos);
    reader.read(R"({\rtf1 fine})");  // reading again forgets the old list
    EXPECT_TRUE(reader.skipped().empty());
}

TEST(RtfReaderBadInput, BinaryGarbageNeverThrows) {
    std::string garbage;
    std::uint32_t x = 12345;
    for (int i = 0; i < 200000; ++i) {
        x = x * 1103515245u + 12345u;
        const char alphabet[] = "{}\\'*abinu0123456789- \x80\xff\n";
        garbage.push_back(alphabet[(x >> 16) % (sizeof alphabet - 1)]);
    }
    RtfReader reader;
    EXPECT_NO_THROW(reader.read("{\\rtf1 " + garbage));
}

}  // namespace
}  // namespace tamix::rtf
