#include "dialogs/settings.h"
#include "testing/temp_home.h"
#include "testing/test_app.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace tamix {
namespace {

class SettingsTest : public ::testing::Test {
protected:
    void SetUp() override { ini_ = dir_.filePath("t.ini"); }
    void writeIni(const QByteArray& text) {
        QFile f(ini_);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text);
    }
    QTemporaryDir dir_;
    QString ini_;
};

TEST_F(SettingsTest, ValuesAreWrittenAsTextAndReadBackAfterReopening) {
    {
        Settings s(ini_);
        s.setBool("Startup", "Toolbars", true);
        s.setBool("Startup", "Status", false);
        s.setInt("Startup", "Left", -120);
        s.setString("Settings", "MRU1", "/home/a b/notes, old.TM2");
    }
    QFile f(ini_);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray text = f.readAll();
    for (const char* line : {"[Startup]", "Toolbars=True", "Status=False", "Left=-120"})
        EXPECT_TRUE(text.contains(line)) << line;
    Settings s(ini_);
    EXPECT_EQ(s.getString("Settings", "MRU1", ""), "/home/a b/notes, old.TM2");
    EXPECT_EQ(s.getInt16("Startup", "Left", 0), -120);
    EXPECT_TRUE(s.getBool("Startup", "Toolbars", false));
    EXPECT_FALSE(s.getBool("Startup", "Status", true));
}

TEST_F(SettingsTest, MissingKeysAnswerTheDefaults) {
    Settings s(ini_);
    EXPECT_EQ(s.getString("Settings", "MRU3", ""), "");
    EXPECT_EQ(s.getInt16("Startup", "Height", 6000), 6000);
    EXPECT_TRUE(s.getBool("Startup", "Toolbars", true));
    EXPECT_EQ(s.getInt32("Startup", "LinkColour", 0xFF0000), 0xFF0000);
}

TEST_F(SettingsTest, TextThatDoesNotConvertFallsBackToTheDefault) {
    writeIni("[Startup]\nHeight=tall\nWidth=99999\nSplit=\nToolbars=maybe\nStatus=0\nTop=12.5\nLeft=13.5\n");
    Settings s(ini_);
    EXPECT_EQ(s.getInt16("Startup", "Height", 6000), 6000);
    EXPECT_EQ(s.getInt16("Startup", "Width", 8000), 8000);  // beyond 16 bits
    EXPECT_EQ(s.getInt16("Startup", "Split", 3000), 3000);
    EXPECT_TRUE(s.getBool("Startup", "Toolbars", true));
    EXPECT_FALSE(s.getBool("Startup", "Status", true));     // a number converts
    EXPECT_EQ(s.getInt16("Startup", "Top", 0), 12);         // half to even
    EXPECT_EQ(s.getInt16("Startup", "Left", 0), 14);
}

TEST(SettingsConversion, BooleanTextInAnyCaseAndNumbers) {
    const struct {
        const char* text;
        bool converts, value;
    } cases[] = {{" true ", true, true}, {"FALSE", true, false}, {"-1", true, true}, {"yes", false, false}, {"", false, false}};
    for (const auto& c : cases) {
        bool b = !c.value;
        EXPECT_EQ(Settings::toBoolean(c.text, b), c.converts) << c.text;
        if (c.converts) EXPECT_EQ(b, c.value) << c.text;
    }
}

TEST(SettingsConversion, IntegerRangeEdges) {
    qint64 v = 0;
    EXPECT_TRUE(Settings::toInteger("32767", -32768, 32767, v));
    EXPECT_EQ(v, 32767);
    EXPECT_FALSE(Settings::toInteger("32768", -32768, 32767, v));
    EXPECT_TRUE(Settings::toInteger("-32768", -32768, 32767, v));
    EXPECT_FALSE(Settings::toInteger("32767.5", -32768, 32767, v));  // rounds to 32768
    EXPECT_FALSE(Settings::toInteger("nan", -32768, 32767, v));
    EXPECT_FALSE(Settings::toInteger("1e400", -32768, 32767, v));
}

TEST(SettingsStore, TheDefaultStoreIsTamixInTheUsersConfigFolder) {
    testApp();
    Settings s;
    EXPECT_EQ(s.fileName(), QDir(TempHome::forProcess().configDir()).filePath("Tamix/Tamix.conf"));
}

}  // namespace
}  // namespace tamix
