#include "controls/key_codes.h"

#include <QKeyEvent>
#include <gtest/gtest.h>

namespace tamix::controls {
namespace {

// Shifted symbols report the key they are on, keypad keys are not the typing
// digits, and any other character key counts as a character key.
TEST(KeyCodesTest, CharacterKeysReportTheirKeyNotTheirCharacter) {
    const struct {
        int key;
        Qt::KeyboardModifiers modifiers;
        QString text;
        int code;
    } cases[] = {
        {Qt::Key_Exclam, Qt::ShiftModifier, "!", 49},     {Qt::Key_Question, Qt::ShiftModifier, "?", 191},
        {Qt::Key_5, Qt::KeypadModifier, "5", 101},         {Qt::Key_Enter, Qt::KeypadModifier, {}, 13},
        {Qt::Key_Eacute, {}, QString(QChar(0xE9)), 192},   {Qt::Key_unknown, {}, {}, 0},
    };
    for (const auto& c : cases) EXPECT_EQ(KeyCodes::code(c.key, c.modifiers, c.text), c.code) << c.key;
}

TEST(KeyCodesTest, ShiftStateSumsShiftCtrlAltAndIgnoresTheKeypad) {
    EXPECT_EQ(KeyCodes::shiftState({}), 0);
    EXPECT_EQ(KeyCodes::shiftState(Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::KeypadModifier), 7);
}

}  // namespace
}  // namespace tamix::controls
