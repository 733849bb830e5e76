#include "base/rng.h"
#include "paint/shapes.h"
#include "paint/spray.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>

namespace {
std::vector<QPoint> changedPixels(const PageBitmapCanvas& page, TColor from = clWhite) {
    std::vector<QPoint> out;
    for (int y = 0; y < page.height(); ++y)
        for (int x = 0; x < page.width(); ++x)
            if (page.pixel(x, y) != from)
                out.emplace_back(x, y);
    return out;
}

double distanceToSegment(QPointF p, QPointF a, QPointF b) {
    const QPointF ab = b - a;
    const double len2 = QPointF::dotProduct(ab, ab);
    const double t = len2 == 0 ? 0 : std::clamp(QPointF::dotProduct(p - a, ab) / len2, 0.0, 1.0);
    const QPointF d = p - (a + t * ab);
    return std::hypot(d.x(), d.y());
}

double distanceToPolyline(QPoint p, const QVector<QPoint>& pts) {
    double best = 1e9;
    for (int i = 1; i < pts.size(); ++i)
        best = std::min(best, distanceToSegment(p, pts[i - 1], pts[i]));
    return best;
}

// How far from the ideal outline a 2-pixel pen may ink: half its width, plus half a
// pixel's diagonal for the raster.
const double kInkReach = 1.0 + std::sqrt(0.5);

bool blackNear(const PageBitmapCanvas& page, QPoint p) {
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx)
            if (page.pixel(p.x() + dx, p.y() + dy) == clBlack)
                return true;
    return false;
}
} // namespace

TEST(SprayBurst, StaysInsideTheRadiusSquare) {
    rng::Seed(7);
    for (const int radius : {10, 25, 70}) {
        PageBitmapCanvas page(201, 201);
        const QRect reported = sprayBurst(page, 100, 100, radius, clRed);
        const auto dots = changedPixels(page);
        EXPECT_LE(dots.size(), size_t(kSprayDots));
        EXPECT_GT(dots.size(), size_t(kSprayDots / 3)) << "dots pile up on a few pixels";
        int reach = 0;
        for (const QPoint& d : dots) {
            EXPECT_EQ(page.pixel(d.x(), d.y()), clRed);
            EXPECT_LE(std::abs(d.x() - 100), radius);
            EXPECT_LE(std::abs(d.y() - 100), radius);
            EXPECT_TRUE(reported.contains(d));
            reach = std::max({reach, std::abs(d.x() - 100), std::abs(d.y() - 100)});
        }
        // 101 uniform distances: some dot gets near the rim.
        EXPECT_GE(reach, radius * 7 / 10) << radius;
    }
}

TEST(SprayBurst, DistanceNotAreaIsUniformSoTheCentreIsDenser) {
    rng::Seed(11);
    int inner = 0, outer = 0, bursts = 40;
    for (int i = 0; i < bursts; ++i) {
        PageBitmapCanvas page(81, 81);
        sprayBurst(page, 40, 40, 30, clBlue);
        for (const QPoint& d : changedPixels(page))
            (std::hypot(d.x() - 40, d.y() - 40) <= 15 ? inner : outer)++;
    }
    // The inner disc is a quarter of the area but gets about half the dots (fewer distinct
    // pixels there, as they collide more): uniform area would give inner ~ outer / 3.
    EXPECT_GT(inner, outer * 2 / 3);
}

TEST(SprayBurst, ClipsAtThePageEdgeAndAZeroRadiusHitsOnePixel) {
    rng::Seed(3);
    PageBitmapCanvas page(30, 30);
    const QRect r = sprayBurst(page, 0, 0, 10, clGreen);
    EXPECT_EQ(r, QRect(0, 0, 11, 11));
    for (const QPoint& d : changedPixels(page)) {
        EXPECT_LE(d.x(), 10);
        EXPECT_LE(d.y(), 10);
    }
    PageBitmapCanvas dot(9, 9);
    sprayBurst(dot, 4, 4, 0, clGreen);
    const auto one = changedPixels(dot);
    ASSERT_EQ(one.size(), 1u);
    EXPECT_EQ(one[0], QPoint(4, 4));
}

// Corner points of the table, worked out by hand; the second drag goes left and up by odd
// amounts, where truncating halves and quarters differ from flooring ones.
TEST(ShapeOutline, CornerPointsFollowTheTable) {
    const QPoint a(10, 10), b(50, 30); // right and down: mx 30, my 20, q 10
    using V = QVector<QPoint>;
    EXPECT_EQ(shapeOutlinePoints(ShapeOutline::Line, a, b), V({{10, 10}, {50, 30}}));
    EXPECT_EQ(shapeOutlinePoints(ShapeOutline::Triangle, a, b),
              V({{10, 10}, {30, 30}, {50, 10}, {10, 10}}));
    EXPECT_EQ(shapeOutlinePoints(ShapeOutline::Diamond, a, b),
              V({{30, 10}, {10, 20}, {30, 30}, {50, 20}, {30, 10}}));
    EXPECT_EQ(shapeOutlinePoints(ShapeOutline::Trapezoid, a, b),
              V({{10, 30}, {50, 30}, {40, 10}, {20, 10}, {10, 30}}));
    EXPECT_EQ(shapeOutlinePoints(ShapeOutline::Hexagon, a, b),
              V({{20, 10}, {40, 10}, {50, 20}, {40, 30}, {20, 30}, {10, 20}, {20, 10}}));

    const QPoint c(50, 30), d(13, 9); // left and up: dx -37, dy -21 -> mx 32, my 20, q -9
    EXPECT_EQ(shapeOutlinePoints(ShapeOutline::Triangle, c, d),
              V({{50, 30}, {32, 9}, {13, 30}, {50, 30}}));
    EXPECT_EQ(shapeOutlinePoints(ShapeOutline::Diamond, c, d),
              V({{32, 30}, {50, 20}, {32, 9}, {13, 20}, {32, 30}}));
    EXPECT_EQ(shapeOutlinePoints(ShapeOutline::Trapezoid, c, d),
              V({{50, 9}, {13, 9}, {22, 30}, {41, 30}, {50, 9}}));
    EXPECT_EQ(shapeOutlinePoints(ShapeOutline::Hexagon, c, d),
              V({{41, 30}, {22, 30}, {13, 20}, {22, 9}, {41, 9}, {50, 20}, {41, 30}}));
    EXPECT_TRUE(shapeOutlinePoints(ShapeOutline::Rectangle, a, b).isEmpty());
    EXPECT_TRUE(shapeOutlinePoints(ShapeOutline::Circle, a, b).isEmpty());
}

// Drawn on a small page: every corner is inked, all ink is plain black and lies on the
// outline, and the inside stays white (clear brush).
TEST(ShapeOutline, SegmentShapesDrawOnlyTheirOutline) {
    const std::pair<QPoint, QPoint> drags[] = {
        {{10, 10}, {50, 40}}, {{50, 40}, {13, 9}}, {{12, 38}, {49, 8}}};
    for (const ShapeOutline kind :
         {ShapeOutline::Line, ShapeOutline::Triangle, ShapeOutline::Diamond,
          ShapeOutline::Trapezoid, ShapeOutline::Hexagon}) {
        for (const auto& [p1, p2] : drags) {
            PageBitmapCanvas page(64, 48);
            useOutlinePen(page);
            const QRect reported = drawShapeOutline(page, kind, p1, p2);
            const QVector<QPoint> pts = shapeOutlinePoints(kind, p1, p2);
            const QString what = QStringLiteral("shape %1 from (%2,%3) to (%4,%5)")
                                     .arg(int(kind))
                                     .arg(p1.x())
                                     .arg(p1.y())
                                     .arg(p2.x())
                                     .arg(p2.y());
            for (const QPoint& p : pts)
                EXPECT_TRUE(blackNear(page, p)) << qPrintable(what);
            for (int i = 1; i < pts.size(); ++i)
                EXPECT_TRUE(blackNear(page, (pts[i - 1] + pts[i]) / 2)) << qPrintable(what);
            for (const QPoint& p : changedPixels(page)) {
                EXPECT_EQ(page.pixel(p.x(), p.y()), clBlack) << qPrintable(what);
                EXPECT_LE(distanceToPolyline(p, pts), kInkReach)
                    << qPrintable(what) << " at " << p.x() << "," << p.y();
                EXPECT_TRUE(reported.contains(p)) << qPrintable(what);
            }
        }
    }
}

TEST(ShapeOutline, RectangleIsAnyBoxAndHollow) {
    for (const auto& [p1, p2] :
         {std::pair{QPoint(8, 6), QPoint(52, 30)}, std::pair{QPoint(52, 30), QPoint(8, 6)}}) {
        PageBitmapCanvas page(64, 48);
        useOutlinePen(page);
        drawShapeOutline(page, ShapeOutline::Rectangle, p1, p2);
        for (const QPoint c : {QPoint(8, 6), QPoint(51, 6), QPoint(8, 29), QPoint(51, 29),
                               QPoint(30, 6), QPoint(8, 18)})
            EXPECT_TRUE(blackNear(page, c)) << c.x() << "," << c.y();
        EXPECT_EQ(page.pixel(30, 18), clWhite);
        const auto ink = changedPixels(page);
        ASSERT_FALSE(ink.empty());
        QRect box;
        for (const QPoint& p : ink) {
            EXPECT_EQ(page.pixel(p.x(), p.y()), clBlack);
            box |= QRect(p, QSize(1, 1));
        }
        // Not a square: the box follows the drag both ways.
        EXPECT_NEAR(box.width(), 44, 2);
        EXPECT_NEAR(box.height(), 24, 2);
        EXPECT_NEAR(box.left(), 8, 1);
        EXPECT_NEAR(box.top(), 6, 1);
    }
}

TEST(ShapeOutline, CircleDiameterFollowsTheVerticalDragOnly) {
    struct Case {
        QPoint p1, p2;
        QRect box; // where the circle must sit
    } cases[] = {
        {{10, 5}, {60, 35}, QRect(10, 5, 30, 30)},  // down: right and below the start
        {{10, 5}, {11, 35}, QRect(10, 5, 30, 30)},  // the pointer's x does not matter
        {{45, 40}, {5, 10}, QRect(15, 10, 30, 30)}, // up: above and left of the start
    };
    for (const Case& c : cases) {
        PageBitmapCanvas page(64, 48);
        useOutlinePen(page);
        drawShapeOutline(page, ShapeOutline::Circle, c.p1, c.p2);
        QRect ink;
        for (const QPoint& p : changedPixels(page)) {
            EXPECT_EQ(page.pixel(p.x(), p.y()), clBlack);
            ink |= QRect(p, QSize(1, 1));
        }
        EXPECT_NEAR(ink.left(), c.box.left(), 1);
        EXPECT_NEAR(ink.top(), c.box.top(), 1);
        EXPECT_NEAR(ink.width(), c.box.width(), 2);
        EXPECT_NEAR(ink.height(), c.box.height(), 2);
        EXPECT_EQ(page.pixel(c.box.center().x(), c.box.center().y()), clWhite);
    }
}
