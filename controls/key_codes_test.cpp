#include "controls/key_codes.h"

#include <QKeyEvent>
#include <gtest/gtest.h>

namespace tamix::controls {
namespace {

int code(int key, Qt::KeyboardModifiers mods = {}, const QString& text = {}) {
    return KeyCodes::code(key, mods, text);
}

TEST(KeyCodesTest, LettersAndDigitsKeepTheirAsciiCapitals) {
    EXPECT_EQ(code(Qt::Key_A, {}, "a"), 65);
    EXPECT_EQ(code(Qt::Key_Z, Qt::ShiftModifier, "Z"), 90);
    EXPECT_EQ(code(Qt::Key_X, Qt::ControlModifier, "\x18"), 88);
    EXPECT_EQ(code(Qt::Key_0, {}, "0"), 48);
    EXPECT_EQ(code(Qt::Key_9, {}, "9"), 57);
}

TEST(KeyCodesTest, ShiftedSymbolsReportTheirKey) {
    EXPECT_EQ(code(Qt::Key_Exclam, Qt::ShiftModifier, "!"), 49);
    EXPECT_EQ(code(Qt::Key_ParenRight, Qt::ShiftModifier, ")"), 48);
    EXPECT_EQ(code(Qt::Key_Question, Qt::ShiftModifier, "?"), 191);
    EXPECT_EQ(code(Qt::Key_BraceLeft, Qt::ShiftModifier, "{"), 219);
    EXPECT_EQ(code(Qt::Key_QuoteDbl, Qt::ShiftModifier, "\""), 222);
}

TEST(KeyCodesTest, UsPunctuationKeys) {
    const std::pair<int, int> keys[] = {
        {Qt::Key_Semicolon, 186}, {Qt::Key_Equal, 187},      {Qt::Key_Comma, 188},
        {Qt::Key_Minus, 189},     {Qt::Key_Period, 190},     {Qt::Key_Slash, 191},
        {Qt::Key_QuoteLeft, 192}, {Qt::Key_BracketLeft, 219}, {Qt::Key_Backslash, 220},
        {Qt::Key_BracketRight, 221}, {Qt::Key_Apostrophe, 222},
    };
    for (auto [key, expected] : keys) {
        EXPECT_EQ(code(key, {}, QString(QChar(key))), expected) << key;
    }
}

TEST(KeyCodesTest, EditingAndNavigationKeys) {
    EXPECT_EQ(code(Qt::Key_Delete), 46);
    EXPECT_EQ(code(Qt::Key_Backspace), 8);
    EXPECT_EQ(code(Qt::Key_Return), 13);
    EXPECT_EQ(code(Qt::Key_Enter), 13);
    EXPECT_EQ(code(Qt::Key_Space, {}, " "), 32);
    EXPECT_EQ(code(Qt::Key_Tab, {}, "\t"), 9);
    EXPECT_EQ(code(Qt::Key_Left), 37);
    EXPECT_EQ(code(Qt::Key_Down), 40);
    EXPECT_EQ(code(Qt::Key_F1), 112);
    EXPECT_EQ(code(Qt::Key_Control, Qt::ControlModifier), 17);
}

TEST(KeyCodesTest, KeypadKeysAreNotTypingDigits) {
    EXPECT_EQ(code(Qt::Key_5, Qt::KeypadModifier, "5"), 101);
    EXPECT_EQ(code(Qt::Key_Asterisk, Qt::KeypadModifier, "*"), 106);
    EXPECT_EQ(code(Qt::Key_Enter, Qt::KeypadModifier), 13);
}

TEST(KeyCodesTest, OtherCharacterKeysCountAsCharacterKeys) {
    EXPECT_EQ(code(Qt::Key_Eacute, {}, QString(QChar(0xE9))), 192);
    EXPECT_EQ(code(Qt::Key_unknown), 0);
}

TEST(KeyCodesTest, ShiftStateSumsShiftCtrlAlt) {
    EXPECT_EQ(KeyCodes::shiftState({}), 0);
    EXPECT_EQ(KeyCodes::shiftState(Qt::ShiftModifier), 1);
    EXPECT_EQ(KeyCodes::shiftState(Qt::ControlModifier), 2);
    EXPECT_EQ(KeyCodes::shiftState(Qt::AltModifier), 4);
    EXPECT_EQ(KeyCodes::shiftState(Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier |
                                   Qt::KeypadModifier),
              7);
}

}  // namespace
}  // namespace tamix::controls
