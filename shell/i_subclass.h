#pragma once

#include <QtGlobal>

class QObject;

namespace tamix {

// How an attached object takes part in a message (ISubclass::MsgResponse).
enum SubclassResponse : int {
    kConsume = 0,      // only the object runs; the window's own handling is skipped
    kPostProcess = 1,  // the object, then the window's own handling (its answer wins)
    kPreProcess = 2,   // the window's own handling, then the object (its answer wins)
};

// An object that receives chosen messages of a window (see AttachMessage).
class ISubclass {
public:
    virtual ~ISubclass() = default;
    virtual int MsgResponse() const = 0;
    virtual void setMsgResponse(int response) = 0;
    // Handles one message of `window`; the answer goes back to the sender
    // unless the window's own handling runs after it (kPostProcess).
    virtual qintptr WindowProc(QObject* window, int message, qintptr wParam, qintptr lParam) = 0;
};

}  // namespace tamix
