#pragma once

#include <QString>
#include <optional>

namespace tamix {

// Lengths as the bullet and paragraph dialogs show and take them.
class LengthText {
public:
    // The length with two decimals ("0.50"); "" for a length that differs
    // over the selection.
    static QString Show(std::optional<double> length);
    // The number a box holds (blanks around it allowed, "." or the user's
    // decimal separator), or nothing when it is not a finite number.
    static std::optional<double> Parse(const QString& text);
};

}  // namespace tamix
