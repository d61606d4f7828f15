#include "controls/key_codes.h"

#include <QKeyEvent>
#include <QString>

namespace tamix::controls {

namespace {

// The key of a US layout that types `c` (shifted or not), or 0.
int punctuationKey(char16_t c) {
    switch (c) {
    case u')': return 48;
    case u'!': return 49;
    case u'@': return 50;
    case u'#': return 51;
    case u'$': return 52;
    case u'%': return 53;
    case u'^': return 54;
    case u'&': return 55;
    case u'*': return 56;
    case u'(': return 57;
    case u';': case u':': return 186;
    case u'=': case u'+': return 187;
    case u',': case u'<': return 188;
    case u'-': case u'_': return 189;
    case u'.': case u'>': return 190;
    case u'/': case u'?': return 191;
    case u'`': case u'~': return 192;
    case u'[': case u'{': return 219;
    case u'\\': case u'|': return 220;
    case u']': case u'}': return 221;
    case u'\'': case u'"': return 222;
    default: return 0;
    }
}

int keypadKey(int key) {
    if (key >= Qt::Key_0 && key <= Qt::Key_9) {
        return 96 + (key - Qt::Key_0);
    }
    switch (key) {
    case Qt::Key_Asterisk: return 106;
    case Qt::Key_Plus: return 107;
    case Qt::Key_Minus: return 109;
    case Qt::Key_Period: case Qt::Key_Comma: return 110;
    case Qt::Key_Slash: return 111;
    case Qt::Key_Enter: case Qt::Key_Return: return 13;
    default: return 0;
    }
}

}  // namespace

int KeyCodes::code(const QKeyEvent& event) {
    return code(event.key(), event.modifiers(), event.text());
}

int KeyCodes::code(int key, Qt::KeyboardModifiers modifiers, const QString& text) {
    if (modifiers & Qt::KeypadModifier) {
        if (int k = keypadKey(key); k != 0) {
            return k;
        }
    }
    if (key >= Qt::Key_A && key <= Qt::Key_Z) {
        return key;  // Qt numbers letters as ASCII capitals, like the key codes
    }
    if (key >= Qt::Key_0 && key <= Qt::Key_9) {
        return key;
    }
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24) {
        return 112 + (key - Qt::Key_F1);
    }
    switch (key) {
    case Qt::Key_Backspace: return 8;
    case Qt::Key_Tab: case Qt::Key_Backtab: return 9;
    case Qt::Key_Return: case Qt::Key_Enter: return 13;
    case Qt::Key_Shift: return 16;
    case Qt::Key_Control: return 17;
    case Qt::Key_Alt: return 18;
    case Qt::Key_Pause: return 19;
    case Qt::Key_CapsLock: return 20;
    case Qt::Key_Escape: return 27;
    case Qt::Key_Space: return 32;
    case Qt::Key_PageUp: return 33;
    case Qt::Key_PageDown: return 34;
    case Qt::Key_End: return 35;
    case Qt::Key_Home: return 36;
    case Qt::Key_Left: return 37;
    case Qt::Key_Up: return 38;
    case Qt::Key_Right: return 39;
    case Qt::Key_Down: return 40;
    case Qt::Key_Insert: return 45;
    case Qt::Key_Delete: return 46;
    case Qt::Key_NumLock: return 144;
    case Qt::Key_ScrollLock: return 145;
    default: break;
    }
    if (key > 0 && key < 0x7f) {
        if (int k = punctuationKey(static_cast<char16_t>(key)); k != 0) {
            return k;
        }
    }
    if (typesCharacter(text)) {
        if (int k = punctuationKey(text.at(0).unicode()); k != 0) {
            return k;
        }
        return 192;
    }
    return 0;
}

bool KeyCodes::typesCharacter(const QString& text) {
    if (text.isEmpty()) {
        return false;
    }
    const QChar c = text.at(0);
    if (c.isHighSurrogate()) {
        return text.size() > 1 && text.at(1).isLowSurrogate();
    }
    return c.isPrint() || c == QLatin1Char('\t') || c.category() == QChar::Other_Format ||
           c.category() == QChar::Other_PrivateUse;
}

int KeyCodes::shiftState(Qt::KeyboardModifiers modifiers) {
    int state = 0;
    if (modifiers & Qt::ShiftModifier) {
        state |= kShift;
    }
    if (modifiers & Qt::ControlModifier) {
        state |= kCtrl;
    }
    if (modifiers & Qt::AltModifier) {
        state |= kAlt;
    }
    return state;
}

}  // namespace tamix::controls
