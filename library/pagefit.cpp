#include "library/pagefit.h"

#include <algorithm>
#include <vector>

namespace {
// Source columns (or rows) [first, end) that destination column i of n covers in a source
// of w: the picked one first, then the rest of its share. Shares partition the source, so
// neighbouring source pixels land on the same or neighbouring destination pixels.
struct Span {
    int first, end;
};

std::vector<Span> spans(int from, int to, qint64 n, qint64 w, qint64 offset) {
    std::vector<Span> out;
    out.reserve(size_t(std::max(0, to - from + 1)));
    for (int i = from; i <= to; ++i) {
        const qint64 d = i - offset;
        const int first = int(d * w / n);
        const int end = std::max(first + 1, int((d + 1) * w / n));
        out.push_back({first, end});
    }
    return out;
}

constexpr QRgb kInk = 0x000000;
} // namespace

void stretchKeepingInk(const QImage& src, QImage& dst, const QRect& dstRect) {
    if (src.isNull() || dstRect.isEmpty())
        return;
    const QImage s = src.format() == QImage::Format_RGB32 || src.format() == QImage::Format_ARGB32
                         ? src
                         : src.convertToFormat(QImage::Format_RGB32);
    const QRect clip = dstRect.intersected(dst.rect());
    if (clip.isEmpty())
        return;
    const auto xs = spans(clip.left(), clip.right(), dstRect.width(), s.width(), dstRect.left());
    const auto ys = spans(clip.top(), clip.bottom(), dstRect.height(), s.height(), dstRect.top());
    // Out of the loops: the char stores below may alias anything, so the compiler would
    // call QImage::width() again for every pixel.
    const int sw = s.width();
    std::vector<char> inkInRows(static_cast<size_t>(sw));
    for (int y = clip.top(); y <= clip.bottom(); ++y) {
        const Span rows = ys[size_t(y - clip.top())];
        // Which source columns hold ink in any of the rows this destination row covers.
        std::fill(inkInRows.begin(), inkInRows.end(), 0);
        for (int sy = rows.first; sy < rows.end; ++sy) {
            const auto* srow = reinterpret_cast<const QRgb*>(s.constScanLine(sy));
            for (int sx = 0; sx < sw; ++sx)
                inkInRows[size_t(sx)] |= (srow[sx] & 0xFFFFFF) == kInk;
        }
        const auto* picked = reinterpret_cast<const QRgb*>(s.constScanLine(rows.first));
        auto* drow = reinterpret_cast<QRgb*>(dst.scanLine(y)) + clip.left();
        for (int i = 0; i < clip.width(); ++i) {
            const Span cols = xs[size_t(i)];
            const bool ink = std::any_of(inkInRows.begin() + cols.first,
                                         inkInRows.begin() + cols.end, [](char c) { return c; });
            drow[i] = ink ? (0xFF000000u | kInk) : (picked[cols.first] | 0xFF000000u);
        }
    }
}
