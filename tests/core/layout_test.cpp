#include "library/pageload.h"

#include <gtest/gtest.h>

// Pages are fitted whole into the area less a 20-pixel margin, aspect kept, centred.
TEST(PageLayout, FitsEveryShapeInsideTheMargins) {
    const QSize area(900, 500); // room: 860 x 460
    struct Case {
        QSize page;
        QRect expected;
    } cases[] = {
        {{600, 800}, QRect(277, 20, 345, 460)},   // upright: height decides
        {{1200, 400}, QRect(20, 107, 860, 286)},  // wide landscape: width decides
        {{800, 200}, QRect(20, 142, 860, 215)},   // narrow landscape no wider than the area
        {{50, 50}, QRect(220, 20, 460, 460)},     // tiny page is enlarged
        {{4000, 3000}, QRect(143, 20, 613, 460)}, // larger than the area is reduced
    };
    for (const Case& c : cases) {
        const QRect r = layoutPage(c.page, area);
        EXPECT_EQ(r, c.expected) << c.page.width() << "x" << c.page.height();
        EXPECT_GE(r.left(), 20);
        EXPECT_GE(r.top(), 20);
        EXPECT_LE(r.right(), 900 - 21);
        EXPECT_LE(r.bottom(), 500 - 21);
    }
}

TEST(PageLayout, TinyAreaStillGivesAPixel) {
    const QRect r = layoutPage({100, 100}, {30, 30});
    EXPECT_GE(r.width(), 1);
    EXPECT_GE(r.height(), 1);
}

TEST(PageLayout, StretchPicksPixelsWithoutBlending) {
    QImage src(2, 1, QImage::Format_RGB32);
    src.setPixel(0, 0, qRgb(0, 0, 0));
    src.setPixel(1, 0, qRgb(255, 255, 255));
    QImage dst(10, 3, QImage::Format_RGB32);
    dst.fill(qRgb(1, 2, 3));
    stretchPick(src, dst, QRect(1, 1, 8, 1));
    for (int x = 1; x < 5; ++x)
        EXPECT_EQ(dst.pixel(x, 1), qRgb(0, 0, 0));
    for (int x = 5; x < 9; ++x)
        EXPECT_EQ(dst.pixel(x, 1), qRgb(255, 255, 255));
    EXPECT_EQ(dst.pixel(0, 1), qRgb(1, 2, 3));
    EXPECT_EQ(dst.pixel(9, 1), qRgb(1, 2, 3));
    EXPECT_EQ(dst.pixel(3, 0), qRgb(1, 2, 3));
}
