// A page reduced to fit the drawing area keeps every outline closed.
#include "library/pagefit.h"
#include "library/pageload.h"
#include "paint/floodfill.h"

#include <gtest/gtest.h>

namespace {
const QRgb kWhite = qRgb(255, 255, 255), kBlack = qRgb(0, 0, 0), kBlue = qRgb(0, 0, 255);

// A 1000 x 750 page with a 1-pixel frame cut in two by one 1-pixel line: a 45-degree
// diagonal (8-connected, which still stops a 4-connected fill), or a straight vertical line.
QImage cutPage(bool diagonal) {
    QImage page(1000, 750, QImage::Format_RGB32);
    page.fill(kWhite);
    const QRect frame(37, 29, 927, 691);
    for (int x = frame.left(); x <= frame.right(); ++x)
        page.setPixel(x, frame.top(), kBlack), page.setPixel(x, frame.bottom(), kBlack);
    for (int y = frame.top(); y <= frame.bottom(); ++y) {
        page.setPixel(frame.left(), y, kBlack), page.setPixel(frame.right(), y, kBlack);
        page.setPixel(diagonal ? 123 + y : 501, y, kBlack);
    }
    return page;
}

bool pureBlackAndWhite(const QImage& img) {
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (img.pixel(x, y) != kWhite && img.pixel(x, y) != kBlack)
                return false;
    return true;
}
} // namespace

TEST(PageFit, ReducedLinesStillKeepTheirRegionsApart) {
    for (const bool diagonal : {true, false}) {
        for (const int tenths : {25, 40}) { // reduced 2.5x and 4x
            SCOPED_TRACE(std::string(diagonal ? "diagonal" : "straight") + " line reduced " +
                         std::to_string(tenths) + "/10 times");
            const QImage page = cutPage(diagonal);
            const QRect r(17, 9, page.width() * 10 / tenths, page.height() * 10 / tenths);
            QImage area(r.width() + 40, r.height() + 30, QImage::Format_RGB32);
            area.fill(kWhite);
            stretchKeepingInk(page, area, r);
            EXPECT_TRUE(pureBlackAndWhite(area));
            // Points well inside each half of the page, on the area.
            const int midY = r.top() + r.height() / 2;
            const int lineX = r.left() + (diagonal ? 123 + 375 : 501) * r.width() / page.width();
            const QPoint left(lineX - 20, midY), right(lineX + 20, midY);
            ASSERT_EQ(area.pixel(left), kWhite);
            ASSERT_EQ(area.pixel(right), kWhite);
            const QRect painted = floodFill(area, left, FloodMode::Surface, kWhite, {kBlue});
            EXPECT_FALSE(painted.isEmpty());
            EXPECT_EQ(area.pixel(left), kBlue);
            EXPECT_EQ(area.pixel(right), kWhite) << "the fill ran through the line";
        }
    }
}

TEST(PageFit, EnlargingPicksPixelsAsBefore) {
    QImage page(7, 5, QImage::Format_RGB32);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 7; ++x)
            page.setPixel(x, y, (x * 3 + y) % 4 ? qRgb(40 * x, 50 * y, 7) : kBlack);
    for (const QRect r : {QRect(3, 2, 7, 5), QRect(3, 2, 23, 16), QRect(-4, 1, 40, 29)}) {
        QImage a(30, 20, QImage::Format_RGB32), b(30, 20, QImage::Format_RGB32);
        a.fill(qRgb(1, 2, 3));
        b.fill(qRgb(1, 2, 3));
        stretchPick(page, a, r);
        stretchKeepingInk(page, b, r);
        EXPECT_EQ(a, b) << r.width() << "x" << r.height();
    }
}

TEST(PageFit, ReductionKeepsTheColorsOfTheFile) {
    // A colored picture opened by hand: ink wins its block, other pixels are picked, never mixed.
    QImage page(8, 4, QImage::Format_RGB32);
    page.fill(qRgb(200, 30, 30));
    page.setPixel(5, 3, kBlack);
    page.setPixel(2, 0, qRgb(10, 220, 10));
    QImage area(4, 2, QImage::Format_RGB32);
    stretchKeepingInk(page, area, area.rect());
    EXPECT_EQ(area.pixel(2, 1), kBlack);
    EXPECT_EQ(area.pixel(1, 0), qRgb(10, 220, 10)); // the picked pixel of its 2x2 block
    EXPECT_EQ(area.pixel(0, 0), qRgb(200, 30, 30));
    EXPECT_EQ(area.pixel(3, 1), qRgb(200, 30, 30));
}

TEST(PageFit, EveryReaderFormatLaysOutAsItsRgb32Copy) {
    // Read row by row, not converted whole first: the result must not change.
    QImage rgb(37, 23, QImage::Format_RGB32);
    for (int y = 0; y < rgb.height(); ++y)
        for (int x = 0; x < rgb.width(); ++x)
            rgb.setPixel(x, y, (x * 7 + y * 3) % 11 ? qRgb(9 * x, 11 * y, 200 - 5 * x) : kBlack);
    QImage indexed(37, 23, QImage::Format_Indexed8);
    indexed.setColorTable({kWhite, kBlack, qRgb(250, 10, 10), qRgba(10, 200, 10, 90)});
    for (int y = 0; y < indexed.height(); ++y)
        for (int x = 0; x < indexed.width(); ++x)
            indexed.setPixel(x, y, uint((x + 2 * y) % 6)); // 4 and 5 lie past the table
    for (const QImage& page : {rgb.convertToFormat(QImage::Format_RGB888), indexed,
                               rgb.convertToFormat(QImage::Format_Grayscale8)}) {
        SCOPED_TRACE(page.format());
        for (const QRect r : {QRect(0, 0, 37, 23), QRect(2, 1, 111, 69), QRect(-3, 0, 19, 11),
                              QRect(0, 0, 37, 60)}) {
            QImage a(120, 70, QImage::Format_RGB32), b(120, 70, QImage::Format_RGB32);
            a.fill(qRgb(1, 2, 3));
            b.fill(qRgb(1, 2, 3));
            stretchKeepingInk(page.convertToFormat(QImage::Format_RGB32), a, r);
            stretchKeepingInk(page, b, r);
            EXPECT_EQ(a, b) << r.width() << "x" << r.height();
        }
    }
}
