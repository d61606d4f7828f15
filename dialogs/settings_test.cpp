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

TEST_F(SettingsTest, BooleansAreWrittenAsTrueAndFalse) {
    {
        Settings s(ini_);
        s.setBool("Startup", "Toolbars", true);
        s.setBool("Startup", "Status", false);
        s.setInt("Startup", "Split", 3000);
    }
    QFile f(ini_);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray text = f.readAll();
    EXPECT_TRUE(text.contains("[Startup]"));
    EXPECT_TRUE(text.contains("Toolbars=True"));
    EXPECT_TRUE(text.contains("Status=False"));
    EXPECT_TRUE(text.contains("Split=3000"));
}

TEST_F(SettingsTest, ValuesReadBackAfterReopening) {
    {
        Settings s(ini_);
        s.setString("Settings", "MRU1", "/home/a b/notes, old.TM2");
        s.setString("Settings", "Date Format", "yyyy.mm.dd");
        s.setInt("Startup", "Left", -120);
        s.setBool("Startup", "Status", false);
    }
    Settings s(ini_);
    EXPECT_EQ(s.getString("Settings", "MRU1", ""), "/home/a b/notes, old.TM2");
    EXPECT_EQ(s.getString("Settings", "Date Format", "x"), "yyyy.mm.dd");
    EXPECT_EQ(s.getInt16("Startup", "Left", 0), -120);
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
    bool b = false;
    EXPECT_TRUE(Settings::toBoolean(" true ", b));
    EXPECT_TRUE(b);
    EXPECT_TRUE(Settings::toBoolean("FALSE", b));
    EXPECT_FALSE(b);
    EXPECT_TRUE(Settings::toBoolean("-1", b));
    EXPECT_TRUE(b);
    EXPECT_FALSE(Settings::toBoolean("yes", b));
    EXPECT_FALSE(Settings::toBoolean("", b));
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
