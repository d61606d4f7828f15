#pragma once

#include <Qt>

class QKeyEvent;
class QString;

namespace tamix::controls {

// The key codes and shift state the editor's key events carry, mapped from
// Qt keys as a US keyboard numbers them: letters 65-90, digits 48-57,
// Backspace 8, Tab 9, Enter 13, Shift 16, Ctrl 17, Alt 18, Pause 19, Caps
// Lock 20, Escape 27, Space 32, Page Up/Down 33/34, End 35, Home 36, arrows
// 37-40, Insert 45, Delete 46, keypad digits 96-105 and operators 106-111,
// F1-F24 112-135, Num Lock 144, Scroll Lock 145, and the punctuation keys
// 186-192 and 219-222. A shifted symbol reports its key (Shift+1 = 49,
// "?" = 191). Any other key that types a character reports 192, like an
// extra character key; keys with no code report 0.
class KeyCodes {
public:
    static constexpr int kShift = 1;
    static constexpr int kCtrl = 2;
    static constexpr int kAlt = 4;

    static int code(const QKeyEvent& event);
    static int code(int qtKey, Qt::KeyboardModifiers modifiers, const QString& text);
    // 1 Shift + 2 Ctrl + 4 Alt.
    static int shiftState(Qt::KeyboardModifiers modifiers);
    // Whether a key's text is a character an editor types: a printable one,
    // a format character (zero-width joiners, direction marks), a
    // private-use character, a surrogate pair or a tab.
    static bool typesCharacter(const QString& text);
};

}  // namespace tamix::controls
