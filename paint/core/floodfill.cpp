#include "paint/core/floodfill.h"

#include <algorithm>
#include <vector>

namespace {
struct Span {
    int y, x1, x2; // inclusive x range on row y whose neighbours still have to be looked at
};
} // namespace

// Scanline fill. A visited mask makes it correct whatever the paint is (a fill color equal
// to the reference, or a pattern holding it).
QRect floodFill(QImage& img, QPoint seed, FloodMode mode, QRgb reference, const FillPaint& paint) {
    const int W = img.width(), H = img.height();
    if (!QRect(0, 0, W, H).contains(seed) || img.depth() != 32)
        return {};
    reference |= 0xFF000000u;
    const QRgb mask = 0x00FFFFFFu;
    auto inside = [&](QRgb p) {
        const bool same = ((p ^ reference) & mask) == 0;
        return mode == FloodMode::Surface ? same : !same;
    };
    QRgb* const base = reinterpret_cast<QRgb*>(img.bits());
    const qsizetype stride = img.bytesPerLine() / 4;
    if (!inside(base[seed.y() * stride + seed.x()]))
        return {};

    QImage pat;
    if (paint.pattern && !paint.pattern->isNull())
        pat = paint.pattern->convertToFormat(QImage::Format_RGB32);
    const int PW = pat.isNull() ? 0 : pat.width(), PH = pat.isNull() ? 0 : pat.height();
    const QRgb solid = paint.color | 0xFF000000u;

    std::vector<unsigned char> seen(size_t(W) * H, 0);
    int minX = seed.x(), maxX = seed.x(), minY = seed.y(), maxY = seed.y();

    auto fillRow = [&](int y, int x1, int x2) {
        QRgb* row = base + y * stride;
        unsigned char* s = seen.data() + size_t(y) * W;
        std::fill(s + x1, s + x2 + 1, 1);
        if (PW == 0) {
            std::fill(row + x1, row + x2 + 1, solid);
        } else {
            const QRgb* prow = reinterpret_cast<const QRgb*>(pat.constScanLine(y % PH));
            int px = x1 % PW;
            for (int x = x1; x <= x2; ++x) {
                row[x] = prow[px] | 0xFF000000u;
                if (++px == PW)
                    px = 0;
            }
        }
        minX = std::min(minX, x1);
        maxX = std::max(maxX, x2);
        minY = std::min(minY, y);
        maxY = std::max(maxY, y);
    };
    auto open = [&](int y, int x) {
        return !seen[size_t(y) * W + x] && inside(base[y * stride + x]);
    };

    std::vector<Span> stack;
    {
        int x1 = seed.x(), x2 = seed.x();
        const int y = seed.y();
        while (x1 > 0 && open(y, x1 - 1))
            --x1;
        while (x2 < W - 1 && open(y, x2 + 1))
            ++x2;
        fillRow(y, x1, x2);
        stack.push_back({y, x1, x2});
    }
    while (!stack.empty()) {
        const Span sp = stack.back();
        stack.pop_back();
        for (int ny : {sp.y - 1, sp.y + 1}) {
            if (ny < 0 || ny >= H)
                continue;
            int x = sp.x1;
            while (x <= sp.x2) {
                if (!open(ny, x)) {
                    ++x;
                    continue;
                }
                int x1 = x, x2 = x;
                while (x1 > 0 && open(ny, x1 - 1))
                    --x1;
                while (x2 < W - 1 && open(ny, x2 + 1))
                    ++x2;
                fillRow(ny, x1, x2);
                stack.push_back({ny, x1, x2});
                x = x2 + 1;
            }
        }
    }
    return QRect(QPoint(minX, minY), QPoint(maxX, maxY));
}
