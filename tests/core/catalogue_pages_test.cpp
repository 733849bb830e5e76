// Every bundled page, read back with the program's own archive and bitmap readers, must be
// a page a child can color: pure black outlines on pure white, parts big enough to fill.
#include "library/core/pageload.h"
#include "library/core/pak.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {
struct PageStats {
    int regions = 0;  // closed white regions of 400 pixels or more, the background excluded
    double black = 0; // share of black pixels
    bool pureBW = true;
    bool whiteEdges = true; // no ink on the outermost rows and columns: drawings have margins
};

PageStats measure(const QImage& img) {
    PageStats s;
    const int W = img.width(), H = img.height();
    std::vector<int> label(size_t(W) * H, 0);
    qint64 blackCount = 0;
    for (int y = 0; y < H; ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(img.constScanLine(y));
        for (int x = 0; x < W; ++x) {
            const QRgb p = row[x] & 0xFFFFFF;
            if (p == 0) {
                ++blackCount, label[size_t(y) * W + x] = -1;
                if (x == 0 || y == 0 || x == W - 1 || y == H - 1)
                    s.whiteEdges = false;
            } else if (p != 0xFFFFFF)
                s.pureBW = false;
        }
    }
    s.black = double(blackCount) / (double(W) * H);
    int next = 0;
    std::vector<int> stack;
    for (int start = 0; start < W * H; ++start) {
        if (label[size_t(start)] != 0)
            continue;
        ++next;
        int size = 0;
        bool touchesBorder = false;
        stack.push_back(start);
        label[size_t(start)] = next;
        while (!stack.empty()) {
            const int i = stack.back();
            stack.pop_back();
            ++size;
            const int x = i % W, y = i / W;
            if (x == 0 || y == 0 || x == W - 1 || y == H - 1)
                touchesBorder = true;
            const int nb[4] = {x > 0 ? i - 1 : -1, x < W - 1 ? i + 1 : -1, y > 0 ? i - W : -1,
                               y < H - 1 ? i + W : -1};
            for (int n : nb)
                if (n >= 0 && label[size_t(n)] == 0) {
                    label[size_t(n)] = next;
                    stack.push_back(n);
                }
        }
        if (!touchesBorder && size >= 400)
            ++s.regions;
    }
    return s;
}
} // namespace

TEST(CataloguePages, EveryBundledPageIsColorable) {
#ifdef PICTARO_SANITIZED
    GTEST_SKIP() << "pixel statistics of 100 large pages: measured in the normal build";
#endif
    const QDir pak(QStringLiteral(PICTARO_SOURCE_DIR "/pak"));
    const QStringList archives = pak.entryList({"*.pak"}, QDir::Files);
    ASSERT_GE(archives.size(), 5);
    QTemporaryDir cache;
    int pages = 0;
    qint64 totalBytes = 0;
    for (const QString& a : archives) {
        totalBytes += QFileInfo(pak.filePath(a)).size();
        QStringList names;
        const UnpackResult r =
            unpackArchive(pak.filePath(a), cache.path(), cache.filePath("Bitmap.tmp"),
                          [&](const QString& n) { names << n; });
        EXPECT_FALSE(r.truncated) << a.toStdString();
        for (const QString& n : names) {
            SCOPED_TRACE((a + ": " + n).toStdString());
            const QImage img = readBitmapFile(cache.filePath(n + ".bmp"));
            ASSERT_FALSE(img.isNull());
            EXPECT_GE(std::max(img.width(), img.height()), 1400);
            const PageStats s = measure(img);
            EXPECT_TRUE(s.pureBW);
            EXPECT_TRUE(s.whiteEdges);
            EXPECT_GE(s.regions, 3);
            EXPECT_LE(s.black, 0.20);
            ++pages;
        }
    }
    EXPECT_GE(pages, 80);
    EXPECT_LT(totalBytes, 25LL * 1024 * 1024);
}
