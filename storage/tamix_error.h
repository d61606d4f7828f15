#pragma once

#include <stdexcept>
#include <string>

namespace tamix {

// Error numbers carried by TamixError. They keep the numbering that the
// database's long-time users see in messages, so a report reads the same
// whatever layer raised it.
enum ErrorNumber : int {
    kErrInvalidCall = 5,      // an argument outside what the operation accepts
    kErrOverflow = 6,         // a number that does not fit its field
    kErrOutOfRange = 9,       // an index or a length outside its table or chunk
    kErrBadFileName = 52,     // a file that cannot be named or opened
    kErrFileNotFound = 53,
    kErrDeviceIo = 57,        // a read or write the device refused
    kErrPastEnd = 62,         // input past the end of a file
    kErrBadRecordNumber = 63, // a block number below 1 asked of the block file
    kErrPermission = 70,
    kErrPathAccess = 75,
    kErrCorrupt = 1000,       // a database whose structure is broken
    kErrCodePage = 1001,      // a character the single-byte code page cannot hold
    kErrInUse = 1002,         // a database another program holds open
    kErrCancel = 32755,       // the user cancelled a dialog; commands end silently
};

// The one exception type of the system: a number from ErrorNumber (or another
// layer's own) and a description written for the user.
class TamixError : public std::runtime_error {
public:
    TamixError(int number, const std::string& description);

    // The error's number; kErrCancel means the user cancelled.
    int number() const noexcept { return number_; }

private:
    int number_;  // never changes after construction
};

}  // namespace tamix
