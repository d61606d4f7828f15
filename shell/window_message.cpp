#include "shell/window_message.h"

namespace tamix {

WindowMessage::WindowMessage(int message, qintptr wParam, qintptr lParam)
    : QEvent(eventType()), message_(message), wParam_(wParam), lParam_(lParam) {}

QEvent::Type WindowMessage::eventType() {
    static const QEvent::Type type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return type;
}

}  // namespace tamix
