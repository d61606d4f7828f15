#pragma once

#include "shell/i_subclass.h"
#include "storage/tamix_error.h"

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
// ISubclass objects. While a window has at least one attachment it has one
// dispatching event filter, a child of the window, which owns the window's
// table: for each message, the attached objects in attachment order, each
// held by its lifetime guard, and the window's attachment count. The filter
// goes with the last detachment or with the window.
//
// An attached object destroyed without detaching is never called: it is
// dropped from the table, ending one attachment, the next time the table is
// used; the filter goes when that leaves no attachment.
//
// Dispatch of a message with n attached objects: the first object, when it
// pre-processes, lets the window's own handling run before it; every object
// runs in order; the last object, when it post-processes, lets the window's
// own handling run after it unless that has run already. The answer is the
// last one given. With no object for the message only the window's own
// handling runs. An object destroyed before its turn ends the dispatch with
// the window's own handling (unless that has run); one destroyed by its own
// call keeps its answer and does not post-process.
//
// Throws SubclassError: kInvalidWindow for a null window or object,
// kExternalWindow for a window owned by another thread, kCantSubclass when
// the filter cannot be installed, kAlreadyHandled when the object is already
// attached for the message (the refused attachment is not counted).
void AttachMessage(ISubclass* object, QObject* window, int message);

// Ends one attachment of the window, whether or not `object` is attached for
// `message`, and takes `object` off that message's list when it is there;
// the last attachment's end removes the filter and its table, leaving the
// window as it was before the first attachment. A window without
// attachments is left alone.
void DetachMessage(ISubclass* object, QObject* window, int message);

// The window's attachment count, all messages together (0 for a null window
// or one without attachments).
int AttachmentCount(QObject* window);

// The number of objects attached to the window for `message`.
int AttachedObjectCount(QObject* window, int message);

// True when the window belongs to the calling thread of this process.
bool IsWindowLocal(const QObject* window);

}  // namespace tamix
