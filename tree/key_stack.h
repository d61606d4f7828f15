#pragma once

#include <QString>
#include <array>

namespace tamix {

// The pending keys of a tree being filled: a stack of at most kCapacity
// keys. Pushing onto a full stack or popping an empty one fails with a
// TamixError instead of growing or reading past the end.
class KeyStack {
public:
    static constexpr int kCapacity = 2000;

    // Stores the key at index Count() and increments Count().
    void PushKey(const QString& key);
    // Answers the key at index Count() - 1 and decrements Count().
    QString PopKey();
    int Count() const { return count_; }
    bool Empty() const { return count_ == 0; }
    void Clear() { count_ = 0; }

private:
    std::array<QString, kCapacity> keys_;
    int count_ = 0;  // 0 ... kCapacity; keys_[0 .. count_ - 1] are pending
};

}  // namespace tamix
