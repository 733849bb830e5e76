// The page's fill on line art made elsewhere: antialiased lines of several widths, and the
// same pictures through JPEG. Each fill is measured against the drawing before compression:
//  - the region's paper: the pixels of the clean drawing that are pure paper (no ink at all),
//    4-connected to the click;
//  - its edge: the pixels next to that paper that are not paper;
//  - rim: pixels of the edge, and pixels next to a light pixel of the edge, that are more
//    paper than ink in the clean drawing (lighter than mid grey) and that the fill left as they
//    were: the light hairline between paint and line;
//  - speckle: a pixel of the region's paper that ends up visibly off the paint;
//  - leak: a painted pixel farther from the region's paper than half the line and two.
#include "base/tcolor.h"
#include "paint/floodfill.h"

#include <QBuffer>
#include <QPainter>
#include <QPainterPath>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <vector>

namespace {
constexpr int kW = 420, kH = 320;
const QRgb White = qRgb(255, 255, 255);
const QRgb Blue = qRgb(0, 0, 255);
const QRgb Red = qRgb(255, 0, 0);
const QRgb Yellow = qRgb(255, 255, 0);

// Closed shapes, circles, curves and diagonals at odd offsets, in black on white.
QImage drawLineArt(double width, bool antialiased = true) {
    QImage img(kW, kH, QImage::Format_RGB32);
    img.fill(White);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing, antialiased);
    p.setPen(QPen(Qt::black, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(110.3, 120.6), 80.2, 80.2);
    p.drawEllipse(QPointF(110.3, 120.6), 35.5, 22.7);
    QPainterPath leaf;
    leaf.moveTo(230.5, 60.2);
    leaf.cubicTo(400.1, 10.7, 410.4, 170.3, 240.2, 190.5);
    leaf.cubicTo(300.3, 140.1, 200.6, 100.8, 230.5, 60.2);
    p.drawPath(leaf);
    p.drawLine(QPointF(-5, 300.5), QPointF(425, 215.2));   // shallow diagonal
    p.drawLine(QPointF(0.5, 250.5), QPointF(70.5, 320.5)); // 45 degrees at a half pixel
    p.drawLine(QPointF(330.2, 320), QPointF(419.7, 230.4));
    return img;
}

QImage throughJpeg(const QImage& img) {
    QByteArray bytes;
    QBuffer buf(&bytes);
    buf.open(QIODevice::WriteOnly);
    EXPECT_TRUE(img.save(&buf, "JPG", 75));
    return QImage::fromData(bytes, "JPG").convertToFormat(QImage::Format_RGB32);
}

// Where a child taps: the ring between the circles, the inner oval, the leaf, the page
// around everything, the corner under the 45-degree line.
const QPoint kSeeds[] = {{110, 52}, {110, 121}, {300, 100}, {400, 20}, {10, 305}};

struct Measure {
    long paper = 0, edge = 0, rim = 0, speckle = 0, leak = 0, painted = 0;
    double rimShare() const { return edge ? double(rim) / double(edge) : 0; }
    double speckleShare() const { return paper ? double(speckle) / double(paper) : 0; }
};

int lightness(QRgb c) {
    return (qRed(c) + qGreen(c) + qBlue(c)) / 3;
}

bool isPaper(QRgb c) {
    return (c & 0xFFFFFF) == 0xFFFFFF;
}

// Pixels within r (Chebyshev) of a set pixel.
std::vector<char> dilate(const std::vector<char>& in, int r) {
    std::vector<char> rows(in.size()), out(in.size());
    for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x) {
            char v = 0;
            for (int d = -r; d <= r && !v; ++d)
                v = x + d >= 0 && x + d < kW && in[size_t(y * kW + x + d)];
            rows[size_t(y * kW + x)] = v;
        }
    for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x) {
            char v = 0;
            for (int d = -r; d <= r && !v; ++d)
                v = y + d >= 0 && y + d < kH && rows[size_t((y + d) * kW + x)];
            out[size_t(y * kW + x)] = v;
        }
    return out;
}

std::vector<char> paperRegion(const QImage& clean, QPoint seed) {
    std::vector<char> in(size_t(kW * kH), 0);
    std::vector<QPoint> stack{seed};
    in[size_t(seed.y() * kW + seed.x())] = 1;
    while (!stack.empty()) {
        const QPoint p = stack.back();
        stack.pop_back();
        for (QPoint d : {QPoint(1, 0), QPoint(-1, 0), QPoint(0, 1), QPoint(0, -1)}) {
            const QPoint n = p + d;
            if (clean.rect().contains(n) && !in[size_t(n.y() * kW + n.x())] &&
                isPaper(clean.pixel(n))) {
                in[size_t(n.y() * kW + n.x())] = 1;
                stack.push_back(n);
            }
        }
    }
    return in;
}

Measure measure(const QImage& clean, const QImage& before, const QImage& after, QPoint seed,
                double width, QRgb paint) {
    Measure m;
    const std::vector<char> paper = paperRegion(clean, seed);
    const std::vector<char> near1 = dilate(paper, 1);
    // The edge, and one step further through its light pixels (never across a line).
    std::vector<char> lightEdge(paper.size()), reach(paper.size());
    for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x) {
            const size_t i = size_t(y * kW + x);
            const bool edge =
                !paper[i] && ((x > 0 && paper[i - 1]) || (x + 1 < kW && paper[i + 1]) ||
                              (y > 0 && paper[i - kW]) || (y + 1 < kH && paper[i + kW]));
            reach[i] = edge;
            lightEdge[i] = edge && lightness(clean.pixel(x, y)) >= 128;
        }
    for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x) {
            const size_t i = size_t(y * kW + x);
            if (!paper[i] && ((x > 0 && lightEdge[i - 1]) || (x + 1 < kW && lightEdge[i + 1]) ||
                              (y > 0 && lightEdge[i - kW]) || (y + 1 < kH && lightEdge[i + kW])))
                reach[i] = 1;
        }
    const std::vector<char> allowed = dilate(paper, int(std::ceil(width / 2)) + 2);
    for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x) {
            const size_t i = size_t(y * kW + x);
            const QRgb c = clean.pixel(x, y), a = after.pixel(x, y);
            const bool changed = a != before.pixel(x, y);
            m.painted += changed;
            if (changed && !allowed[i])
                ++m.leak;
            if (paper[i]) {
                ++m.paper;
                if (std::abs(qRed(a) - qRed(paint)) > 48 ||
                    std::abs(qGreen(a) - qGreen(paint)) > 48 ||
                    std::abs(qBlue(a) - qBlue(paint)) > 48)
                    ++m.speckle;
                continue;
            }
            m.edge += near1[i];
            if (reach[i] && !isPaper(c) && lightness(c) >= 128 && !changed)
                ++m.rim;
        }
    return m;
}

QImage colorfulTile() {
    QImage tile(7, 5, QImage::Format_RGB32);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 7; ++x)
            tile.setPixel(x, y, qRgb(200 + x * 8, 60 + y * 30, 40 + (x ^ y) * 20));
    return tile;
}

const double kWidths[] = {1, 1.5, 2, 3, 4, 6};

// A grey stone: greys from light to as dark as ink, the colors a line's edges have too.
QImage greyTile() {
    QImage tile(6, 4, QImage::Format_RGB32);
    const int greys[] = {214, 176, 168, 159, 124, 200};
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 6; ++x) {
            const int v = greys[(x + 2 * y) % 6];
            tile.setPixel(x, y, qRgb(v, v + 2, v + 8));
        }
    return tile;
}

// The tiles the program paints with, for the length of a test.
struct PaintTiles {
    explicit PaintTiles(const std::vector<QImage>& tiles) { setPaintTiles(tiles); }
    ~PaintTiles() { setPaintTiles({}); }
    PaintTiles(const PaintTiles&) = delete;
    PaintTiles& operator=(const PaintTiles&) = delete;
};
} // namespace

// Dark greys are ink; the palette's black is a line only inside an antialiased edge.
TEST(Ink, DarkGreysAreLinesPaintIsNot) {
    EXPECT_TRUE(isInk(qRgb(0, 0, 0)));
    EXPECT_TRUE(isInk(qRgb(127, 127, 127)));
    EXPECT_TRUE(isInk(qRgb(110, 125, 118))); // JPEG's slight tint
    EXPECT_FALSE(isInk(qRgb(129, 129, 129)));
    EXPECT_FALSE(isInk(qRgb(0, 0, 128))); // dark paint, not grey
    EXPECT_FALSE(isInk(qRgb(40, 0, 0)));
    QImage img(3, 3, QImage::Format_RGB32);
    img.fill(toQRgb(clPaintBlack));
    img.setPixel(0, 0, qRgb(0, 0, 0));
    EXPECT_TRUE(isLine(img, 0, 0));
    EXPECT_FALSE(isLine(img, 1, 1)); // painted black among paint and pure black
    img.setPixel(1, 0, Red);
    EXPECT_FALSE(isLine(img, 1, 1));
    img.setPixel(2, 1, qRgb(230, 230, 230)); // the light side of an antialiased line
    EXPECT_TRUE(isLine(img, 1, 1));
    EXPECT_FALSE(isLine(img, 2, 1));
    EXPECT_EQ(inkOver(qRgb(0, 0, 128), Blue, 6), 127);
    EXPECT_EQ(inkOver(qRgb(255, 255, 255), Blue, 6), kNoMix);
    EXPECT_EQ(inkOver(qRgb(0, 0, 0), toQRgb(clPaintBlack), 6), 255);
}

// Plain, up to the lines and textured, on every width, antialiased and through JPEG: no rim,
// no speckles, no leak, and the light edges take the paint by the ink they hold.
TEST(LineArtFill, MeetsAntialiasedAndJpegLinesWithoutRimOrLeak) {
    const QImage tile = colorfulTile();
    long worstRimPermille = 0, worstSpecklePerTenThousand = 0;
    double exactWorstRim = 0, exactWorstSpeckle = 0;
    int exactLeaks = 0;
    for (double w : kWidths)
        for (bool jpeg : {false, true}) {
            const QImage clean = drawLineArt(w);
            const QImage page = jpeg ? throughJpeg(clean) : clean;
            for (QPoint seed : kSeeds)
                for (int style = 0; style < 3; ++style) {
                    SCOPED_TRACE(testing::Message()
                                 << "width " << w << (jpeg ? " jpeg" : "") << " seed " << seed.x()
                                 << "," << seed.y() << " style " << style);
                    QImage out = page;
                    const FloodMode mode = style == 0 ? FloodMode::Surface : FloodMode::Border;
                    const FillPaint paint{Blue, style == 2 ? &tile : nullptr};
                    fillLineArt(out, seed, mode, out.pixel(seed), paint);
                    const Measure m = measure(clean, page, out, seed, w, style == 2 ? 0 : Blue);
                    EXPECT_GT(m.paper, 400);
                    EXPECT_EQ(m.leak, 0);
                    EXPECT_LE(m.rimShare(), 0.05) << m.rim << " of " << m.edge;
                    if (style != 2) { // a texture is not one color to be near
                        EXPECT_LE(m.speckleShare(), 0.005) << m.speckle << " of " << m.paper;
                    }
                    worstRimPermille = std::max(worstRimPermille, long(m.rimShare() * 1000));
                    if (style != 2)
                        worstSpecklePerTenThousand =
                            std::max(worstSpecklePerTenThousand, long(m.speckleShare() * 10000));
                    // The exact flood the page had before, measured the same way.
                    QImage exact = page;
                    floodFill(exact, seed, mode, mode == FloodMode::Border ? 0 : exact.pixel(seed),
                              paint);
                    const Measure e = measure(clean, page, exact, seed, w, style == 2 ? 0 : Blue);
                    exactWorstRim = std::max(exactWorstRim, e.rimShare());
                    if (style != 2)
                        exactWorstSpeckle = std::max(exactWorstSpeckle, e.speckleShare());
                    exactLeaks += e.leak > 0;
                    if (jpeg || style != 0)
                        continue;
                    // The light edge pixels are the paint scaled by the paper they hold.
                    for (int y = 0; y < kH; ++y)
                        for (int x = 0; x < kW; ++x) {
                            const QRgb c = clean.pixel(x, y), a = out.pixel(x, y);
                            if (a == c || isPaper(c))
                                continue;
                            // Under 8 of ink may be painted over.
                            ASSERT_EQ(qRed(a), 0) << x << "," << y;
                            ASSERT_NEAR(qBlue(a), lightness(c), lightness(c) > 247 ? 8 : 2)
                                << x << "," << y;
                        }
                }
        }
    std::printf("worst rim %.1f %% of the edge, worst speckles %.2f %% of the region\n",
                worstRimPermille / 10.0, worstSpecklePerTenThousand / 100.0);
    std::printf("the exact flood: worst rim %.1f %%, worst speckles %.2f %%, %d of %zu fills "
                "leaking\n",
                exactWorstRim * 100, exactWorstSpeckle * 100, exactLeaks,
                std::size(kWidths) * 2 * std::size(kSeeds) * 3);
    // The measures see what the exact flood leaves: they are not blind.
    EXPECT_GT(exactWorstRim, 0.05);
    EXPECT_GT(exactWorstSpeckle, 0.005);
}

// Refilling a painted region with another color gives what filling it with that color at
// once gives, edges included; the region's lines never move. Where JPEG left a one-pixel
// line without a single pixel of ink, a few edge pixels are not known for edges again.
TEST(LineArtFill, RefillingRepaintsTheBlendedEdges) {
    for (double w : {1.0, 3.0})
        for (bool jpeg : {false, true}) {
            const QImage page = jpeg ? throughJpeg(drawLineArt(w)) : drawLineArt(w);
            for (QPoint seed : {kSeeds[0], kSeeds[2]}) {
                for (FloodMode mode : {FloodMode::Surface, FloodMode::Border}) {
                    QImage once = page, twice = page;
                    fillLineArt(once, seed, mode, once.pixel(seed), {Red, nullptr});
                    fillLineArt(twice, seed, mode, twice.pixel(seed), {Yellow, nullptr});
                    fillLineArt(twice, seed, FloodMode::Surface, Yellow, {Red, nullptr});
                    int off = 0;
                    for (int y = 0; y < kH; ++y)
                        for (int x = 0; x < kW; ++x) {
                            const QRgb a = once.pixel(x, y), b = twice.pixel(x, y);
                            off += std::max({std::abs(qRed(a) - qRed(b)),
                                             std::abs(qGreen(a) - qGreen(b)),
                                             std::abs(qBlue(a) - qBlue(b))}) > 2;
                            if (isLine(page, x, y)) {
                                ASSERT_EQ(b, page.pixel(x, y)) << x << "," << y;
                            }
                        }
                    EXPECT_LE(off, jpeg ? 3 : 0) << "width " << w << (jpeg ? " jpeg" : "");
                }
            }
        }
}

// A region the program textured with a grey tile is the program's paint: tapped on any pixel
// of the tile, upright or with the page turned half round, the refill covers the region and
// stops at its lines. A tile the fill does not know passes for a line's edge: the same tap on
// a grey of it fills nothing.
TEST(LineArtFill, AGreyTextureOfTheProgramsOwnIsRefilledFromAnyOfItsPixels) {
    const QImage grey = greyTile();
    int taps = 0;
    for (double w : {1.0, 3.0})
        for (bool jpeg : {false, true}) {
            const QImage clean = drawLineArt(w);
            const QImage page = jpeg ? throughJpeg(clean) : clean;
            for (QPoint seed : {kSeeds[0], kSeeds[3]}) {
                QImage textured = page;
                fillLineArt(textured, seed, FloodMode::Border, 0, {Blue, &grey});
                const QPoint onGrey168(seed.x() - seed.x() % 6 + 2, seed.y() - seed.y() % 4);
                ASSERT_EQ(textured.pixel(onGrey168), grey.pixel(2, 0));
                QImage unknown = textured;
                EXPECT_TRUE(fillLineArt(unknown, onGrey168, FloodMode::Border, 0, {Red, nullptr})
                                .isEmpty());

                const PaintTiles known({grey});
                for (int dy = 0; dy < 4; ++dy)
                    for (int dx = 0; dx < 6; ++dx)
                        for (bool turned : {false, true}) {
                            const QPoint at = onGrey168 + QPoint(dx, dy);
                            const QImage before = turned ? textured.mirrored(true, true) : textured;
                            const QImage seen = turned ? clean.mirrored(true, true) : clean;
                            const QPoint tap =
                                turned ? QPoint(kW - 1 - at.x(), kH - 1 - at.y()) : at;
                            QImage after = before;
                            fillLineArt(after, tap, FloodMode::Border, 0, {Red, nullptr});
                            const Measure m = measure(seen, before, after, tap, w, Red);
                            SCOPED_TRACE(testing::Message()
                                         << "width " << w << (jpeg ? " jpeg" : "") << " tap "
                                         << at.x() << "," << at.y() << (turned ? " turned" : ""));
                            EXPECT_EQ(m.leak, 0);
                            EXPECT_LE(m.speckleShare(), 0.001) << m.speckle << " of " << m.paper;
                            EXPECT_GT(m.paper, 1000);
                            ++taps;
                        }
            }
        }
    EXPECT_EQ(taps, 2 * 2 * 2 * 24 * 2);
}

// A region next to another color, with no line between: plain fills keep to their color.
TEST(LineArtFill, PlainFillStopsAtOtherPaint) {
    QImage img = drawLineArt(2);
    QImage before = img;
    fillLineArt(img, kSeeds[0], FloodMode::Surface, White, {Blue, nullptr});
    before = img;
    // The oval inside the ring, painted yellow, then the ring refilled red.
    fillLineArt(img, kSeeds[1], FloodMode::Surface, White, {Yellow, nullptr});
    fillLineArt(img, kSeeds[0], FloodMode::Surface, Blue, {Red, nullptr});
    EXPECT_EQ(img.pixel(kSeeds[1]), Yellow);
    EXPECT_EQ(img.pixel(kSeeds[0]), Red);
    EXPECT_EQ(img.pixel(kSeeds[3]), White);
}

// A tile's light tints (ink 8 to 31, here a warm grey of ink 23) are paper's shades:
// refilling a textured region blends the ones within two pixels of a line, in any
// direction, and leaves the rest as the tile has them. The tile mixes tints with colors so
// the fill's runs start at every column.
TEST(LineArtFill, TexturedRefillBlendsTintsOnlyBesideTheLines) {
    const QRgb tint = qRgb(238, 236, 222);
    QImage tile(7, 5, QImage::Format_RGB32);
    for (int y = 0; y < tile.height(); ++y)
        for (int x = 0; x < tile.width(); ++x)
            tile.setPixel(x, y, (x * 3 + y) % 4 == 0 ? qRgb(40, 120, 220) : tint);
    QImage img(96, 64, QImage::Format_RGB32);
    img.fill(White);
    // A corner of black lines: a column at x 60-62 and a row at y 40-41.
    for (int y = 0; y <= 41; ++y)
        for (int x = 0; x <= 62; ++x)
            if (x >= 60 || y >= 40)
                img.setPixel(x, y, qRgb(0, 0, 0));
    const QPoint seed(4, 4); // on a color: the seed's own color counts as the region's
    fillLineArt(img, seed, FloodMode::Border, qRgb(0, 0, 0), {Blue, &tile});
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 60; ++x)
            ASSERT_EQ(img.pixel(x, y), tile.pixel(x % 7, y % 5)) << x << "," << y;

    fillLineArt(img, seed, FloodMode::Border, qRgb(0, 0, 0), {Blue, &tile});
    const auto blended = [](QRgb p) {
        const int keep = 255 - 23;
        return qRgb((qRed(p) * keep + 127) / 255, (qGreen(p) * keep + 127) / 255,
                    (qBlue(p) * keep + 127) / 255);
    };
    int near = 0;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 60; ++x) {
            const QRgb t = tile.pixel(x % 7, y % 5);
            const bool besideLine = x >= 58 || y >= 38;
            const QRgb want = t == tint && besideLine ? blended(t) : t;
            near += t == tint && besideLine;
            ASSERT_EQ(img.pixel(x, y), want) << x << "," << y;
        }
    EXPECT_GT(near, 100);
}

// A pale grey (ink 31, lighter than JPEG noise may leave) takes the paint blended within two
// pixels of a line and plain further off, wherever the scan's steps of eight or sixteen
// fall, and also where the region tapped is that grey itself.
TEST(LineArtFill, PaleGreyBesideALineIsBlendedWhereverTheScanStepsFall) {
    const QRgb pale = qRgb(224, 224, 224);
    const QRgb tinted = qRgb(224, 0, 0); // the red with ink 31
    const bool hasWide = allowWideFill(true);
    int checked = 0;
    for (const bool wide : {false, true}) {
        if (wide && !hasWide)
            continue;
        allowWideFill(wide);
        for (int line = 24; line < 24 + 16; ++line)
            for (const bool paleRegion : {false, true}) {
                QImage img(line + 20, 6, QImage::Format_RGB32);
                for (int y = 0; y < img.height(); ++y)
                    for (int x = 0; x < img.width(); ++x)
                        img.setPixel(x, y,
                                     x >= line && x < line + 3 ? qRgb(0, 0, 0)
                                     : x < line && (paleRegion || x >= line - 2 ||
                                                    (x >= line - 14 && x < line - 6))
                                         ? pale
                                         : White);
                fillLineArt(img, {0, 0}, FloodMode::Border, 0, {Red, nullptr});
                for (int y = 0; y < img.height(); ++y)
                    for (int x = 0; x < line; ++x)
                        ASSERT_EQ(img.pixel(x, y), x >= line - 2 ? tinted : Red)
                            << "line at " << line << ", " << (paleRegion ? "pale region, " : "")
                            << (wide ? "wide" : "narrow") << " scan, at " << x << "," << y;
                ++checked;
            }
    }
    allowWideFill(true);
    EXPECT_GE(checked, 32);
}

// The sixteen-wide scan paints what the eight-wide one does: plain, up to the lines, textured,
// and with paint that still reads as the region, where only the visited mask stops the flood;
// over rows whose ends fall anywhere in sixteen.
TEST(LineArtFill, WideScanPaintsWhatTheNarrowOneDoes) {
    if (!allowWideFill(true))
        GTEST_SKIP() << "this processor has no AVX2";
    const QImage tile = colorfulTile();
    const QImage grey = greyTile();
    // Mostly the paper's own white, in runs longer than a scan's step: the flood must not
    // go over what it painted.
    QImage sparse(37, 4, QImage::Format_RGB32);
    sparse.fill(White);
    for (int y = 0; y < 4; ++y)
        sparse.setPixel(11 * y, y, Blue);
    // Pale greys among colors: beside a line they take the paint blended, elsewhere not.
    QImage paleTile(9, 7, QImage::Format_RGB32);
    for (int y = 0; y < 7; ++y)
        for (int x = 0; x < 9; ++x)
            paleTile.setPixel(x, y, (x + y) % 3 ? qRgb(236, 236, 236) : tile.pixel(x % 7, y % 5));
    int painted = 0;
    for (double w : {1.0, 3.0, 6.0})
        for (bool jpeg : {false, true}) {
            const QImage page = jpeg ? throughJpeg(drawLineArt(w)) : drawLineArt(w);
            for (QPoint seed : kSeeds)
                for (int style = 0; style < 10; ++style) {
                    const auto fill = [&](bool wide) {
                        allowWideFill(wide);
                        QImage out = page;
                        const QRgb at = out.pixel(seed);
                        QRect r;
                        switch (style) {
                        case 0:
                            r = fillLineArt(out, seed, FloodMode::Surface, at, {Blue, nullptr});
                            break;
                        case 1:
                            r = fillLineArt(out, seed, FloodMode::Border, at, {Blue, nullptr});
                            break;
                        case 2:
                            r = fillLineArt(out, seed, FloodMode::Surface, at, {Blue, &tile});
                            break;
                        case 3:
                            r = fillLineArt(out, seed, FloodMode::Surface, at, {Blue, &sparse});
                            break;
                        case 4:
                            r = fillLineArt(out, seed, FloodMode::Border, at, {Blue, &tile});
                            break;
                        case 5:
                            r = floodFill(out, seed, FloodMode::Surface, at, {Blue, &sparse});
                            break;
                        case 6: // a textured region textured again: the quiet test's work
                            fillLineArt(out, seed, FloodMode::Border, at, {Blue, &paleTile});
                            r = fillLineArt(out, seed, FloodMode::Border, 0, {Blue, &paleTile});
                            break;
                        case 7: // and with another tile: the wide scan meets the last one's
                            fillLineArt(out, seed, FloodMode::Border, at, {Blue, &paleTile});
                            r = fillLineArt(out, seed, FloodMode::Border, 0, {Red, &tile});
                            r |= fillLineArt(out, seed, FloodMode::Border, 0, {Blue, &paleTile});
                            break;
                        case 9: { // textures of the program's own refilled: their pixels are paint
                            fillLineArt(out, seed, FloodMode::Border, at, {Blue, &grey});
                            const PaintTiles known({grey, tile});
                            r = fillLineArt(out, seed, FloodMode::Border, 0, {Red, &tile});
                            r |= fillLineArt(out, seed, FloodMode::Border, 0, {Blue, nullptr});
                            break;
                        }
                        default:
                            r = floodFill(out, seed, FloodMode::Border, 0, {Blue, nullptr});
                        }
                        return std::pair{out, r};
                    };
                    const auto narrow = fill(false);
                    const auto wide = fill(true);
                    SCOPED_TRACE(testing::Message()
                                 << "width " << w << (jpeg ? " jpeg" : "") << " seed " << seed.x()
                                 << "," << seed.y() << " style " << style);
                    EXPECT_EQ(wide.second, narrow.second);
                    ASSERT_TRUE(wide.first == narrow.first);
                    painted += narrow.second.width() > 32;
                }
        }
    EXPECT_GT(painted, 150); // the scans had runs to go through
}
