#include "controls/twips.h"

#include <QPaintDevice>
#include <QPoint>
#include <cmath>

namespace tamix::controls {

namespace {

int roundedPixels(int twips, int perPixel) {
    return static_cast<int>(std::lround(static_cast<double>(twips) / perPixel));
}

}  // namespace

Twips::Twips(int dpiX, int dpiY) : perPixelX_(perPixel(dpiX)), perPixelY_(perPixel(dpiY)) {}

Twips::Twips(const QPaintDevice& device) : Twips(device.logicalDpiX(), device.logicalDpiY()) {}

int Twips::perPixel(int dpi) {
    if (dpi <= 0) dpi = kFallbackDpi;
    // floor(1440 / dpi + 1/2) in integers.
    const int rounded = (2 * kPerInch + dpi) / (2 * dpi);
    return rounded < 1 ? 1 : rounded;
}

QPoint Twips::toTwips(const QPoint& pixels) const {
    return {pixels.x() * perPixelX_, pixels.y() * perPixelY_};
}

int Twips::toPixelsX(int twips) const { return roundedPixels(twips, perPixelX_); }

int Twips::toPixelsY(int twips) const { return roundedPixels(twips, perPixelY_); }

}  // namespace tamix::controls
