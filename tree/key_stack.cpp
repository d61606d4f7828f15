#include "tree/key_stack.h"

#include "storage/tamix_error.h"

namespace tamix {

void KeyStack::PushKey(const QString& key) {
    if (count_ >= kCapacity)
        throw TamixError(kErrOutOfRange,
                         "More than 2000 notes are waiting to be placed in the tree; "
                         "the tree is too deep to load.");
    keys_[static_cast<std::size_t>(count_)] = key;
    ++count_;
}

QString KeyStack::PopKey() {
    if (count_ <= 0) throw TamixError(kErrOutOfRange, "No note is waiting to be placed in the tree.");
    --count_;
    return std::move(keys_[static_cast<std::size_t>(count_)]);
}

}  // namespace tamix
