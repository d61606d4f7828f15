#pragma once

#include "shell/i_subclass.h"
#include "storage/tamix_error.h"

#include <QByteArray>
#include <string>

class QObject;

namespace tamix {

// Errors of the subclassing: number = code + 0x80040000 (as a signed 32-bit
// value), source = the executable's base name + ".WindowProc".
enum SubclassErrorCode : int {
    kCantSubclass = 13081,      // "Can't subclass window"
    kAlreadyHandled = 13082,    // "Message already handled by another class"
    kInvalidWindow = 13083,     // "Invalid window"
    kExternalWindow = 13084,    // "Can't modify external window"
};

class SubclassError : public TamixError {
public:
    SubclassError(SubclassErrorCode code, std::string source);
    // The number as raised: code + 0x80040000.
    static int numberFor(SubclassErrorCode code);
    const std::string& source() const { return source_; }

private:
    std::string source_;
};

// Sends the chosen WindowMessage numbers of a window object to attached
// ISubclass objects. The window gets one dispatching event filter while at
// least one attachment exists. All bookkeeping lives in the window's dynamic
// properties, with h = the window's handle in decimal and m = the message:
//   h             the dispatching filter ("previous procedure" holder)
//   "C" + h       number of attachments to the window, all messages together
//   h#mC          number of objects attached for message m
//   h#m#i         the i-th object (1-based) for message m, as its address
// so any number of clients and windows need no tables of their own.
//
// Throws SubclassError: kInvalidWindow for a null window, kExternalWindow for
// a window owned by another thread, kCantSubclass when the filter cannot be
// installed, kAlreadyHandled when the object is already attached for the
// message (the refused attachment is not counted).
void AttachMessage(ISubclass* object, QObject* window, int message);

// Stops sending `message` to `object`; the last detachment removes the filter
// and every property. Detaching an object that is not attached for the
// message leaves that message's list unchanged.
void DetachMessage(ISubclass* object, QObject* window, int message);

// True when the window belongs to the calling thread of this process.
bool IsWindowLocal(const QObject* window);

// The handle text used in the property names of `window`.
QByteArray WindowHandleText(const QObject* window);

}  // namespace tamix
