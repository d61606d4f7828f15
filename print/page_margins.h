#pragma once

#include <QtGlobal>

namespace tamix {

// A rectangle in twips, right and bottom exclusive.
struct TwipsRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int width() const { return right - left; }
    int height() const { return bottom - top; }
    bool operator==(const TwipsRect&) const = default;
};

// The page margins, whole inches, held for as long as the program runs. All
// four start at one inch; nothing changes them.
struct PageMargins {
    static constexpr int kTwipsPerInch = 1440;

    qint16 left = 1;
    qint16 right = 1;
    qint16 top = 1;
    qint16 bottom = 1;

    // The whole page of `width` x `height` twips: (0, 0, width, height).
    static TwipsRect pageRect(int width, int height) { return {0, 0, width, height}; }
    // Where the text goes on that page: the page less the margins.
    TwipsRect renderRect(int width, int height) const {
        return {left * kTwipsPerInch, top * kTwipsPerInch, width - right * kTwipsPerInch,
                height - bottom * kTwipsPerInch};
    }
};

}  // namespace tamix
