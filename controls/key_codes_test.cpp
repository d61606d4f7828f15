#include "controls/key_codes.h"

#include <QKeyEvent>
#include <gtest/gtest.h>

namespace tamix::controls {
namespace {

int code(int key, Qt::KeyboardModifiers mods = {}, const QString& text = {}) {
    return KeyCodes::code(key, mods, text);
}

TEST(KeyCodesTest, ShiftedSymbolsReportTheirKey) {
    EXPECT_EQ(code(Qt::Key_Exclam, Qt::ShiftModifier, "!"), 49);
    EXPECT_EQ(code(Qt::Key_ParenRight, Qt::ShiftModifier, ")"), 48);
    EXPECT_EQ(code(Qt::Key_Question, Qt::ShiftModifier, "?"), 191);
    EXPECT_EQ(code(Qt::Key_BraceLeft, Qt::ShiftModifier, "{"), 219);
    EXPECT_EQ(code(Qt::Key_QuoteDbl, Qt::ShiftModifier, "\""), 222);
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
