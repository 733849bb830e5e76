#include "base/rng.h"
#include "paint/stamp.h"

#include <gtest/gtest.h>

#include <chrono>
#include <set>

namespace {
const TColor kGrey = 0x00808080;
const QRgb kInk = qRgb(200, 30, 60);

// A full-size picture, opaque ink except a see-through 3 x 3 corner, so the key (pixel
// (1, 1)) is the white behind it.
QImage inkPicture(QRgb ink = kInk) {
    QImage img(kStampWidth, kStampHeight, QImage::Format_ARGB32);
    img.fill(ink);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 3; ++x)
            img.setPixel(x, y, qRgba(0, 0, 0, 0));
    return img;
}

QRect changedArea(const PageBitmapCanvas& page, TColor from) {
    QRect r;
    for (int y = 0; y < page.height(); ++y)
        for (int x = 0; x < page.width(); ++x)
            if (page.pixel(x, y) != from)
                r |= QRect(x, y, 1, 1);
    return r;
}

PageBitmapCanvas greyPage(int w = 400, int h = 400) {
    PageBitmapCanvas page(w, h);
    page.image.fill(toQRgb(kGrey));
    return page;
}
} // namespace

TEST(Stamp, ComposedThroughTheMaskOnWhite) {
    QImage pic(50, 40, QImage::Format_ARGB32); // smaller than a stamp
    pic.fill(qRgba(0, 0, 0, 0));
    pic.setPixel(10, 10, qRgba(0, 0, 255, 255));
    pic.setPixel(11, 10, qRgba(0, 255, 0, 0)); // masked out: its color must not show
    const QImage s = composeStamp(pic);
    ASSERT_EQ(s.size(), QSize(kStampWidth, kStampHeight));
    EXPECT_EQ(s.format(), QImage::Format_RGB32);
    EXPECT_EQ(s.pixel(10, 10), qRgb(0, 0, 255));
    EXPECT_EQ(s.pixel(11, 10), qRgb(255, 255, 255));
    EXPECT_EQ(s.pixel(100, 90), qRgb(255, 255, 255));
}

TEST(Stamp, FootprintKeepsItsSizeOnRightAnglesAndGrowsOtherwise) {
    const QPoint at(200, 200);
    struct Case {
        int angle;
        QSize size;
    } cases[] = {
        {0, {116, 103}},
        {90, {103, 116}},
        {180, {116, 103}},
        {270, {103, 116}},
        // 30 degrees: corners at (0,0) (100.5,58) (49,147.2) (-51.5,89.2); the exact half
        // -51.5 goes to the even -52, so the box is 152 x 147.
        {30, {152, 147}},
    };
    for (const Case& c : cases) {
        PageBitmapCanvas page = greyPage();
        const QRect reported = placeStamp(page, inkPicture(), c.angle, at);
        EXPECT_EQ(reported, QRect(at + kStampOffset, c.size)) << c.angle;
        const QRect ink = changedArea(page, kGrey);
        EXPECT_TRUE(reported.contains(ink)) << c.angle;
        if (c.angle % 90 == 0) {
            EXPECT_EQ(ink, reported) << c.angle;
        } else {
            // The turned picture spans nearly the whole box, but the box's corners are
            // white background, which is the key, so they leave the page alone.
            EXPECT_GE(ink.width(), c.size.width() - 2);
            EXPECT_GE(ink.height(), c.size.height() - 2);
            EXPECT_EQ(page.pixel(reported.left(), reported.top()), kGrey);
            EXPECT_EQ(page.pixel(reported.right(), reported.bottom()), kGrey);
        }
    }
}

TEST(Stamp, NoPixelOfTheKeyColorReachesThePage) {
    // Pixel (1, 1) is opaque blue, so blue is the key: the blue parts vanish while the
    // white left by the mask is drawn.
    QImage pic(kStampWidth, kStampHeight, QImage::Format_ARGB32);
    pic.fill(qRgba(0, 0, 0, 0));
    for (int y = 0; y < kStampHeight; ++y)
        for (int x = 0; x < kStampWidth; ++x) {
            if (x < 40 && y < 40)
                pic.setPixel(x, y, qRgb(0, 0, 255));
            else if ((x + y) % 3 == 0)
                pic.setPixel(x, y, kInk);
        }
    const TColor blue = fromQRgb(qRgb(0, 0, 255));
    for (const int angle : {0, 90, 137, 180, 270, 359}) {
        PageBitmapCanvas page = greyPage();
        placeStamp(page, pic, angle, {200, 200});
        int white = 0, ink = 0;
        for (int y = 0; y < page.height(); ++y)
            for (int x = 0; x < page.width(); ++x) {
                const TColor c = page.pixel(x, y);
                ASSERT_NE(c, blue) << angle << " at " << x << "," << y;
                white += c == clWhite;
                ink += c == fromQRgb(kInk);
            }
        EXPECT_GT(white, 0) << angle;
        EXPECT_GT(ink, 0) << angle;
    }
    // And with the usual white key, white never lands even where the turn uncovers.
    PageBitmapCanvas page = greyPage();
    placeStamp(page, inkPicture(), 45, {200, 200});
    EXPECT_FALSE(changedArea(page, kGrey).isEmpty());
    for (int y = 0; y < page.height(); ++y)
        for (int x = 0; x < page.width(); ++x)
            ASSERT_NE(page.pixel(x, y), clWhite) << x << "," << y;
}

TEST(Stamp, NearTheTopEdgeItIsClipped) {
    PageBitmapCanvas page = greyPage(300, 200);
    // The stamp's top is 70 above the pointer: rows -40 .. 62.
    const QRect r = placeStamp(page, inkPicture(), 0, {100, 30});
    EXPECT_EQ(r, QRect(80, 0, 116, 63));
    EXPECT_EQ(changedArea(page, kGrey), r);
    EXPECT_EQ(page.pixel(82, 0), fromQRgb(kInk)); // row 40 of the stamp, no longer see-through
}

TEST(Stamp, RandomDropPicksPicturesOfTheSetAtRandomAngles) {
    std::uint64_t tick = 1000;
    rng::SetClockForTest([&tick] { return tick += 7919; });
    const std::vector<QImage> set = {inkPicture(qRgb(200, 30, 60)), inkPicture(qRgb(30, 160, 40))};
    std::set<TColor> colors;
    std::set<std::pair<int, int>> sizes;
    for (int i = 0; i < 24; ++i) {
        PageBitmapCanvas page = greyPage();
        const QRect r = dropRandomStamp(page, set, {200, 200});
        EXPECT_EQ(r.topLeft(), QPoint(180, 130));
        sizes.insert({r.width(), r.height()});
        colors.insert(page.pixel(r.center().x(), r.center().y()));
    }
    EXPECT_EQ(colors, (std::set<TColor>{fromQRgb(qRgb(200, 30, 60)), fromQRgb(qRgb(30, 160, 40))}));
    EXPECT_GT(sizes.size(), 3u);

    PageBitmapCanvas page = greyPage();
    EXPECT_TRUE(dropRandomStamp(page, {}, {200, 200}).isEmpty());
    EXPECT_TRUE(changedArea(page, kGrey).isNull());
    rng::SetClockForTest([] {
        return std::uint64_t(std::chrono::high_resolution_clock::now().time_since_epoch().count());
    });
}
