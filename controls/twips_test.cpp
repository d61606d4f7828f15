#include "controls/twips.h"

#include <QImage>
#include <QPoint>
#include <gtest/gtest.h>

namespace tamix::controls {
namespace {

TEST(TwipsTest, PerPixelRoundsToTheNearestAndFallsBackTo96Dpi) {
    struct Case {
        int dpi;
        int perPixel;
    };
    const Case cases[] = {
        {96, 15}, {120, 12}, {144, 10},
        {250, 6},   // 5.76: integer division would give 5
        {0, 15},    // no DPI known
        {-1, 15},
        {2000, 1},  // 0.72 rounds up to 1
        {4000, 1},  // 0.36 would round to 0
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Twips::perPixel(c.dpi), c.perPixel) << c.dpi << " dpi";
        EXPECT_EQ(Twips(c.dpi, 96).perPixelX(), c.perPixel) << c.dpi << " dpi";
        EXPECT_EQ(Twips(96, c.dpi).perPixelY(), c.perPixel) << c.dpi << " dpi";
    }
}

TEST(TwipsTest, ConvertsEachAxisWithItsOwnScale) {
    const Twips twips(96, 250);  // 15 and 6 twips per pixel
    EXPECT_EQ(twips.toTwips(QPoint(20, 10)), QPoint(300, 60));
    EXPECT_EQ(twips.toTwips(QPoint(-2, 0)), QPoint(-30, 0));
    EXPECT_EQ(twips.toPixelsX(8000), 533);  // 533.3
    EXPECT_EQ(twips.toPixelsX(23), 2);      // 1.53
    EXPECT_EQ(twips.toPixelsX(22), 1);      // 1.47
    EXPECT_EQ(twips.toPixelsX(-23), -2);
    EXPECT_EQ(twips.toPixelsY(9), 2);       // 1.5, a half rounds away from zero
    EXPECT_EQ(twips.toPixelsY(8000), 1333); // 1333.3
}

TEST(TwipsTest, ReadsTheDevicesLogicalDpi) {
    QImage image(4, 4, QImage::Format_RGB32);
    image.setDotsPerMeterX(9843);  // 250 dpi
    image.setDotsPerMeterY(4724);  // 120 dpi
    const Twips twips(image);
    EXPECT_EQ(twips.perPixelX(), 6);
    EXPECT_EQ(twips.perPixelY(), 12);
}

}  // namespace
}  // namespace tamix::controls
