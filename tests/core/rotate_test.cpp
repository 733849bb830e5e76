#include "paint/rotate.h"

#include <gtest/gtest.h>

#include <cmath>
#include <stdexcept>

namespace {
// Every pixel different, and none of them the background used below.
QImage numbered(int w, int h) {
    QImage img(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            img.setPixel(x, y,
                         qRgb(x & 0xFF, y & 0xFF, 0x80 | ((x >> 8) & 7) | (((y >> 8) & 7) << 3)));
    return img;
}

constexpr TColor kBackground = 0x00123456;
const QRgb kBg = toQRgb(kBackground);

QImage turned(const QImage& src, double angle) {
    QImage img = src;
    RotateBitmap(img, kBackground, angle);
    return img;
}
} // namespace

TEST(RotateBitmap, QuarterAndHalfTurnsUndoEachOther) {
    for (const QSize size : {QSize(7, 5), QSize(100, 60), QSize(1, 9)}) {
        const QImage src = numbered(size.width(), size.height());
        EXPECT_EQ(turned(turned(src, 90), 270), src) << size.width() << "x" << size.height();
        EXPECT_EQ(turned(turned(src, 270), 90), src) << size.width() << "x" << size.height();
        EXPECT_EQ(turned(turned(src, 180), 180), src) << size.width() << "x" << size.height();
    }
}

TEST(RotateBitmap, QuarterTurnsMovePixelsAsOnScreen) {
    const int w = 100, h = 60;
    const QImage src = numbered(w, h);
    const QImage cw = turned(src, 90);
    ASSERT_EQ(cw.size(), QSize(60, 100));
    EXPECT_EQ(cw.pixel(59, 0), src.pixel(0, 0)); // top-left goes to the top-right corner
    const QImage ccw = turned(src, 270);
    ASSERT_EQ(ccw.size(), QSize(60, 100));
    EXPECT_EQ(ccw.pixel(0, 99), src.pixel(0, 0)); // and to the bottom-left the other way
    for (int y = 0; y < w; ++y)
        for (int i = 0; i < h; ++i) {
            ASSERT_EQ(cw.pixel(i, y), src.pixel(y, h - 1 - i)) << i << "," << y;
            ASSERT_EQ(ccw.pixel(i, y), src.pixel(w - 1 - y, i)) << i << "," << y;
        }
    const QImage half = turned(src, 180);
    ASSERT_EQ(half.size(), src.size());
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            ASSERT_EQ(half.pixel(x, y), src.pixel(w - 1 - x, h - 1 - y)) << x << "," << y;
}

TEST(RotateBitmap, FullTurnsChangeNothingAndTheResultIsRgb32) {
    const QImage src = numbered(13, 8);
    for (double a : {0.0, 360.0, 720.0, -360.0}) {
        const QImage out = turned(src, a);
        EXPECT_EQ(out, src) << a;
        EXPECT_EQ(out.format(), QImage::Format_RGB32);
    }
    QImage rgb888 = src.convertToFormat(QImage::Format_RGB888);
    RotateBitmap(rgb888, kBackground, 90);
    EXPECT_EQ(rgb888.format(), QImage::Format_RGB32);
    EXPECT_EQ(rgb888, turned(src, 90));
}

TEST(RotateBitmap, FractionalRightAngleTakesTheGeneralPath) {
    // Corners of 100 x 60 turned by 90.5 degrees span x -61..0 and y -1..100, so the result
    // is one pixel larger each way than a quarter turn, with background where nothing maps.
    const QImage out = turned(numbered(100, 60), 90.5);
    ASSERT_EQ(out.size(), QSize(61, 101));
    int background = 0;
    for (int y = 0; y < out.height(); ++y)
        for (int x = 0; x < out.width(); ++x)
            background += out.pixel(x, y) == kBg;
    EXPECT_GT(background, 0);
}

TEST(RotateBitmap, FortyFiveDegreesGrowsToTheCornersBox) {
    // 40 x 20: corners land at (0,0) (28,28) (14,42) (-14,14).
    const QImage src = numbered(40, 20);
    const QImage out = turned(src, 45);
    ASSERT_EQ(out.size(), QSize(42, 42));
    for (const QPoint c : {QPoint(0, 0), QPoint(41, 0), QPoint(0, 41), QPoint(41, 41)})
        EXPECT_EQ(out.pixel(c), kBg) << c.x() << "," << c.y();
    int covered = 0;
    for (int y = 0; y < out.height(); ++y)
        for (int x = 0; x < out.width(); ++x)
            covered += out.pixel(x, y) != kBg;
    // Nearest-neighbour sampling keeps the area of the picture, give or take its rim.
    EXPECT_NEAR(covered, 40 * 20, 60);
    // The source's top-left pixel sits where the turned (0, 0) corner lands: x = 14, y = 0.
    EXPECT_EQ(out.pixel(14, 0), src.pixel(0, 0));
}

TEST(RotateBitmap, CornersRoundHalvesToEven) {
    // 5 x 4 by 60 degrees: the corner (5, 0) lands at x = 2.5 exactly (cos 60 is 1/2 once
    // computed in extended precision), which rounds to 2, not 3; the others at -0.96 and
    // -3.46. So the result is 5 wide, not 6.
    EXPECT_EQ(turned(numbered(5, 4), 60).size(), QSize(5, 6));
}

TEST(RotateBitmap, NegativeTurnsTakeTheGeneralPathWithItsEdgeShift) {
    const int w = 9, h = 7;
    const QImage src = numbered(w, h);
    const QImage half = turned(src, -180);
    ASSERT_EQ(half.size(), src.size());
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const QRgb expected = (x == 0 || y == 0) ? kBg : src.pixel(w - x, h - y);
            ASSERT_EQ(half.pixel(x, y), expected) << x << "," << y;
        }
    // -90: the same one-pixel shift, on the top row this time.
    const QImage quarter = turned(src, -90);
    ASSERT_EQ(quarter.size(), QSize(h, w));
    for (int y = 0; y < w; ++y)
        for (int x = 0; x < h; ++x) {
            const QRgb expected = y == 0 ? kBg : src.pixel(w - y, x);
            ASSERT_EQ(quarter.pixel(x, y), expected) << x << "," << y;
        }
}

TEST(RotateBitmap, RejectsAnAngleThatIsNotANumber) {
    QImage img = numbered(4, 3);
    const QImage before = img;
    EXPECT_THROW(RotateBitmap(img, kBackground, std::nan("")), std::invalid_argument);
    EXPECT_THROW(RotateBitmap(img, kBackground, INFINITY), std::invalid_argument);
    EXPECT_EQ(img, before);
}
