#pragma once

#include <QEvent>
#include <QtGlobal>

namespace tamix {

// Message numbers the windows of this program exchange.
inline constexpr int kWmCopyData = 0x4A;  // a second instance's command line

// The three 32-bit fields a command-line message carries: dwData (always 0),
// the byte count, and the address of the bytes (code page 1252, no final zero;
// a single zero byte for an empty command line).
struct CopyDataStruct {
    quint32 dwData = 0;
    quint32 cbData = 0;
    const char* lpData = nullptr;
};

// A numbered message sent to a window object with QCoreApplication::sendEvent;
// the subclassing dispatch (subclass.h) routes it to attached handlers. The
// handlers' answer travels back in result().
class WindowMessage : public QEvent {
public:
    WindowMessage(int message, qintptr wParam, qintptr lParam);

    // The event type of every WindowMessage (registered once with Qt).
    static QEvent::Type eventType();

    int message() const { return message_; }
    qintptr wParam() const { return wParam_; }
    qintptr lParam() const { return lParam_; }
    qintptr result() const { return result_; }
    void setResult(qintptr result) { result_ = result; }

private:
    int message_;
    qintptr wParam_;
    qintptr lParam_;
    qintptr result_ = 0;
};

}  // namespace tamix
