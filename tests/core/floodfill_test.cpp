#include "base/tcolor.h"
#include "library/pageload.h"
#include "library/pak.h"
#include "paint/floodfill.h"
#include "paint/outline.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <deque>
#include <random>

namespace {
const QRgb White = qRgb(255, 255, 255);
const QRgb Black = qRgb(0, 0, 0);
const QRgb Blue = qRgb(0, 0, 255);
const QRgb Red = qRgb(255, 0, 0);
const QRgb Green = qRgb(0, 128, 0);
const QRgb PaintBlack = qRgb(0x1A, 0x1A, 0x1A);

QImage blank(int w, int h, QRgb c = White) {
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(c);
    return img;
}

void box(QImage& img, const QRect& r, QRgb c) {
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            if (x == r.left() || x == r.right() || y == r.top() || y == r.bottom())
                img.setPixel(x, y, c);
}

int count(const QImage& img, QRgb c) {
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            n += img.pixel(x, y) == c;
    return n;
}

// The plain per-pixel flood the fast one must agree with.
QRect referenceFill(QImage& img, QPoint seed, FloodMode mode, QRgb ref, const FillPaint& paint) {
    const int W = img.width(), H = img.height();
    auto in = [&](QRgb p) {
        return ((p & 0xFFFFFF) == (ref & 0xFFFFFF)) == (mode == FloodMode::Surface);
    };
    if (!img.rect().contains(seed) || !in(img.pixel(seed)))
        return {};
    std::vector<char> seen(size_t(W) * H, 0);
    std::deque<QPoint> q{seed};
    seen[size_t(seed.y()) * W + seed.x()] = 1;
    QRect r;
    while (!q.empty()) {
        const QPoint p = q.front();
        q.pop_front();
        const QImage* pat = paint.pattern;
        img.setPixel(p,
                     pat ? pat->pixel(p.x() % pat->width(), p.y() % pat->height()) : paint.color);
        r |= QRect(p, QSize(1, 1));
        for (QPoint d : {QPoint(1, 0), QPoint(-1, 0), QPoint(0, 1), QPoint(0, -1)}) {
            const QPoint n = p + d;
            if (img.rect().contains(n) && !seen[size_t(n.y()) * W + n.x()] && in(img.pixel(n))) {
                seen[size_t(n.y()) * W + n.x()] = 1;
                q.push_back(n);
            }
        }
    }
    return r;
}
} // namespace

// Normal fill: only the clicked color, everything else is a wall.
TEST(FloodFill, SurfaceStopsAtAnyOtherColor) {
    QImage img = blank(40, 30);
    box(img, QRect(5, 5, 20, 15), Red);
    img.setPixel(10, 10, Green); // an island inside the box
    const QRect changed =
        floodFill(img, QPoint(8, 8), FloodMode::Surface, White, FillPaint{Blue, nullptr});
    EXPECT_EQ(changed, QRect(6, 6, 18, 13));
    EXPECT_EQ(count(img, Blue), 18 * 13 - 1);
    EXPECT_EQ(img.pixel(10, 10), Green);
    EXPECT_EQ(img.pixel(5, 5), Red);
    EXPECT_EQ(img.pixel(30, 25), White); // outside the box
    EXPECT_EQ(img.pixel(4, 8), White);
}

// Special fill: over every color, up to pure black only, and 4-connected so a one-pixel
// diagonal holds it.
TEST(FloodFill, BorderCrossesColorsAndStopsAtPureBlack) {
    QImage img = blank(50, 50);
    for (int i = 0; i < 50; ++i)
        img.setPixel(i, 49 - i, Black); // anti-diagonal from bottom-left to top-right
    for (int x = 2; x < 20; ++x)
        img.setPixel(x, 10, Red); // a red line and a painted-black patch above the diagonal
    img.setPixel(5, 5, PaintBlack);
    img.setPixel(6, 5, Blue); // already the paint color
    const QRect changed =
        floodFill(img, QPoint(1, 1), FloodMode::Border, Black, FillPaint{Blue, nullptr});
    EXPECT_EQ(changed, QRect(0, 0, 49, 49));
    for (int y = 0; y < 50; ++y)
        for (int x = 0; x < 50; ++x) {
            const QRgb want = x + y < 49 ? Blue : x + y == 49 ? Black : White;
            ASSERT_EQ(img.pixel(x, y), want) << x << "," << y;
        }
}

TEST(FloodFill, SeedsTheModeDoesNotTakeFillNothing) {
    QImage img = blank(20, 20);
    box(img, QRect(2, 2, 10, 10), Black);
    const QImage before = img;
    EXPECT_TRUE(floodFill(img, QPoint(2, 5), FloodMode::Border, Black, {Blue, nullptr}).isEmpty());
    EXPECT_TRUE(floodFill(img, QPoint(5, 5), FloodMode::Surface, Red, {Blue, nullptr}).isEmpty());
    EXPECT_TRUE(
        floodFill(img, QPoint(5, 5), FloodMode::Surface, White, {White, nullptr}).isEmpty());
    EXPECT_TRUE(floodFill(img, QPoint(-1, 5), FloodMode::Border, Black, {Blue, nullptr}).isEmpty());
    EXPECT_TRUE(floodFill(img, QPoint(5, 20), FloodMode::Border, Black, {Blue, nullptr}).isEmpty());
    EXPECT_EQ(img, before);
}

// The palette's black is paint like any other: it refills and never walls a special fill.
TEST(FloodFill, PaintBlackRefills) {
    QImage img = blank(30, 20);
    box(img, QRect(0, 0, 30, 20), Black);
    for (int y = 1; y < 19; ++y)
        for (int x = 1; x < 29; ++x)
            img.setPixel(x, y, PaintBlack);
    EXPECT_EQ(floodFill(img, QPoint(3, 3), FloodMode::Surface, PaintBlack, {Red, nullptr}),
              QRect(1, 1, 28, 18));
    EXPECT_EQ(count(img, Red), 28 * 18);
    for (int x = 1; x < 29; ++x)
        img.setPixel(x, 9, PaintBlack); // a stripe of painted black across the box
    floodFill(img, QPoint(3, 3), FloodMode::Border, Black, {Green, nullptr});
    EXPECT_EQ(count(img, Green), 28 * 18);
}

// The pattern repeats from the image's origin, wherever the region starts, in runs far
// longer than the tile is wide.
TEST(FloodFill, PatternPhaseFollowsTheOrigin) {
    QImage tile(5, 3, QImage::Format_RGB32);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x)
            tile.setPixel(x, y, qRgb(10 + x * 40, 20 + y * 60, 200));
    QImage img = blank(700, 40);
    box(img, QRect(13, 7, 630, 20), Black);
    const QRect changed = floodFill(img, QPoint(20, 20), FloodMode::Border, Black, {Red, &tile});
    EXPECT_EQ(changed, QRect(14, 8, 628, 18));
    for (int y = 8; y < 26; ++y)
        for (int x = 14; x < 642; ++x)
            ASSERT_EQ(img.pixel(x, y), tile.pixel(x % 5, y % 3)) << x << "," << y;
    EXPECT_EQ(img.pixel(13, 7), Black);
    EXPECT_EQ(img.pixel(5, 5), White);
}

// A pattern holding the clicked color must neither loop nor stop early.
TEST(FloodFill, PatternContainingTheReferenceStillCoversTheRegion) {
    QImage tile(2, 2, QImage::Format_RGB32);
    tile.fill(White);
    tile.setPixel(1, 1, Blue);
    QImage img = blank(300, 40);
    box(img, QRect(0, 0, 300, 40), Red);
    floodFill(img, QPoint(150, 20), FloodMode::Surface, White, {Red, &tile});
    EXPECT_EQ(count(img, Blue), 149 * 19);
    EXPECT_EQ(img.pixel(1, 1), Blue);
    EXPECT_EQ(img.pixel(2, 2), White);
}

// Random pictures of a few colors, both modes, solid and patterned paint, widths across
// mask word boundaries: the span fill paints exactly what a per-pixel flood paints.
TEST(FloodFill, AgreesWithAPerPixelFlood) {
    std::mt19937 gen(1234);
    const QRgb colors[] = {White, Black, Blue, Red};
    QImage tile(3, 2, QImage::Format_RGB32);
    tile.setPixel(0, 0, White), tile.setPixel(1, 0, Blue), tile.setPixel(2, 0, Red);
    tile.setPixel(0, 1, Green), tile.setPixel(1, 1, White), tile.setPixel(2, 1, Blue);
    for (int round = 0; round < 60; ++round) {
        const int W = 1 + int(gen() % 150), H = 1 + int(gen() % 40);
        QImage img(W, H, QImage::Format_RGB32);
        const int weights = 1 + round % 4; // denser walls in later rounds
        for (int y = 0; y < H; ++y)
            for (int x = 0; x < W; ++x)
                img.setPixel(x, y, gen() % (weights + 2) < 2 ? colors[gen() % 4] : White);
        const QPoint seed(int(gen() % W), int(gen() % H));
        const FloodMode mode = round % 2 ? FloodMode::Border : FloodMode::Surface;
        const QRgb ref = mode == FloodMode::Border ? Black : img.pixel(seed);
        const FillPaint paint{colors[gen() % 4], round % 3 == 0 ? &tile : nullptr};
        QImage expected = img;
        const QRect expectedRect = referenceFill(expected, seed, mode, ref, paint);
        const QRect got = floodFill(img, seed, mode, ref, paint);
        ASSERT_EQ(img, expected) << "round " << round;
        const bool noChange = mode == FloodMode::Surface && !paint.pattern &&
                              (paint.color & 0xFFFFFF) == (ref & 0xFFFFFF);
        ASSERT_EQ(got, noChange ? QRect() : expectedRect) << "round " << round;
    }
}

namespace {
QPoint firstDifference(const QImage& a, const QImage& b) {
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if (a.pixel(x, y) != b.pixel(x, y))
                return QPoint(x, y);
    return QPoint(-1, -1);
}
} // namespace

// Bundled pages are pure black and white: on them the line art fill paints what the exact
// flood (the reference above) paints, over a child's run of plain, refilled, special and
// textured fills, the palette's black among them.
TEST(FloodFill, LineArtFillPaintsBundledPagesAsBefore) {
    const QDir pak(QStringLiteral(PICTARO_SOURCE_DIR "/pak"));
    const QStringList archives = pak.entryList({"*.pak"}, QDir::Files);
    ASSERT_GE(archives.size(), 3);
    QImage texture(QStringLiteral(":/textures/bigtex1.png"));
    if (texture.isNull()) // the tiles live in the window's resources
        texture = QImage(QStringLiteral(PICTARO_SOURCE_DIR "/resources/textures/bigtex1.png"));
    ASSERT_FALSE(texture.isNull());
    texture = texture.convertToFormat(QImage::Format_RGB32);
#ifdef PICTARO_SANITIZED
    const int archiveStep = int(archives.size()), pagesEach = 1;
#else
    const int archiveStep = 3, pagesEach = 2;
#endif
    QTemporaryDir cache;
    int pages = 0;
    for (int ai = 0; ai < archives.size(); ai += archiveStep) {
        QStringList names;
        unpackArchive(pak.filePath(archives[ai]), cache.path(), cache.filePath("Bitmap.tmp"),
                      [&](const QString& n) { names << n; });
        for (int pi = 0; pi < std::min(pagesEach, int(names.size())); ++pi) {
            SCOPED_TRACE((archives[ai] + ": " + names[pi]).toStdString());
            const QImage page = readBitmapFile(cache.filePath(names[pi] + ".bmp"))
                                    .convertToFormat(QImage::Format_RGB32);
            ASSERT_FALSE(page.isNull());
            // Four taps on paper, spread over the page.
            std::vector<QPoint> taps;
            for (int i = 1; taps.size() < 4 && i < 400; ++i) {
                const QPoint p(page.width() * ((i * 37) % 100) / 100,
                               page.height() * ((i * 61) % 100) / 100);
                if (page.pixel(p) == White)
                    taps.push_back(p);
            }
            ASSERT_EQ(taps.size(), 4u);
            struct Step {
                int tap;
                FloodMode mode;
                FillPaint paint;
            };
            const Step steps[] = {
                {0, FloodMode::Surface, {Blue, nullptr}},
                {0, FloodMode::Surface, {Red, nullptr}}, // refill
                {1, FloodMode::Border, {Blue, &texture}},
                {2, FloodMode::Border, {Green, nullptr}},
                {3, FloodMode::Surface, {PaintBlack, nullptr}},
                {3, FloodMode::Border, {Red, nullptr}},
                {2, FloodMode::Surface, {Blue, &texture}},
                {0, FloodMode::Border, {White, nullptr}},
            };
            QImage got = page, want = page;
            for (const Step& s : steps) {
                const QPoint at = taps[size_t(s.tap)];
                const QRgb ref = s.mode == FloodMode::Border ? Black : want.pixel(at);
                const QRect wantRect = referenceFill(want, at, s.mode, ref, s.paint);
                const QRect gotRect = fillLineArt(got, at, s.mode, ref, s.paint);
                const QPoint d = firstDifference(got, want);
                ASSERT_EQ(d, QPoint(-1, -1))
                    << "step " << (&s - steps) << " ref " << std::hex << ref << " got "
                    << got.pixel(d) << " want " << want.pixel(d) << " was " << page.pixel(d);
                ASSERT_EQ(gotRect, wantRect) << "step " << (&s - steps);
            }
            ++pages;
        }
    }
    EXPECT_GE(pages, 1);
}

// Painting over the lines and putting them back: exactly the line pixels inside the
// rectangle come back, wherever they fall in the eights the mask is read by, and nothing
// outside it changes.
// Lines long enough to fill whole words of the mask's bits and to cross from one word into
// the next, kept from a picture's pure black, turned, and kept aside by the undo history.
TEST(OutlineMask, LongRunsComeBackWholeAfterAHalfTurnAndFromTheHistory) {
    QImage page = blank(200, 9);
    for (int x = 0; x < 200; ++x)
        page.setPixel(x, 1, Black); // the whole row: every word full, the last one cut
    for (int x = 60; x < 131; ++x)
        page.setPixel(x, 4, Black); // across two word edges
    for (int x = 63; x < 65; ++x)
        page.setPixel(x, 7, Black); // the last bit of a word and the first of the next
    OutlineMask lines(page, OutlineMask::Ink::PureBlack);
    const auto check = [](const OutlineMask& m, const QImage& want, const QRect& r) {
        QImage painted = blank(200, 9, Green);
        m.restore(painted, r);
        for (int y = 0; y < 9; ++y)
            for (int x = 0; x < 200; ++x) {
                const QRgb expected = r.contains(x, y) && want.pixel(x, y) == Black ? Black : Green;
                ASSERT_EQ(painted.pixel(x, y), expected) << x << "," << y;
            }
    };
    for (const QRect r : {QRect(0, 0, 200, 9), QRect(64, 0, 64, 9), QRect(61, 3, 70, 5)})
        check(lines, page, r);
    check(OutlineMask::fromLines(lines.linesImage()), page, QRect(0, 0, 200, 9));
    lines.halfTurn();
    check(lines, page.mirrored(true, true), QRect(0, 0, 200, 9));
    check(lines, page.mirrored(true, true), QRect(5, 2, 130, 6));
}

// A picture's pure black is kept as bits alone; the lines it draws when asked are those a
// mask of the full picture would hold, also once grown or turned, and a copy kept aside (as
// the undo history keeps one) stays as it was taken.
TEST(OutlineMask, PureBlackBitsDrawTheLinesTheyWereTakenFromWhenTurnedGrownOrCopied) {
    QImage page = blank(130, 21);
    std::mt19937 rng(11);
    const QRgb near[] = {Black, qRgb(1, 0, 0), qRgb(0, 0, 1), qRgb(40, 40, 40), Green};
    for (int i = 0; i < 900; ++i)
        page.setPixel(int(rng() % 130), int(rng() % 21), near[rng() % 5]);
    for (int x = 0; x < 130; ++x)
        page.setPixel(x, 20, Black); // a row to the last column: its word is cut at 130
    // Opaque black where the page is pure black, transparent elsewhere.
    const auto linesOf = [](const QImage& p) {
        QImage out(p.size(), QImage::Format_ARGB32);
        for (int y = 0; y < p.height(); ++y)
            for (int x = 0; x < p.width(); ++x)
                out.setPixel(x, y, (p.pixel(x, y) & 0xFFFFFFu) == 0 ? 0xFF000000u : 0u);
        return out;
    };
    const OutlineMask kept(page, OutlineMask::Ink::PureBlack);
    ASSERT_TRUE(kept.keepsBitsOnly());
    EXPECT_EQ(kept.size(), page.size());
    EXPECT_EQ(kept.linesImage(), linesOf(page));

    OutlineMask shown = kept;
    shown.halfTurn();
    EXPECT_EQ(shown.linesImage(), linesOf(page.mirrored(true, true)));
    EXPECT_EQ(kept.linesImage(), linesOf(page)); // the copy kept aside did not turn

    // Grown to the right and down, and cut narrower: the columns past 100 are gone.
    for (const QSize size : {QSize(200, 30), QSize(100, 25)}) {
        QImage bigger = blank(size.width(), size.height());
        for (int y = 0; y < std::min(21, size.height()); ++y)
            for (int x = 0; x < std::min(130, size.width()); ++x)
                bigger.setPixel(x, y, page.pixel(x, y));
        const OutlineMask grown = kept.grownTo(size);
        EXPECT_EQ(grown.linesImage(), linesOf(bigger)) << size.width();
        QImage painted = blank(size.width(), size.height(), Green);
        grown.restore(painted, painted.rect());
        for (int y = 0; y < size.height(); ++y)
            for (int x = 0; x < size.width(); ++x)
                ASSERT_EQ(painted.pixel(x, y),
                          (bigger.pixel(x, y) & 0xFFFFFFu) == 0 ? Black : Green)
                    << x << "," << y;
    }
    EXPECT_TRUE(OutlineMask(blank(70, 3), OutlineMask::Ink::PureBlack).isEmpty());
}

TEST(OutlineMask, RestorePutsBackTheLinesInsideTheRectangleOnly) {
    QImage page = blank(77, 23);
    std::mt19937 rng(7);
    for (int i = 0; i < 300; ++i)
        page.setPixel(int(rng() % 77), int(rng() % 23), i % 3 ? Black : qRgb(90, 90, 90));
    const OutlineMask lines(page, OutlineMask::Ink::Dark);
    ASSERT_FALSE(lines.isEmpty());
    for (const QRect r : {QRect(3, 2, 61, 17), QRect(0, 0, 77, 23), QRect(70, 5, 7, 1)}) {
        QImage painted = blank(77, 23, Green);
        lines.restore(painted, r);
        for (int y = 0; y < 23; ++y)
            for (int x = 0; x < 77; ++x) {
                const bool line = isInk(page.pixel(x, y)) && isLine(page, x, y);
                const QRgb want = r.contains(x, y) && line ? page.pixel(x, y) : Green;
                ASSERT_EQ(painted.pixel(x, y), want) << x << "," << y;
            }
    }
}
