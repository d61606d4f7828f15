#pragma once

class QPaintDevice;
class QPoint;

namespace tamix::controls {

// Twips (1/1440 inch) and pixels of one screen. Twips per pixel = 1440 / the
// screen's logical DPI, rounded to the nearest integer and never below 1; a
// DPI of 0 or less (none known) counts as 96.
class Twips {
public:
    static constexpr int kPerInch = 1440;
    static constexpr int kFallbackDpi = 96;

    Twips(int dpiX, int dpiY);
    // The device's logical DPI on each axis (for a widget, its screen's).
    explicit Twips(const QPaintDevice& device);

    // Twips per pixel at `dpi`.
    static int perPixel(int dpi);

    int perPixelX() const { return perPixelX_; }
    int perPixelY() const { return perPixelY_; }

    // Pixels to twips, exactly.
    QPoint toTwips(const QPoint& pixels) const;
    // Twips to pixels, rounded to the nearest pixel (halves away from zero).
    int toPixelsX(int twips) const;
    int toPixelsY(int twips) const;

private:
    int perPixelX_;  // >= 1
    int perPixelY_;  // >= 1
};

}  // namespace tamix::controls
