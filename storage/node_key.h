#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tamix {

// Node keys: "k" followed by the key number in exactly ten decimal digits.
// Key number 1 is the root, which exists only in the tree.
class NodeKey {
public:
    static constexpr std::int32_t kRootNumber = 1;
    static constexpr const char* kRoot = "k0000000001";

    // "k" + number in ten digits; the number must not be negative.
    static std::string Format(std::int32_t number);
    // The numeric value of the characters from the second on (at most 255 of
    // them), read as a leading decimal number: blanks before and inside the
    // digits are skipped, anything else ends it; 0 when there are no digits.
    // The first character is not checked. Saturates far beyond 32 bits.
    static std::int64_t Number(std::string_view key);
};

}  // namespace tamix
