#include "controls/font_substitutes.h"

#include <QFont>
#include <QFontDatabase>
#include <QFontInfo>
#include <QRegularExpression>
#include <QTextCursor>
#include <algorithm>
#include <gtest/gtest.h>

#include "controls/rich_text_box.h"
#include "testing/test_app.h"

namespace tamix::controls {
namespace {

// --- Without the font database ----------------------------------------------

TEST(FontSubstitutesTest, BoxTextDropsTheFoundry) {
    const struct {
        const char* family;
        const char* shown;
    } cases[] = {
        {"C059 [UKWN]", "C059"},
        {"Standard Symbols PS [URW ]", "Standard Symbols PS"},
        {" DejaVu Sans ", "DejaVu Sans"},
        {"", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FontSubstitutes::boxText(QString::fromLatin1(c.family)), QString::fromLatin1(c.shown))
            << c.family;
    }
}

TEST(FontSubstitutesTest, SubstitutesAreTheInstalledCandidatesBestFirst) {
    FontSubstitutes subs({"DejaVu Sans", "Liberation Sans [1ASC]", "liberation sans [other]", "C059 [UKWN]"});
    EXPECT_EQ(subs.substitutes("MS Sans Serif"), QStringList({"Liberation Sans", "DejaVu Sans"}));
    EXPECT_EQ(subs.substitutes("arial"), subs.substitutes("Arial"));
    EXPECT_EQ(subs.substitutes("Times New Roman"), QStringList());  // no serif installed
    EXPECT_EQ(subs.substitutes("Comic Sans MS"), QStringList());
    EXPECT_EQ(FontSubstitutes::candidates("Comic Sans MS"), QStringList());
}

TEST(FontSubstitutesTest, EveryWindowsNameHasASubstituteFromTheBaseFonts) {
    // DejaVu and Liberation are the families the build installs.
    FontSubstitutes subs({"DejaVu Sans", "DejaVu Serif", "DejaVu Sans Mono", "Liberation Sans",
                          "Liberation Serif", "Liberation Mono"});
    for (const QString& name : FontSubstitutes::windowsNames()) {
        EXPECT_FALSE(subs.substitutes(name).isEmpty()) << name.toStdString();
    }
}

TEST(FontSubstitutesTest, BoxFamiliesFoldFoundriesAndAddTheWindowsNames) {
    FontSubstitutes subs({"C059 [UKWN]", "C059 [urw]", "dejavu sans", "DejaVu Sans", "Zed", "arimo"});
    const QStringList list = subs.boxFamilies();
    EXPECT_EQ(list.count("C059"), 1);
    EXPECT_EQ(list.filter(QRegularExpression("^dejavu sans$", QRegularExpression::CaseInsensitiveOption)).size(), 1);
    EXPECT_EQ(list.filter(QStringLiteral("[")), QStringList());
    for (const QString& name : FontSubstitutes::windowsNames())
        EXPECT_EQ(list.count(name), 1) << name.toStdString();
    EXPECT_EQ(list.size(), 4 + FontSubstitutes::windowsNames().size());
    EXPECT_TRUE(std::is_sorted(list.begin(), list.end(), [](const QString& a, const QString& b) {
        return QString::compare(a, b, Qt::CaseInsensitive) < 0;
    }));
    EXPECT_EQ(list.last(), QString("Zed"));
}

// --- With the installed fonts -----------------------------------------------

class InstalledFontSubstitutesTest : public WithTestApp, public ::testing::Test {
protected:
    void SetUp() override { subs.install(); }

    // The family that draws `family`, as the font box shows it.
    static QString drawnBy(const QString& family) {
        return FontSubstitutes::boxText(QFontInfo(QFont(family)).family());
    }

    FontSubstitutes subs;
};

TEST_F(InstalledFontSubstitutesTest, EachWindowsNameDrawsInItsFirstSubstitute) {
    QStringList installed;
    for (const QString& family : QFontDatabase::families()) installed << FontSubstitutes::boxText(family);
    for (const QString& name : FontSubstitutes::windowsNames()) {
        const QStringList families = subs.substitutes(name);
        if (families.isEmpty()) continue;
        // A Windows family that is installed draws in itself.
        const bool own = installed.contains(name, Qt::CaseInsensitive);
        EXPECT_EQ(drawnBy(name), own ? name : families.first()) << name.toStdString();
    }
}

TEST_F(InstalledFontSubstitutesTest, TheNoteKeepsItsOwnFontName) {
    EXPECT_EQ(QFont("Arial").family(), QString("Arial"));
    RichTextBox box;
    box.setTextRTF("{\\rtf1\\ansi{\\fonttbl{\\f0\\fswiss MS Sans Serif;}}\\f0\\fs17 note\\par}");
    box.select(0, 4);
    EXPECT_EQ(box.SelFontName(), std::optional<QString>("MS Sans Serif"));
    EXPECT_NE(box.TextRTF().find("MS Sans Serif;"), std::string::npos) << box.TextRTF();
    QTextCursor cursor(box.document());
    cursor.setPosition(1);
    const QString drawn = FontSubstitutes::boxText(QFontInfo(cursor.charFormat().font()).family());
    if (!subs.substitutes("MS Sans Serif").isEmpty()) {
        EXPECT_EQ(drawn, subs.substitutes("MS Sans Serif").first());
    }
}

TEST_F(InstalledFontSubstitutesTest, TheBoxListsEveryInstalledFamily) {
    const QStringList list = subs.boxFamilies();
    for (const QString& family : QFontDatabase::families())
        EXPECT_TRUE(list.contains(FontSubstitutes::boxText(family), Qt::CaseInsensitive)) << family.toStdString();
}

}  // namespace
}  // namespace tamix::controls
