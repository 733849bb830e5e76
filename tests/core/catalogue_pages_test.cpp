// Every bundled page, read back with the program's own archive and bitmap readers, must be
// a page a child can color: pure black outlines on pure white, parts big enough to fill,
// also on a small screen where the program reduces the page.
#include "library/pagefit.h"
#include "library/pageload.h"
#include "library/pak.h"

#include <QDir>
#include <QSet>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {
// The drawing area of the maximized window on a 1366x768 screen.
const QSize kSmallArea(1085, 470);
constexpr int kMinScreenRegion = 150; // pixels a small hand can hit there

struct Ink {
    int W = 0, H = 0;
    std::vector<char> black;
    bool at(int x, int y) const {
        return x >= 0 && y >= 0 && x < W && y < H && black[size_t(y) * W + x];
    }
};

Ink inkOf(const QImage& img, bool* pureBW = nullptr) {
    Ink ink{img.width(), img.height(), std::vector<char>(size_t(img.width()) * img.height())};
    for (int y = 0; y < ink.H; ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(img.constScanLine(y));
        for (int x = 0; x < ink.W; ++x) {
            const QRgb p = row[x] & 0xFFFFFF;
            ink.black[size_t(y) * ink.W + x] = p == 0;
            if (pureBW && p != 0 && p != 0xFFFFFF)
                *pureBW = false;
        }
    }
    return ink;
}

// Sizes of the white regions (4-connected) that do not touch the image's edge.
std::vector<int> closedRegions(const Ink& ink) {
    const int W = ink.W, H = ink.H;
    std::vector<char> seen(ink.black);
    std::vector<int> sizes, stack;
    for (int start = 0; start < W * H; ++start) {
        if (seen[size_t(start)])
            continue;
        int size = 0;
        bool touchesEdge = false;
        stack.push_back(start);
        seen[size_t(start)] = 1;
        while (!stack.empty()) {
            const int i = stack.back();
            stack.pop_back();
            ++size;
            const int x = i % W, y = i / W;
            if (x == 0 || y == 0 || x == W - 1 || y == H - 1)
                touchesEdge = true;
            const int nb[4] = {x > 0 ? i - 1 : -1, x < W - 1 ? i + 1 : -1, y > 0 ? i - W : -1,
                               y < H - 1 ? i + W : -1};
            for (int n : nb)
                if (n >= 0 && !seen[size_t(n)]) {
                    seen[size_t(n)] = 1;
                    stack.push_back(n);
                }
        }
        if (!touchesEdge)
            sizes.push_back(size);
    }
    return sizes;
}

// Ink pixels that no all-black disc of diameter 5 covers: outline parts under 5 pixels wide.
int thinInk(const Ink& ink) {
    static const int disc[13][2] = {{0, -2}, {-1, -1}, {0, -1}, {1, -1}, {-2, 0}, {-1, 0}, {0, 0},
                                    {1, 0},  {2, 0},   {-1, 1}, {0, 1},  {1, 1},  {0, 2}};
    std::vector<char> covered(ink.black.size());
    for (int y = 0; y < ink.H; ++y)
        for (int x = 0; x < ink.W; ++x) {
            if (!ink.at(x, y))
                continue;
            bool fits = true;
            for (const auto& d : disc)
                fits = fits && ink.at(x + d[0], y + d[1]);
            if (fits)
                for (const auto& d : disc)
                    covered[size_t(y + d[1]) * ink.W + x + d[0]] = 1;
        }
    int thin = 0;
    for (size_t i = 0; i < covered.size(); ++i)
        thin += ink.black[i] && !covered[i];
    return thin;
}

bool whiteEdges(const Ink& ink) { // drawings keep a margin
    for (int x = 0; x < ink.W; ++x)
        if (ink.at(x, 0) || ink.at(x, ink.H - 1))
            return false;
    for (int y = 0; y < ink.H; ++y)
        if (ink.at(0, y) || ink.at(ink.W - 1, y))
            return false;
    return true;
}
} // namespace

TEST(CataloguePages, EveryBundledPageIsColorable) {
#ifdef PICTARO_SANITIZED
    GTEST_SKIP() << "pixel statistics of 200 large pages: measured in the normal build";
#endif
    const QDir pak(QStringLiteral(PICTARO_SOURCE_DIR "/pak"));
    const QStringList archives = pak.entryList({"*.pak"}, QDir::Files);
    ASSERT_GE(archives.size(), 10);
    QTemporaryDir cache;
    int pages = 0;
    qint64 totalBytes = 0;
    QSet<QString> seenNames;
    for (const QString& a : archives) {
        EXPECT_FALSE(a.contains(' ')) << a.toStdString() << ": packaging splits names on spaces";
        totalBytes += QFileInfo(pak.filePath(a)).size();
        QStringList names;
        const UnpackResult r =
            unpackArchive(pak.filePath(a), cache.path(), cache.filePath("Bitmap.tmp"),
                          [&](const QString& n) { names << n; });
        EXPECT_FALSE(r.truncated) << a.toStdString();
        for (const QString& n : names) {
            SCOPED_TRACE((a + ": " + n).toStdString());
            // All archives unpack into one folder: a second page of the same name never shows.
            EXPECT_FALSE(seenNames.contains(n));
            seenNames.insert(n);
            const QImage img = readBitmapFile(cache.filePath(n + ".bmp"));
            ASSERT_FALSE(img.isNull());
            EXPECT_GE(std::max(img.width(), img.height()), 1400);
            bool pureBW = true;
            const Ink ink = inkOf(img, &pureBW);
            EXPECT_TRUE(pureBW);
            EXPECT_TRUE(whiteEdges(ink));
            const auto regions = closedRegions(ink);
            EXPECT_GE(std::count_if(regions.begin(), regions.end(), [](int s) { return s >= 400; }),
                      3);
            const auto blackCount = std::count(ink.black.begin(), ink.black.end(), 1);
            EXPECT_LE(double(blackCount) / double(ink.black.size()), 0.20);
            EXPECT_EQ(thinInk(ink), 0) << "outline pixels under 5 pixels wide";

            // As the program shows it on a 1366x768 screen.
            QImage area(kSmallArea, QImage::Format_RGB32);
            area.fill(Qt::white);
            stretchKeepingInk(img, area, layoutPage(img.size(), area.size()));
            const auto onScreen = closedRegions(inkOf(area));
            EXPECT_GE(onScreen.size(), 3u);
            for (int s : onScreen)
                EXPECT_GE(s, kMinScreenRegion) << "a part too small to hit at 1366x768";
            ++pages;
        }
    }
    EXPECT_GE(pages, 200);
    EXPECT_LT(totalBytes, 50LL * 1000 * 1000);
}
