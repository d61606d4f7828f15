#pragma once

#include <QtGlobal>
#include <memory>

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
    ISubclass() = default;
    // A copy is another object: it gets a guard of its own.
    ISubclass(const ISubclass&) {}
    ISubclass& operator=(const ISubclass&) { return *this; }
    virtual ~ISubclass() = default;

    virtual int MsgResponse() const = 0;
    virtual void setMsgResponse(int response) = 0;
    // Handles one message of `window`; the answer goes back to the sender
    // unless the window's own handling runs after it (kPostProcess).
    virtual qintptr WindowProc(QObject* window, int message, qintptr wParam, qintptr lParam) = 0;

    // Leads to this object until its ISubclass part is destroyed, then
    // expires. Whoever keeps an ISubclass without owning it keeps this.
    std::weak_ptr<ISubclass> lifetimeGuard() { return self_; }

private:
    // Points at this object and owns nothing (its deleter does nothing); the
    // only owner, so every guard expires when this object is destroyed.
    std::shared_ptr<ISubclass> self_{this, [](ISubclass*) {}};
};

}  // namespace tamix
